// zura-sim's runner and the device program's commands, compiled into these tests so that whole
// walks run in one process, as a fuzzer or a test runner repeats them.
#include "hosts/sim/runner.cpp"
#include "hosts/sim/screen.cpp"
#include "hosts/sim/script.cpp"
#include "hosts/sim/shell_hooks.cpp"
