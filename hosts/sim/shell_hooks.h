// The device program's part of zura-sim: id:N targets and the commands lines, answers, set,
// show and dismiss, read from and acting on the shell's global records.
#pragma once
#include "hosts/sim/sim.h"

SimShellHooks deviceShellHooks();
