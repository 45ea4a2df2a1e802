// zura-sim's entry: the runner with the device program's startUp and the shell's commands.
#include "hosts/sim/shell_hooks.h"
#include "hosts/sim/sim.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    simSetShellHooks(deviceShellHooks());
    return simMain(argc, argv, startUp, ZURA_DATA_ROOT);
}
