// zura-sim's entry: the runner with the device program's startUp, once the shell provides it
// (shell/startup.h declaring int startUp(HINSTANCE, HINSTANCE, LPWSTR, int)).
#include "hosts/sim/sim.h"

#if __has_include("shell/startup.h")
#include "shell/startup.h"
static const SimProgramEntry deviceEntry = startUp;
#else
static const SimProgramEntry deviceEntry = nullptr;
#endif

int main(int argc, char** argv)
{
    return simMain(argc, argv, deviceEntry, ZURA_DATA_ROOT);
}
