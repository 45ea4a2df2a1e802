// The zura-sim script, compiled into the tests (which drive the runner with their own program).
#include "hosts/sim/script.cpp"
