// Conditions of the page rules and input checks, written as the text of their tables:
// "9523 and (2072 or 2073)", "page 10324 and not 11495", "value(1516) < 18 and 2208".
// A bare id holds when the element's answer is non-zero; one evaluator reads them all.
#pragma once
#include <cstdint>

#include "questionnaire/answers.h"

// What a condition is tested against: the answers, the ids of the rules that have fired so far
// in this run (read through the holder, so rules see the ones fired before them), and, for the
// input checks, the page shown, the trigger and the element whose control changed.
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
ConditionResult evaluateCondition(const char* condition, const RuleContext& context);
// Holds only when well formed and true; a malformed condition never holds.
bool conditionHolds(const char* condition, const RuleContext& context);
