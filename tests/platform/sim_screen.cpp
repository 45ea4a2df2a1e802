// The zura-sim screen, compiled into the tests (which drive the runner with their own program).
#include "hosts/sim/screen.cpp"
