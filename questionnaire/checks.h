// Input checks: run on the page shown, on Next and on every control change. They hide parts of
// the page, keep groups of check boxes consistent, prompt with an element's explanation, or
// refuse Next with a message. A check that holds records its id in firedRules, then acts.
#pragma once
#include <cstdint>

#include "questionnaire/answers.h"
#include "questionnaire/ruleconditions.h"

// The verdict starts true (false for a control change) and an error makes it false.
// moduleChecks runs while the root is answered; generalChecks always (checkPage combines them).
bool moduleChecks(std::uint16_t element, std::uint16_t page, int trigger, AnswerList* firedRules,
                  AnswerList* answers);
bool generalChecks(std::uint16_t page, int trigger, AnswerList* firedRules, AnswerList* answers);

// Clears the visible bit of the display lines of the element and of its whole subtree.
void hideElementLines(std::uint16_t element);

// What a check does when it holds.
enum CheckAction : std::uint8_t {
    NoAction,      // only records its id, for later checks
    HideLines,     // hideElementLines of each id
    PromptText,    // showPrompt of the first id
    SetToZero,     // each id's answer set to 0, in order
    SetToOne,      // each id's answer set to 1
    ShowError,     // the message as an error: the verdict becomes false
    AskQuestion,   // the message as a question: the verdict becomes the answer
    AcceptPage,    // the verdict becomes true
};

struct CheckRule {
    std::uint16_t check;
    Condition condition;
    CheckAction action;
    std::uint16_t ids[10];   // end at the first 0
    const char* message;
};

const CheckRule* moduleCheckRules(int* count);
const CheckRule* generalCheckRules(int* count);
