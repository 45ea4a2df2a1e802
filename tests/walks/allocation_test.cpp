// The demo walk (start-up, About, a prescription through every report section, a dose
// conversion with its sections, a side-effect plan) with allocation N failing, for N over the
// whole walk: the program goes on without the item, shows every warning the walk shows without
// failures, releases everything at the end, and a fresh run afterwards is the run without
// failures. ZURA_WALK_STEP=1 steps through every N (the nightly run); by default every
// allocation of start-up fails in turn and then every 23rd.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "dbfile/heap.h"
#include "walk.h"

namespace {

// Texts a clinician must see, as the walk prints them (a screen's window or a display line).
const char* const safetyMarks[] = {"\"WARNING:", "HOLD", "\"Doses are for opioid-naive adults", "\"Oral\"",
                                   "You must select an option"};

// The texts of the printed lines that carry a warning, in order; where a line stands on the
// screen may change when something else is dropped, so only its text counts.
std::vector<std::string> safetyTexts(const std::string& out)
{
    std::vector<std::string> texts;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        for (const char* mark : safetyMarks)
            if (std::size_t at = line.find(mark); at != std::string::npos) {
                texts.push_back(line.substr(line.rfind(" \"", at) + 1));
                break;
            }
    return texts;
}

int failedLine(const std::string& error)
{
    std::size_t at = error.find("walk.sim:");
    return at == std::string::npos ? 0 : std::atoi(error.c_str() + at + 9);
}

std::string linesBefore(const std::string& script, int line)
{
    std::size_t end = 0;
    for (int n = 1; n < line && end != std::string::npos; ++n)
        end = script.find('\n', end) + 1;
    return script.substr(0, end == std::string::npos ? script.size() : end);
}

long walkStep()
{
    const char* step = std::getenv("ZURA_WALK_STEP");
    long n = step ? std::atol(step) : 23;
    return n > 0 ? n : 23;
}

TEST(AllocationFailure, TheDemoWalkSurvivesEachFailureAndKeepsItsWarnings)
{
    const std::string demo = readTestFile(ZURA_TEST_DIR "/../e2e/demo.sim");
    setAllocationFailure(0);
    runWalk("");
    const long startUp = allocationCount();
    setAllocationFailure(0);
    const WalkResult clean = runWalk(demo);
    const long total = allocationCount();
    ASSERT_EQ(clean.status, simOk) << clean.err;
    ASSERT_GT(total, startUp);
    const std::vector<std::string> warnings = safetyTexts(clean.out);
    ASSERT_FALSE(warnings.empty());

    const long step = walkStep();
    int failedRuns = 0;
    for (long n = 1; n <= total; n += n < startUp ? 1 : step) {
        setAllocationFailure(n);
        WalkResult r = runWalk(demo);
        setAllocationFailure(0);
        ASSERT_TRUE(r.status == simOk || r.status == simFailed) << "allocation " << n << ": " << r.err;
        ASSERT_EQ(leftBehind(), "") << "allocation " << n;
        std::vector<std::string> shown = safetyTexts(r.out);
        if (r.status == simOk)
            EXPECT_EQ(shown, warnings) << "allocation " << n;
        else {
            // The walk stopped at a line (a control it taps was dropped): what it showed up to
            // there must hold every warning the walk without failures shows up to there.
            ++failedRuns;
            std::vector<std::string> before = safetyTexts(runWalk(linesBefore(demo, failedLine(r.err))).out);
            shown.resize(std::min(shown.size(), before.size()));
            EXPECT_EQ(shown, before) << "allocation " << n << ": " << r.err;
        }
        WalkResult fresh = runWalk(demo);
        ASSERT_EQ(fresh.status, simOk) << "after allocation " << n << ": " << fresh.err;
        ASSERT_EQ(fresh.out, clean.out) << "after allocation " << n;
    }
    std::cout << total << " allocations, " << startUp << " in start-up, step " << step << ", " << failedRuns
              << " walks stopped\n";
}

}  // namespace
