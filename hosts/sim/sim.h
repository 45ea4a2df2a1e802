// zura-sim: runs the device program on the portable platform, taking user actions from a script
// and printing what the script asks for. The program entry is passed in, so the same runner
// drives the device program's startUp and the tests' own small programs.
#pragma once
#include "platform/winapi.h"

#include <iosfwd>
#include <string>
#include <vector>

typedef int (*SimProgramEntry)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

// What the shell adds to the script language (id:N targets and the commands lines, answers,
// set, show). A null member leaves its command unavailable: using it is an error.
// A command returns false with *error set when it cannot be carried out; an action (set, show)
// may push user actions with portablePushAction.
struct SimShellHooks {
    HWND (*lineControl)(int lineId) = nullptr;
    bool (*lines)(std::ostream& out, std::string* error) = nullptr;
    bool (*answers)(std::ostream& out, std::string* error) = nullptr;
    bool (*set)(const std::vector<std::string>& args, std::string* error) = nullptr;
    bool (*show)(const std::string& what, std::string* error) = nullptr;
};
void simSetShellHooks(const SimShellHooks& hooks);
const SimShellHooks& simShellHooks();

// Exit statuses.
constexpr int simOk = 0;          // the script ran to its end
constexpr int simFailed = 1;      // a command failed, a box was left open, or a signal stopped it
constexpr int simBadUsage = 2;    // bad arguments or a script that does not parse

// Runs the program with the script (its lines already read); name is used in messages.
int runSimScript(const std::string& script, const std::string& name, SimProgramEntry entry,
                 std::ostream& out, std::ostream& err);
// The command line: zura-sim [--root DIR] [SCRIPT | -]; without SCRIPT the script is read from
// standard input. defaultRoot is the data root the build wrote.
int simMain(int argc, char** argv, SimProgramEntry entry, const char* defaultRoot);
