// The zura-sim runner, compiled into the tests (which drive the runner with their own program).
#include "hosts/sim/runner.cpp"
