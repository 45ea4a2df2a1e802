// The browser host's action handler on any JSON, against the device program's real screens: the
// input is one action or an array of them, each handed to webPerformAction whenever the program
// waits for the user, as the program thread does. So that mutations reach real windows, a
// "window" of "#N" is replaced by the id of the Nth visible window on the screen at that moment;
// any other id goes through as given. Every run must end with the program released.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "hosts/web/web.h"
#include "shell/startup.h"
#include "shell/state.h"

namespace {

struct Actions {
    nlohmann::json list;
    std::size_t next = 0;
};

void resolveWindow(nlohmann::json* action)
{
    auto window = action->find("window");
    if (window == action->end() || !window->is_string())
        return;
    std::string name = window->get<std::string>();
    if (name.size() < 2 || name[0] != '#')
        return;
    long wanted = std::atol(name.c_str() + 1);
    std::vector<PortableWindowInfo> windows = portableSnapshot();
    std::vector<std::string> ids = webWindowIds(windows);
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (windows[i].visible && wanted-- == 0) {
            *window = ids[i];
            return;
        }
}

bool nextActions(void* context)
{
    Actions& actions = *static_cast<Actions*>(context);
    while (actions.next < actions.list.size()) {
        nlohmann::json action = actions.list[actions.next++];
        if (action.is_object())
            resolveWindow(&action);
        std::string error;
        webPerformAction(action, &error);
        if (portableActionsWaiting())
            return true;
    }
    return false;   // the page has gone: the program's loops end
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (chdir(ZURA_DATA_ROOT) != 0) {
        std::perror(ZURA_DATA_ROOT);
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Actions actions;
    actions.list = nlohmann::json::parse(data, data + size, nullptr, false);
    if (actions.list.is_discarded())
        return 0;
    if (!actions.list.is_array())
        actions.list = nlohmann::json::array({actions.list});
    portableResetWindows();
    portableSetInputSource(nextActions, &actions);
    static WCHAR commandLine[1] = {0};
    startUp(portableProgramInstance(), nullptr, commandLine, SW_SHOW);
    portableSetInputSource(nullptr, nullptr);
    portableResetWindows();
    if (appState || questionnaireState || citedReferences) {
        std::fprintf(stderr, "the run ended with the program's state still allocated\n");
        std::abort();
    }
    return 0;
}
