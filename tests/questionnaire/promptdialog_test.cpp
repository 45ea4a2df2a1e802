// The prompt dialog itself, run by the portable window system from dialog resource 116: it
// shows the element's text, and the button the user taps is the result.
#include <gtest/gtest.h>

#include "dbfile/heap.h"
#include "fixture.h"
#include "platform/portable/host.h"
#include "questionnaire/prompts.h"

namespace {

struct Tapper {
    int button;            // the dialog item to tap
    int textItem;          // the item whose text is recorded
    std::string shown;
    std::string caption;
    int calls = 0;
};

bool tapWhenTheDialogShows(void* context)
{
    Tapper* t = static_cast<Tapper*>(context);
    HWND dialog = portableModalTop();
    if (!dialog || t->calls++ > 3)
        return false;
    WCHAR text[2000] = {};
    SendMessageW(GetDlgItem(dialog, t->textItem), WM_GETTEXT, 2000, LPARAM(text));
    t->shown = narrow(text);
    SendMessageW(dialog, WM_GETTEXT, 2000, LPARAM(text));
    t->caption = narrow(text);
    PortableAction tap;
    tap.kind = PortableActionKind::Tap;
    tap.target = GetDlgItem(dialog, t->button);
    portablePushAction(tap);
    return true;
}

class PromptDialog : public QuestionnaireTest {
protected:
    void SetUp() override
    {
        QuestionnaireTest::SetUp();
        setPromptDialogHook(nullptr);
        setMessageBoxHook(nullptr);
        portableResetWindows();
        app->instance = portableProgramInstance();
        loadModules(flowDatabase());
    }
    void TearDown() override
    {
        portableSetInputSource(nullptr, nullptr);
        portableResetWindows();
        QuestionnaireTest::TearDown();
    }
};

TEST_F(PromptDialog, ShowsTheTextAndReturnsTheButtonTapped)
{
    Tapper ok{IDC_PROMPT_OK, IDC_PROMPT_TEXT};
    portableSetInputSource(tapWhenTheDialogShows, &ok);
    EXPECT_EQ(showPrompt(14001), IDC_PROMPT_OK);
    EXPECT_EQ(ok.shown, "Prompt text for the prescription module");
    EXPECT_FALSE(hasId(q->suppressedPrompts, 14001));

    Tapper dontShow{IDC_PROMPT_DONT_SHOW, IDC_PROMPT_TEXT};
    portableSetInputSource(tapWhenTheDialogShows, &dontShow);
    EXPECT_EQ(showPrompt(14001), IDC_PROMPT_DONT_SHOW);
    EXPECT_TRUE(hasId(q->suppressedPrompts, 14001));
    EXPECT_EQ(showPrompt(14001), -1);
}

TEST_F(PromptDialog, MessageBoxesAskAndReport)
{
    const int staticText = 0xFFFF;
    Tapper cancel{IDCANCEL, staticText};
    portableSetInputSource(tapWhenTheDialogShows, &cancel);
    EXPECT_FALSE(showMessage("Are you sure?", true));
    EXPECT_EQ(cancel.shown, "Are you sure?");
    EXPECT_EQ(cancel.caption, "Confirm");

    Tapper ok{IDOK, staticText};
    portableSetInputSource(tapWhenTheDialogShows, &ok);
    EXPECT_TRUE(showMessage("Are you sure?", true));

    Tapper error{IDOK, staticText};
    portableSetInputSource(tapWhenTheDialogShows, &error);
    EXPECT_FALSE(showMessage("Please select a drug", false));
    EXPECT_EQ(error.shown, "Please select a drug");
    EXPECT_EQ(error.caption, "Error");
}

TEST_F(PromptDialog, MessageBoxesShowWhenNoMemoryIsLeft)
{
    const int staticText = 0xFFFF;
    const std::string longText(700, 'W');   // past the fixed buffer: cut, never dropped
    struct Case {
        std::string text;
        bool asQuestion;
        std::string shown;
    } cases[] = {{"Please select a drug", false, "Please select a drug"},
                 {"Are you sure?", true, "Are you sure?"},
                 {longText, false, longText.substr(0, 511)}};
    for (const Case& c : cases) {
        Tapper ok{IDOK, staticText};
        portableSetInputSource(tapWhenTheDialogShows, &ok);
        setAllocationFailure(1, true);
        bool answer = showMessage(c.text.c_str(), c.asQuestion);
        setAllocationFailure(0);
        EXPECT_EQ(answer, c.asQuestion) << c.text;
        EXPECT_EQ(ok.shown, c.shown);
        EXPECT_EQ(ok.caption, c.asQuestion ? "Confirm" : "Error");
    }
}

} // namespace
