// The one evaluator of rule conditions, and the text path of the one reader (in the header, so
// that the compiler reads the table rows). The evaluator runs steps against the answers; a text
// given at run time is read into steps on the stack at each call, and malformed text (a typo)
// makes the whole condition malformed: it never holds.
#include "questionnaire/ruleconditions.h"

#include <initializer_list>

#include "dosecalc/plausibility.h"

using namespace conditionReading;

namespace {

constexpr std::uint16_t ageElement = 1516;
constexpr std::uint16_t weightElement = 1547;
constexpr std::uint16_t ageInYearsElement = 2208;
constexpr std::uint16_t weightInPoundsElement = 2350;
constexpr std::uint16_t ageInDaysElement = 9152;

// --- evaluating -----------------------------------------------------------------------------

bool compares(std::int32_t left, const ConditionStep& s)
{
    switch (s.relation) {
    case Less: return left < s.a;
    case LessOrEqual: return left <= s.a;
    case Greater: return left > s.a;
    case GreaterOrEqual: return left >= s.a;
    case Equal: return left == s.a;
    case Outside: return left < s.a || left > s.b;
    }
    return false;
}

bool anyAnswered(const RuleContext& c, std::int32_t first, std::int32_t last)
{
    for (std::int32_t id = first; id <= last; ++id)
        if (answerValue(c.answers, c.answered, std::uint32_t(id)) != 0)
            return true;
    return false;
}

bool anyFired(const AnswerList* firedRules, std::int32_t first, std::int32_t last)
{
    for (std::int32_t id = first; id <= last && firedRules; ++id)
        if (hasId(*firedRules, std::uint32_t(id)))
            return true;
    return false;
}

bool plausibleFromAnswers(const RuleContext& c)
{
    auto value = [&c](std::uint16_t id) { return answerValue(c.answers, c.answered, id); };
    return plausibleWeightForAge(std::uint16_t(value(weightElement)), std::uint16_t(value(ageElement)),
                                 value(ageInYearsElement) != 0, value(weightInPoundsElement) != 0,
                                 value(ageInDaysElement) != 0);
}

bool runSteps(const ConditionStep* steps, int count, const RuleContext& c)
{
    bool v = false;
    for (int at = 0; at < count;) {
        const ConditionStep& s = steps[at++];
        switch (s.op) {
        case Answered: v = anyAnswered(c, s.id, s.a); break;
        case Fired: v = anyFired(c.firedRules, s.id, s.a); break;
        case OnPage: v = c.page == s.id; break;
        case ForElement: v = c.element == s.id; break;
        case ForTrigger: v = c.trigger == s.id; break;
        case ValueOf: v = compares(answerValue(c.answers, c.answered, std::uint32_t(s.id)), s); break;
        case CountOf: v = compares(countChosen(c.answers, std::uint32_t(s.id)), s); break;
        case Plausible: v = plausibleFromAnswers(c); break;
        case True: v = true; break;
        case Invert: v = !v; break;
        case JumpIfFalse: if (!v) at = s.a; break;
        case JumpIfTrue: if (v) at = s.a; break;
        }
    }
    return v;
}

ConditionResult evaluateText(const char* text, const RuleContext& context)
{
    ConditionStep steps[conditionStepCapacity];
    int count = 0;
    if (text == nullptr || !readCondition(text, steps, &count))
        return ConditionMalformed;
    return runSteps(steps, count, context) ? ConditionTrue : ConditionFalse;
}

void visitSteps(const ConditionStep* steps, int count, ConditionIdVisitor* visit, void* data)
{
    auto note = [&](std::int32_t id, ConditionIdUse use) {
        if (id >= 0 && id <= 0xFFFF)
            visit(std::uint16_t(id), use, data);
    };
    for (int i = 0; i < count; ++i) {
        const ConditionStep& s = steps[i];
        switch (s.op) {
        case Answered:
        case Fired:
            for (std::int32_t id = s.id; id <= s.a; ++id)
                note(id, s.op == Answered ? IdAnswered : IdRule);
            break;
        case OnPage: note(s.id, IdPage); break;
        case ForElement: note(s.id, IdElement); break;
        case ValueOf: note(s.id, IdValue); break;
        case CountOf: note(s.id, IdCounted); break;
        case Plausible:
            for (std::uint16_t id : {weightElement, ageElement, ageInYearsElement, weightInPoundsElement, ageInDaysElement})
                note(id, IdValue);
            break;
        default: break;
        }
    }
}

} // namespace

ConditionResult evaluateCondition(const Condition& condition, const RuleContext& context)
{
    return runSteps(condition.steps, condition.stepCount, context) ? ConditionTrue : ConditionFalse;
}

bool conditionHolds(const Condition& condition, const Answer* answers)
{
    return conditionHolds(condition, RuleContext{answers, nullptr, 0, 0, 0});
}

ConditionResult evaluateCondition(const char* condition, const RuleContext& context)
{
    return evaluateText(condition, context);
}

bool conditionHolds(const char* condition, const RuleContext& context)
{
    return evaluateText(condition, context) == ConditionTrue;
}

ConditionResult visitConditionIds(const char* condition, ConditionIdVisitor* visit, void* data)
{
    ConditionStep steps[conditionStepCapacity];
    int count = 0;
    bool wellFormed = condition != nullptr && readCondition(condition, steps, &count);
    visitSteps(steps, count, visit, data);
    if (!wellFormed)
        return ConditionMalformed;
    return runSteps(steps, count, RuleContext{nullptr, nullptr, 0, 0, 0}) ? ConditionTrue : ConditionFalse;
}
