// The dbtool command: its exit status (0 done, 1 bad input or damage, 2 usage) and messages.
#include <cstdlib>
#include <filesystem>

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/dbtool/helpers.h"
#include "tools/dbtool/lib/build.h"

namespace {

using ::testing::HasSubstr;

// Runs dbtool with the arguments; its standard error lands in errorText.
int runDbtool(const TempFolder& folder, const std::string& arguments, std::string* errorText = nullptr)
{
    std::string errors = folder.file("stderr.txt");
    std::string command = std::string("'") + ZURA_BINARY_DIR + "/dbtool' " + arguments + " >/dev/null 2>'" + errors + "'";
    int status = std::system(command.c_str());
    if (errorText) {
        std::string message;
        readTextFile(errors, errorText, &message);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string shellPath(const std::string& path) { return "'" + path + "'"; }

TEST(Command, ExitStatusTellsDoneBadInputAndUsage)
{
    TempFolder folder;
    folder.write("data/display/0.txt", "[module 0]\nMODULE 1979 \"root\"\n");
    folder.write("data/content/c.txt", "reference id=1 type=1\n    title \"t\"\n");
    folder.write("bad/display/0.txt", "[module 0]\nMODULE 1\n  BOX 2\n");
    folder.write("bad/content/c.txt", "");
    folder.write("twice/display/0.txt", "[module 0]\nMODULE 1979 \"root\"\n  PAGE 1979 \"again\"\n");
    folder.write("twice/content/c.txt", "");
    folder.write("short.pdb", "too short");
    std::string root = folder.file("root");
    const struct {
        const char* name;
        std::string arguments;
        int status;
    } cases[] = {
        {"no arguments", "", 2},
        {"unknown command", "make x y", 2},
        {"build without root", "build " + shellPath(folder.file("data")), 2},
        {"dump with an unknown option", "dump --both x", 2},
        {"build", "build " + shellPath(folder.file("data")) + " " + shellPath(root), 0},
        {"dump the display database", "dump " + shellPath(displayDatabaseFile(root)), 0},
        {"dump the content database as content", "dump --content " + shellPath(contentDatabaseFile(root)), 0},
        {"dump a missing file", "dump " + shellPath(folder.file("none.pdb")), 1},
        {"dump a damaged file", "dump --display " + shellPath(folder.file("short.pdb")), 1},
        {"build from a bad source", "build " + shellPath(folder.file("bad")) + " " + shellPath(folder.file("root2")), 1},
        {"check the repository's sources", "check " + shellPath(std::string(ZURA_TEST_DIR) + "/../../data"), 0},
        {"check a bad source", "check " + shellPath(folder.file("bad")), 1},
        {"check an incoherent source", "check " + shellPath(folder.file("twice")), 1},
        {"build from a missing folder", "build " + shellPath(folder.file("nothing")) + " " + shellPath(folder.file("root3")), 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runDbtool(folder, c.arguments), c.status) << c.name;
}

TEST(Command, ABadSourceIsNamedByFileAndLineAndNothingIsWritten)
{
    TempFolder folder;
    std::string bad = folder.write("bad/display/0.txt", "[module 0]\nMODULE 1\n  BOX 2\n");
    folder.write("bad/content/c.txt", "range table=1 lower=5 upper=2\n");
    std::string errors;
    EXPECT_EQ(runDbtool(folder, "build " + shellPath(folder.file("bad")) + " " + shellPath(folder.file("root")), &errors), 1);
    EXPECT_THAT(errors, HasSubstr(bad + ":3: unknown element type 'BOX'"));
    EXPECT_THAT(errors, HasSubstr("c.txt:1: empty range: lower 5 is not below upper 2"));
    EXPECT_FALSE(std::filesystem::exists(displayDatabaseFile(folder.file("root"))));
}

TEST(Command, DamageIsReportedOnStandardError)
{
    TempFolder folder;
    folder.write("short.pdb", "too short");
    std::string errors;
    EXPECT_EQ(runDbtool(folder, "dump " + shellPath(folder.file("short.pdb")), &errors), 1);
    EXPECT_THAT(errors, HasSubstr("short.pdb: damage: the file has 9 bytes, fewer than the 80 bytes"));
}

} // namespace
