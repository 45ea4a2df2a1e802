// The section selector after a rule run, read back from the combo box as the user sees it, and
// the side-effect section chosen in it.
#include <gtest/gtest.h>

#include "dbfile/heap.h"
#include "harness.h"
#include "platform/winapi.h"
#include "rules/rules.h"

namespace {

struct Selector {
    HWND window;
    explicit Selector(RunState& state)
    {
        window = CreateWindowExW(0, u"COMBOBOX", u"", CBS_DROPDOWNLIST, 0, 290, 240, 100, nullptr, nullptr, nullptr, nullptr);
        state.app.sectionSelector = window;
    }
    ~Selector() { DestroyWindow(window); }

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        LRESULT count = SendMessageW(window, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            WCHAR text[100] = {};
            SendMessageW(window, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            std::string line;
            for (const WCHAR* p = text; *p; ++p)
                line += char(*p);
            out.push_back(line);
        }
        return out;
    }
    LRESULT chosen() const { return SendMessageW(window, CB_GETCURSEL, 0, 0); }
    void add(const char16_t* text) { SendMessageW(window, CB_ADDSTRING, 0, LPARAM(text)); }
    void choose(int index) { SendMessageW(window, CB_SETCURSEL, WPARAM(index), 0); }
};

typedef std::vector<std::string> Names;

// A rule run over the patient's answers, as the main window starts it at a results page.
void runFor(RunState& state, const Patient& patient, void (*run)())
{
    state.resetSections();
    state.questionnaire.answers = patient.answers;
    run();
    state.questionnaire.answers = nullptr;
}

TEST(Selector, APrescriptionRunReplacesTheOldLinesAndSelectsTheFirst)
{
    ContentRoot root({3363});
    RunState state;
    Selector selector(state);
    selector.add(u"Left over");
    Patient patient({9523, 2075, 13088, 2062});
    runFor(state, patient, runPrescriptionRules);
    EXPECT_EQ(selector.lines(), (Names{"Prescription", "Caveats", "Monitoring", "Rationale", "References", "Summary"}));
    EXPECT_EQ(selector.chosen(), 0);
}

TEST(Selector, ASideEffectRunWithNothingChosenLeavesItEmptyAndTheSectionIsOne)
{
    ContentRoot root({});
    RunState state;
    Selector selector(state);
    selector.add(u"Summary");
    selector.choose(0);
    Patient patient({9526});
    runFor(state, patient, runSideEffectRules);
    EXPECT_TRUE(selector.lines().empty());
    EXPECT_EQ(selector.chosen(), CB_ERR);
    EXPECT_EQ(sideEffectSection(), 1);
}

TEST(Selector, SideEffectSectionFollowsTheChosenLine)
{
    ContentRoot root({3409});
    RunState state;
    Selector selector(state);
    Patient patient({9526, 11224});
    runFor(state, patient, runSideEffectRules);
    ASSERT_EQ(selector.lines(), (Names{"Recommendation", "Caveats", "References"}));
    int expected[] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        selector.choose(i);
        EXPECT_EQ(sideEffectSection(), expected[i]) << "line " << i;
    }
}

TEST(Selector, ALineLeftOverOrTooLongForTheBufferIsSectionOne)
{
    RunState state;
    Selector selector(state);
    selector.add(u"Summary");
    std::u16string longLine(300, u'R');
    selector.add(longLine.c_str());
    selector.add(u"Rationale");
    int expected[] = {1, 1, 3};
    for (int i = 0; i < 3; ++i) {
        selector.choose(i);
        EXPECT_EQ(sideEffectSection(), expected[i]) << "line " << i;
    }
}

TEST(Selector, WithoutMemoryForTheCitedReferencesTheSelectorStaysEmpty)
{
    ContentRoot root({3363});
    RunState state;
    Selector selector(state);
    selector.add(u"Summary");
    Patient patient({9523, 2075, 13088, 2062});
    setAllocationFailure(1);
    runFor(state, patient, runPrescriptionRules);
    setAllocationFailure(0);
    EXPECT_TRUE(selector.lines().empty());
}

}  // namespace
