// Conditions of every rule table, written as the text of the table's row:
// "9523 and (2072 or 2073)", "page 10324 and not 11495", "value(1516) < 18 and 2208".
// A bare id holds when the element's answer is non-zero. A row's text is read once, the first
// time the row is tested, into steps that are then evaluated without reading the text again.
#pragma once
#include <cstdint>

#include "questionnaire/answers.h"

// What a condition is tested against: the answers, the ids of the rules that have fired so far
// in this run (read through the holder, so rules see the ones fired before them), and, for the
// input checks, the page shown, the trigger and the element whose control changed. The clinical
// rules and the dose conversion test the answers only.
struct RuleContext {
    const Answer* answers;
    const AnswerList* firedRules;
    std::uint16_t page;
    std::uint16_t element;
    int trigger;
};

enum ConditionResult { ConditionFalse = 0, ConditionTrue = 1, ConditionMalformed = -1 };

// The words of a condition:
//   N                        element N is answered (answerValue != 0)
//   not X, X and Y, X or Y, ( X )   with not binding tightest, then and, then or
//   always                   holds
//   page N, trigger N, element N, element is not N
//   any of L, none of L      some / no element of the list is answered; L is "N, N, ..." or "N to M"
//   fired(L)                 some rule of the list has fired in this run
//   value(N) OP M            answerValue compared with M; OP is < <= > >= =
//   value(N) outside A to B  answerValue below A or above B
//   countChosen(N) OP M      countChosen of owner N compared with M
//   plausibleWeightForAge    weight value(1547) believable for age value(1516), in the units answered
// A text that reads to more than conditionStepCapacity steps is malformed.

// One step of a read condition. Steps run in order and leave one truth value; a jump skips
// the rest of an "and" once it is false, or of an "or" once it is true.
struct ConditionStep {
    std::uint8_t op;
    std::uint8_t relation;   // how a value or count compares
    std::int32_t id;         // element, page, rule or owner; the first id of a range; the trigger
    std::int32_t a;          // the last id of a range; the number compared with; a jump's target
    std::int32_t b;          // the upper bound of "outside"
};

constexpr int conditionStepCapacity = 96;

// A table row's condition: its text, and where its steps are kept once it has been read. Rows
// are constant tables; only the place of the steps is filled in, at the first test.
struct Condition {
    constexpr Condition(const char* conditionText) : text(conditionText) {}
    const char* text;
    mutable std::uint16_t firstStep = 0;
    mutable std::uint8_t stepCount = 0;
    mutable std::uint8_t reading = 0;   // not read yet, kept, or malformed
};

ConditionResult evaluateCondition(const Condition& condition, const RuleContext& context);
// Holds only when well formed and true; a malformed condition never holds.
bool conditionHolds(const Condition& condition, const RuleContext& context);
// The clinical rules and the dose conversion: the answers alone.
bool conditionHolds(const Condition& condition, const Answer* answers);

// A condition given as text is read afresh at each call (tests, checks over the tables).
ConditionResult evaluateCondition(const char* condition, const RuleContext& context);
bool conditionHolds(const char* condition, const RuleContext& context);

// How a condition uses a number it names, for checks over the tables (dbtool check).
enum ConditionIdUse : std::uint8_t {
    IdAnswered,   // N, any of, none of: an element whose answer is tested
    IdPage,       // page N
    IdElement,    // element N, element is not N: the element whose control changed
    IdValue,      // value(N) and the age and weight elements of plausibleWeightForAge
    IdCounted,    // countChosen(N): an owner of chosen answers
    IdRule,       // fired(...): a rule or check id
};
typedef void ConditionIdVisitor(std::uint16_t id, ConditionIdUse use, void* data);
// Reads the condition and calls visit for every id it names, in reading order, up to a fault;
// the result is the condition's value with no answers, or ConditionMalformed.
ConditionResult visitConditionIds(const char* condition, ConditionIdVisitor* visit, void* data);
