// zura-drive: zura-sim's scripts run against the device program on real Win32 (under Wine in the
// tests): the same script reader, runner and screen printer, with host.cpp in place of the
// portable window system. Its output is compared with zura-sim's for the same script.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "hosts/sim/shell_hooks.h"
#include "hosts/sim/sim.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    // Byte for byte as zura-sim prints, without the text mode's carriage returns.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    simSetShellHooks(deviceShellHooks());
    return simMain(argc, argv, startUp, ".");
}
