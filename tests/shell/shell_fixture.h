// Test fixture for the shell: writes a display database under a temporary data root, runs the
// real startUp on the portable platform with the test's steps as the user, and offers the
// steps short ways to tap, type, pick and read the screen. Message boxes are recorded and
// answered with their default button.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/portable/host.h"
#include "tests/common/fixture.h"

struct ShownBox {
    std::string caption;
    std::string text;
};

class ShellTest : public ::testing::Test {
protected:
    // Writes the display database (module 0, 1, ...); a module may lose its string record.
    void writeDatabase(const std::vector<std::vector<ElementSpec>>& modules, int moduleWithoutStrings = -1);
    // Runs the program until the steps are used up, then closes it with its "X" button.
    int run(std::vector<std::function<void()>> steps);

    std::deque<std::function<void()>> steps;
    std::vector<ShownBox> boxes;
    bool closing = false;
    ScratchFolder folder{"shell"};
};

// Reading and driving the screen from inside a step.
HWND fixedControl(int id);
PortableWindowInfo windowInfo(HWND window);
DisplayLine* lineOf(std::uint16_t id);
HWND controlOf(std::uint16_t id);
void tap(HWND window);
void typeInto(HWND window, const std::u16string& text);
void pickLine(HWND list, int index);
void scrollBy(int code, int position = 0);
void showPage(std::uint16_t page);
float answerOf(std::uint16_t id, bool* present = nullptr);
std::uint32_t ownerOf(std::uint16_t id);
std::string windowText(HWND window);

// A fixture questionnaire: root, home page, the prescription module's pages, the dose
// conversion and side-effect modules.
std::vector<std::vector<ElementSpec>> shellDatabase();
// The text of page 10600: longer than any title the screen holds.
std::string longTitle();
