// zura-sim scripts driving the small test program: taps, typing, message boxes, a modeless
// keypad, drop lists, the section selector, scrolling, the accelerator, the screen and the exit
// statuses.
#include "harness.h"
#include "hosts/sim/sim.h"
#include "test_program.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

struct SimResult {
    int status;
    std::string out, err;
    std::vector<std::string> log;
};

SimResult runScript(const std::string& script)
{
    programLog().clear();
    std::ostringstream out, err;
    int status = runSimScript(script, "test.sim", testProgram, out, err);
    return SimResult{status, out.str(), err.str(), programLog()};
}

bool logHas(const SimResult& r, const std::string& line)
{
    return std::find(r.log.begin(), r.log.end(), line) != r.log.end();
}

// The log lines beginning with prefix, in order.
std::vector<std::string> logOf(const SimResult& r, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& l : r.log)
        if (l.rfind(prefix, 0) == 0)
            out.push_back(l);
    return out;
}

class SimTest : public PlatformTest {};

}  // namespace

TEST_F(SimTest, ATapOnAnAutoCheckBoxArrivesAsBnClickedWithTheNewCheckState)
{
    SimResult r = runScript("tap \"Sleep apnea\"\ntap \"Sleep\"   # a prefix finds it too\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_EQ(logOf(r, "command 201"), (std::vector<std::string>{"command 201 0 1", "command 201 0 0"}));
    EXPECT_EQ(r.log.back(), "destroy") << "the end of the script closes the program by its X button";
}

TEST_F(SimTest, TypingIntoAnEditArrivesAsEnChangeWithTheText)
{
    SimResult r = runScript("type \"mg\" \"1\\x32\"\ntype \"mg12\" \"\\x08\"\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_EQ(logOf(r, "command 202 768"), (std::vector<std::string>{"command 202 768 mg1", "command 202 768 mg12",
                                                                      "command 202 768 mg1"}));
    EXPECT_TRUE(logHas(r, "command 202 256 mg")) << "EN_SETFOCUS when the field is tapped";
}

TEST_F(SimTest, AMessageBoxReturnsWhatTheScriptAnswered)
{
    SimResult r = runScript("tap \"Ask\"\nexpect \"Continue?\"\nanswer Cancel\ntap \"Ask\"\nanswer \"OK\"\nexpect-not Continue?\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_EQ(logOf(r, "messagebox"), (std::vector<std::string>{"messagebox 2", "messagebox 1"}));
}

TEST_F(SimTest, AnyOtherActionWhileAModalBoxIsUpIsAnErrorNamingTheLine)
{
    SimResult r = runScript("tap \"Ask\"\nscreen\ntap \"Sleep apnea\"\n");
    EXPECT_EQ(r.status, simFailed);
    EXPECT_NE(r.err.find("test.sim:3: a modal box is open: \"Confirm\""), std::string::npos) << r.err;
    EXPECT_FALSE(logHas(r, "command 201 0 1"));
    EXPECT_NE(r.out.find("--- message box \"Confirm\"\n"), std::string::npos) << r.out;
}

TEST_F(SimTest, AModelessDialogsButtonsSendTheirCommands)
{
    SimResult r = runScript("tap \"Keypad\"\ntap \"2\"\ntap \"1\"\ntap \"Close\"\nexpect-not Close\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_EQ(logOf(r, "keypad"), (std::vector<std::string>{"keypad 1007", "keypad 1006", "keypad 1018"}));
}

TEST_F(SimTest, ChooseOpensTheDropListThenPicksTheLine)
{
    SimResult r = runScript("choose \"Morphine\" \"Hydro\"\nscreen\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_TRUE(logHas(r, "command 20000 0 0"));
    EXPECT_TRUE(logHas(r, "command 5 1 2")) << "LBN_SELCHANGE with the picked line";
    EXPECT_NE(r.out.find("LISTBOX 10 150 100 18 focus selected=2 items=[\"Morphine\",\"Fentanyl\",\"Hydromorphone\"] \"v\""),
              std::string::npos) << r.out;
}

TEST_F(SimTest, TargetsAreLookedForAmongTheControlsACommandActsOn)
{
    SimResult viaButton = runScript("choose \"v\" \"Fent\"\n");
    EXPECT_EQ(viaButton.status, simOk) << viaButton.err;
    EXPECT_TRUE(logHas(viaButton, "command 5 1 1")) << "the drop button's list got the pick";
    SimResult noField = runScript("type \"Sleep\" \"5\"\n");
    EXPECT_EQ(noField.status, simFailed) << "a check box is no field to type into";
    EXPECT_NE(noField.err.find("no such target: \"Sleep\""), std::string::npos) << noField.err;
    EXPECT_FALSE(logHas(noField, "command 201 0 1"));
}

TEST_F(SimTest, SectionPicksInTheSelectorWithItsNotification)
{
    SimResult r = runScript("section Caveats\nsection \"Prescription\"\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_EQ(logOf(r, "command 106 1"), (std::vector<std::string>{"command 106 1 1", "command 106 1 0"}));
}

TEST_F(SimTest, ScrollSendsWhatTheScrollBarWould)
{
    SimResult r = runScript("scroll down\nscroll pageup\nscroll to 5\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    std::vector<std::string> expected = {"vscroll 1 0", "vscroll 8 0", "vscroll 2 0", "vscroll 8 0",
                                         "vscroll 5 5", "vscroll 4 5", "vscroll 8 0"};
    EXPECT_EQ(logOf(r, "vscroll"), expected);
}

TEST_F(SimTest, KeyCtrlQIsTheAcceleratorAndLinesAfterTheProgramEndedFail)
{
    SimResult closes = runScript("key ctrl+q\n");
    EXPECT_EQ(closes.status, simOk) << closes.err;
    EXPECT_TRUE(logHas(closes, "command 1 1"));
    SimResult late = runScript("key ctrl+q\nscreen\n");
    EXPECT_EQ(late.status, simFailed);
    EXPECT_NE(late.err.find("test.sim:2: the program ended before this line"), std::string::npos) << late.err;
}

TEST_F(SimTest, ScreenPrintsEveryVisibleWindowTopToBottomLeftToRight)
{
    SimResult r = runScript("tap \"Sleep apnea\"\nscreen\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    std::string expected =
        "TestProgram 0 0 240 320 \"Test Program\"\n"
        "BUTTON 225 3 12 16 \"X\"\n"
        "SCROLLBAR 225 27 15 263 scroll=0/0..39/16 \"\"\n"
        "BUTTON 5 30 150 16 checked focus \"Sleep apnea\"\n"
        "EDIT 5 50 60 18 \"mg\"\n"
        "BUTTON 5 75 50 20 \"Ask\"\n"
        "BUTTON 60 75 50 20 \"Keypad\"\n"
        "STATIC 5 100 100 15 \"Plain text\"\n"
        "STATIC 120 100 100 15 bold underline \"Recommend\"\n"
        "LISTBOX 10 150 100 18 selected=none items=[\"Morphine\"] \"v\"\n"
        "BUTTON 110 150 10 17 \"v\"\n"
        "COMBOBOX 55 295 120 20 selected=0 items=[\"Prescription\",\"Caveats\",\"References\"] \"Prescription\"\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(SimTest, ExpectationsAndTargetsThatFailNameTheLine)
{
    struct Case {
        const char* script;
        int status;
        const char* message;
    } cases[] = {
        {"expect \"Sleep apnea\"\nexpect Nothing like this\n", simFailed, "test.sim:2: not shown: \"Nothing like this\""},
        {"expect-not \"Plain\"\n", simFailed, "test.sim:1: shown: \"Plain\""},
        {"tap \"No such button\"\n", simFailed, "test.sim:1: no such target: \"No such button\""},
        {"tap next\n", simFailed, "test.sim:1: no such target: next"},
        {"tap id:12\n", simFailed, "test.sim:1: id: targets need the device program's shell"},
        {"lines\n", simFailed, "test.sim:1: lines needs the device program's shell"},
        {"answer OK\n", simFailed, "test.sim:1: no message box or dialog is open"},
        {"scroll sideways\n", simFailed, "test.sim:1: scroll up|down|pageup|pagedown|to N"},
        {"shot\n", simFailed, "test.sim:1: usage: shot FILE.bmp"},
        {"shot /no/such/folder/screen.bmp\n", simFailed, "test.sim:1: cannot write the screenshot /no/such/folder/screen.bmp"},
        {"jump\n", simBadUsage, "test.sim:1: unknown command jump"},
        {"# fine\ntap \"unterminated\n", simBadUsage, "test.sim: line 2: unterminated quote"},
        {"expect \"bad \\q escape\"\n", simBadUsage, "test.sim: line 1: bad escape \\q"},
    };
    for (const Case& c : cases) {
        SimResult r = runScript(c.script);
        EXPECT_EQ(r.status, c.status) << c.script;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.script << " gave: " << r.err;
    }
}

TEST_F(SimTest, ShotWritesTheScreenAsABitmapFile)
{
    std::string path = std::string(ZURA_BINARY_DIR) + "/sim-shot.bmp";
    std::remove(path.c_str());
    SimResult r = runScript("tap \"Sleep apnea\"\nshot " + path + "\n");
    ASSERT_EQ(r.status, simOk) << r.err;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char magic[2] = {};
    EXPECT_EQ(std::fread(magic, 1, 2, file), 2u);
    std::fclose(file);
    EXPECT_EQ(std::string(magic, 2), "BM");
}

TEST_F(SimTest, WithoutAProgramEntryTheRunFails)
{
    std::ostringstream out, err;
    EXPECT_EQ(runSimScript("screen\n", "x.sim", nullptr, out, err), simFailed);
    EXPECT_NE(err.str().find("not part of this build"), std::string::npos);
}

TEST_F(SimTest, CommandLineUsage)
{
    struct Case {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"zura-sim", "--bogus"}, simBadUsage},
        {{"zura-sim", "--root"}, simBadUsage},
        {{"zura-sim", "a.sim", "b.sim"}, simBadUsage},
        {{"zura-sim", "/no/such/script.sim"}, simBadUsage},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const std::string& a : c.args)
            argv.push_back(const_cast<char*>(a.c_str()));
        EXPECT_EQ(simMain(int(argv.size()), argv.data(), testProgram, "."), c.status) << c.args.back();
    }
}

TEST_F(SimTest, DismissPressesTheDefaultButtonOfTheBoxOnTopAndNothingWithoutOne)
{
    SimResult r = runScript("dismiss\ntap \"Ask\"\ndismiss\nexpect-not Continue?\ntap \"Keypad\"\ndismiss\nexpect Close\n");
    EXPECT_EQ(r.status, simOk) << r.err;
    EXPECT_EQ(logOf(r, "messagebox"), (std::vector<std::string>{"messagebox 1"})) << "OK is the default button";
    EXPECT_TRUE(logOf(r, "keypad").empty()) << "the keypad has no default button: it stays";
}
