#include "walk.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "hosts/sim/shell_hooks.h"
#include "hosts/sim/sim.h"
#include "shell/startup.h"
#include "shell/state.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZURA_HAVE_LSAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZURA_HAVE_LSAN 1
#endif
#ifdef ZURA_HAVE_LSAN
#include <sanitizer/lsan_interface.h>
#endif

std::string readTestFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

WalkResult runWalk(const std::string& script, const SimShellHooks* hooks)
{
    static bool inRoot = chdir(ZURA_DATA_ROOT) == 0;
    WalkResult r;
    if (!inRoot) {
        r.status = -1;
        r.err = "no data root";
        return r;
    }
    simSetShellHooks(hooks ? *hooks : deviceShellHooks());
    std::ostringstream out, err;
    r.status = runSimScript(script, "walk.sim", startUp, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string leftBehind()
{
    std::string left;
    if (appState)
        left += "AppState ";
    if (questionnaireState)
        left += "QuestionnaireState ";
    if (citedReferences)
        left += "citedReferences ";
#ifdef ZURA_HAVE_LSAN
    // With the globals gone, whatever is still allocated is unreachable: a leak report.
    if (left.empty() && __lsan_do_recoverable_leak_check() != 0)
        left += "leaked blocks (see the LeakSanitizer report above)";
#endif
    return left;
}
