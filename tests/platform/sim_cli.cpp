// The zura-sim cli, compiled into the tests (which drive the runner with their own program).
#include "hosts/sim/cli.cpp"
