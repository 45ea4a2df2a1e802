// Whole zura-sim runs of the device program on mutated scripts, with the real start-up on the
// built databases. Every run must end with the program released.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "hosts/sim/shell_hooks.h"
#include "hosts/sim/sim.h"
#include "shell/startup.h"
#include "shell/state.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (chdir(ZURA_DATA_ROOT) != 0) {
        std::perror(ZURA_DATA_ROOT);
        std::exit(1);
    }
    simSetShellHooks(deviceShellHooks());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::ostringstream out, err;
    runSimScript(std::string(reinterpret_cast<const char*>(data), size), "fuzz.sim", startUp, out, err);
    if (appState || questionnaireState || citedReferences) {
        std::fprintf(stderr, "the run ended with the program's state still allocated\n%s", err.str().c_str());
        std::abort();
    }
    return 0;
}
