// zura-sim's entry: the runner with the device program's startUp.
#include "hosts/sim/sim.h"
#include "shell/startup.h"

int main(int argc, char** argv)
{
    return simMain(argc, argv, startUp, ZURA_DATA_ROOT);
}
