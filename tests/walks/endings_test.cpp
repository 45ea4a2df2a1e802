// Every way a run of the device program under zura-sim can end releases all it took: the end
// of the script, a failing command, a script ending with a box open, a signal.
#include <gtest/gtest.h>

#include <csignal>

#include "hosts/sim/shell_hooks.h"
#include "hosts/sim/sim.h"
#include "walk.h"

namespace {

struct Ending {
    const char* name;
    std::string script;
    int status;
    const char* error;   // part of the message, "" for none
};

const Ending endings[] = {
    {"the demo walk", readTestFile(ZURA_TEST_DIR "/../e2e/demo.sim"), simOk, ""},
    {"a failing command", "tap prescription\nanswer \"OK\"\ntap \"No such answer\"\n", simFailed,
     "walk.sim:3: no such target: \"No such answer\""},
    {"a failing command inside a box", "tap prescription\ntap next\n", simFailed, "walk.sim:2: a modal box is open"},
    {"the opioid-naive prompt left open", "tap prescription\n", simFailed,
     "walk.sim:1: the script ended with a modal box open: \"Doses are for opioid-naive adults."},
    {"the required-answer box left open", "tap prescription\nanswer \"OK\"\ntap next\n", simFailed,
     "walk.sim:3: the script ended with a modal box open: \"ERROR\""},
    {"a box left open on purpose", "tap prescription\nanswer \"OK\"\ntap next\ndismiss\n", simOk, ""},
    {"a script that does not parse", "tap \"open\n", simBadUsage, "unterminated"},
};

TEST(Endings, EveryEndingReleasesTheProgramAndReportsItself)
{
    for (const Ending& e : endings) {
        WalkResult r = runWalk(e.script);
        EXPECT_EQ(r.status, e.status) << e.name << ": " << r.err;
        EXPECT_NE(r.err.find(e.error), std::string::npos) << e.name << ": " << r.err;
        EXPECT_EQ(leftBehind(), "") << e.name;
    }
}

// The signal arrives while the program runs: from a command the script gives.
int signalToRaise = 0;

bool linesThenSignal(std::ostream& out, std::string* error)
{
    std::raise(signalToRaise);
    return deviceShellHooks().lines(out, error);
}

TEST(Endings, ASignalEndsTheRunAtTheNextWaitWithTheProgramReleased)
{
    SimShellHooks hooks = deviceShellHooks();
    hooks.lines = linesThenSignal;
    for (int signal : {SIGTERM, SIGINT}) {
        signalToRaise = signal;
        WalkResult r = runWalk("tap prescription\nlines\nanswer \"OK\"\n", &hooks);
        EXPECT_EQ(r.status, simFailed) << r.err;
        EXPECT_NE(r.err.find("stopped by signal " + std::to_string(signal)), std::string::npos) << r.err;
        EXPECT_EQ(leftBehind(), "");
    }
}

}  // namespace
