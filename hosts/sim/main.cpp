// zura-sim's entry: the runner with the device program's startUp, once the shell provides it
// (shell/startup.h declaring int startUp(HINSTANCE, HINSTANCE, LPWSTR, int)).
#include "hosts/sim/sim.h"

#if __has_include("shell/startup.h")
#include "hosts/sim/shell_hooks.h"
#include "shell/startup.h"
static const SimProgramEntry deviceEntry = startUp;
#define ZURA_SIM_SHELL 1
#else
static const SimProgramEntry deviceEntry = nullptr;
#endif

int main(int argc, char** argv)
{
#ifdef ZURA_SIM_SHELL
    simSetShellHooks(deviceShellHooks());
#endif
    return simMain(argc, argv, deviceEntry, ZURA_DATA_ROOT);
}
