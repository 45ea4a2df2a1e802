// rcgen, the resource script reader: a bad script stops the build with one line naming the file,
// the line and what is wrong; a script cut short anywhere never crashes it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string error;
};

class RcgenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("rcgen_test_" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        std::ofstream(folder_ / "ids.h") << "#pragma once\n#define IDD_BOX 200 // a box\n";
        std::ofstream(folder_ / "loop.h") << "#include \"loop.h\"\n";
        std::ofstream(folder_ / "tiny.bmp", std::ios::binary) << tinyBmp();
    }
    void TearDown() override { fs::remove_all(folder_); }

    Outcome rcgen(const std::string& script)
    {
        std::ofstream(folder_ / "test.rc") << script;
        std::string command = std::string(ZURA_BINARY_DIR) + "/rcgen " + (folder_ / "test.rc").string() + " " +
                              (folder_ / "out.cpp").string() + " 2> " + (folder_ / "err.txt").string();
        int status = std::system(command.c_str());
        std::ifstream err(folder_ / "err.txt");
        std::ostringstream text;
        text << err.rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
    }

    static std::string tinyBmp()
    {
        std::string bmp = "BM";
        auto dword = [&bmp](unsigned v) {
            for (int i = 0; i < 4; i++)
                bmp += static_cast<char>(v >> (8 * i));
        };
        dword(58);
        dword(0);
        dword(54);
        dword(40);
        dword(1);
        dword(1);
        bmp += std::string("\x01\x00\x18\x00", 4);
        for (int i = 0; i < 6; i++)
            dword(0);
        bmp += std::string("\x10\x20\x30\x00", 4);
        return bmp;
    }

    fs::path folder_;
};

const char* goodScript =
    "#include <windows.h>\n"
    "#include \"ids.h\"\n"
    "STRINGTABLE\nBEGIN\n    1 \"One \"\"quoted\"\"\"\n    40, \"Forty\"\nEND\n"
    "5 BITMAP \"tiny.bmp\"\n"
    "3 ACCELERATORS\nBEGIN\n    \"Q\", 1, VIRTKEY, CONTROL\n    \"^A\", 2\nEND\n"
    "IDD_BOX DIALOG 1, 2, 30, 40\nSTYLE WS_POPUP | WS_VISIBLE | NOT WS_VISIBLE\nCAPTION \"Box\"\nFONT 8, \"System\"\n"
    "BEGIN\n    LTEXT \"Hi\", -1, 1, 1, 10, 8\n    CONTROL \"\", 7, \"listbox\", LBS_NOTIFY, 1, 10, 20, 20\nEND\n";

}  // namespace

TEST_F(RcgenTest, AcceptsTheStatementsItKnows)
{
    Outcome run = rcgen(goodScript);
    EXPECT_EQ(run.status, 0) << run.error;
    std::ifstream out(folder_ / "out.cpp");
    std::ostringstream text;
    text << out.rdbuf();
    EXPECT_NE(text.str().find("{5, 200, "), std::string::npos) << "dialog 200 from the header's #define";
    EXPECT_NE(text.str().find("{6, 3, "), std::string::npos) << "string 40 in block 3";
    EXPECT_NE(text.str().find("{2, 5, "), std::string::npos);
    EXPECT_NE(text.str().find("{9, 3, "), std::string::npos);
}

TEST_F(RcgenTest, BadScriptsAreReportedByLine)
{
    static const struct {
        const char* name;
        const char* script;
        const char* message;  // the start of the one error line
    } cases[] = {
        {"unknown name", "\n1 BITMAP FOO\n", "test.rc:2: quoted text expected"},
        {"unknown style", "1 DIALOG 0, 0, 1, 1\nSTYLE WS_WOBBLY\nBEGIN\nEND\n", "test.rc:2: unknown name WS_WOBBLY"},
        {"unterminated string", "STRINGTABLE\nBEGIN\n1 \"open\nEND\n", "test.rc:3: unterminated string"},
        {"missing END", "STRINGTABLE\nBEGIN\n1 \"a\"\n", "test.rc:3: missing END"},
        {"repeated string", "STRINGTABLE\nBEGIN\n1 \"a\"\n1 \"b\"\nEND\n", "test.rc:4: bad or repeated string id"},
        {"missing file", "1 BITMAP \"none.bmp\"\n", "rcgen: cannot read"},
        {"not a bitmap", "1 BITMAP \"ids.h\"\n", "test.rc:1: not a BMP file"},
        {"not an icon", "1 ICON \"tiny.bmp\"\n", "test.rc:1: not an icon file"},
        {"unsupported type", "1 MENU\nBEGIN\nEND\n", "test.rc:1: unsupported resource type MENU"},
        {"bad key", "1 ACCELERATORS\nBEGIN\n\"QQ\", 1\nEND\n", "test.rc:3: bad accelerator key"},
        {"bad option", "1 ACCELERATORS\nBEGIN\n\"Q\", 1, HYPER\nEND\n", "test.rc:3: unknown accelerator option HYPER"},
        {"empty accelerators", "1 ACCELERATORS\nBEGIN\nEND\n", "test.rc:3: empty accelerator table"},
        {"unknown item", "1 DIALOG 0, 0, 1, 1\nBEGIN\nSLIDER 1, 2\nEND\n", "test.rc:3: unsupported dialog item SLIDER"},
        {"unknown class", "1 DIALOG 0,0,1,1\nBEGIN\nCONTROL \"\", 1, \"Widget\", 0, 0,0,1,1\nEND\n",
         "test.rc:3: unknown control class WIDGET"},
        {"directive", "#if 1\n", "test.rc:1: unsupported directive #if"},
        {"define without number", "#define X Y\n", "test.rc:1: #define X needs a number"},
        {"huge number", "99999999999 BITMAP \"tiny.bmp\"\n", "test.rc:1: number out of range"},
        {"bad escape", "STRINGTABLE\nBEGIN\n1 \"\\xZ\"\nEND\n", "test.rc:3: \\x needs hexadecimal digits"},
        {"include loop", "#include \"loop.h\"\n", "test.rc:1: #include nested too deeply"},
    };
    for (const auto& c : cases) {
        Outcome run = rcgen(c.script);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.error.rfind(c.message, 0), 0u) << c.name << ": " << run.error;
        EXPECT_EQ(std::count(run.error.begin(), run.error.end(), '\n'), 1) << c.name << ": one line";
    }
}

TEST_F(RcgenTest, ScriptCutAtEveryLineNeverCrashes)
{
    std::string script = goodScript;
    for (std::size_t cut = script.find('\n'); cut != std::string::npos; cut = script.find('\n', cut + 1)) {
        Outcome run = rcgen(script.substr(0, cut + 1));
        EXPECT_TRUE(run.status == 0 || run.status == 1) << "cut after byte " << cut << ": " << run.error;
    }
}

TEST_F(RcgenTest, Usage)
{
    std::string command = std::string(ZURA_BINARY_DIR) + "/rcgen 2> /dev/null";
    int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
}
