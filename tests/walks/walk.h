// Whole walks of the device program under zura-sim's runner, in this process.
#pragma once
#include <string>

#include "hosts/sim/sim.h"

struct WalkResult {
    int status = 0;
    std::string out, err;
};

std::string readTestFile(const std::string& path);
// Runs the script with the device program on the built databases, with the shell's commands
// or the hooks given.
WalkResult runWalk(const std::string& script, const SimShellHooks* hooks = nullptr);
// Empty when the program's state records are gone and nothing the runs allocated is left
// (LeakSanitizer's check, when the build has it); otherwise what remains.
std::string leftBehind();
