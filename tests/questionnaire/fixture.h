// Test fixture: a display database written with the database tool's writer, read back with
// readRecord into fresh global records, with message boxes and the prompt dialog answered by
// the test and what they showed collected.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/fixture.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned type;
};

class QuestionnaireTest : public ::testing::Test, public GlobalRecords {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes one module record pair per entry (module 0, 1, ...) into a container file and
    // loads the hierarchy and string records of modules 0..9 from it.
    void loadModules(const std::vector<std::vector<ElementSpec>>& modules);
    void answer(std::uint16_t id, float value = 1.0f);
    std::int32_t value(std::uint16_t id) const;
    bool hasAnswer(std::uint16_t id) const;
    int answerCount() const;

    ScratchFolder folder{"questionnaire"};

public:
    // What message boxes and prompts showed; the next results they give (OK by default).
    static std::vector<ShownMessage> messages;
    static std::vector<std::string> prompts;
    static int messageResult;
    static int promptResult;
};

// A small questionnaire shaped like the real one: the root, the module choice page 9521, the
// prescription module (10223, a HIDDEN page 10263 that rule 2577 shows, a page 12205 that rule
// 2523 hides, pages 7002 and 7003) in module 0's record, and in module 1's record the dose
// conversion module (10324, 15977, 8226) and the side-effect module's first page 11220.
std::vector<std::vector<ElementSpec>> flowDatabase();
