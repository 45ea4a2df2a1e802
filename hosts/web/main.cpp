// zura-web's entry: the server with the device program's startUp, once the shell provides it
// (shell/startup.h declaring int startUp(HINSTANCE, HINSTANCE, LPWSTR, int)).
#include "hosts/web/web.h"

#if __has_include("shell/startup.h")
#include "shell/startup.h"
static const WebProgramEntry deviceEntry = startUp;
#else
static const WebProgramEntry deviceEntry = nullptr;
#endif

int main(int argc, char** argv)
{
    return webMain(argc, argv, deviceEntry, ZURA_DATA_ROOT);
}
