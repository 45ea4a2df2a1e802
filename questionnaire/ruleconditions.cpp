// The one reader and the one evaluator of rule conditions. The reader is a recursive descent
// over the text that writes steps; the evaluator runs them against the answers. A table row's
// steps are kept in a store of static storage for the program's life, so no run of the rules
// reads text. Malformed text (a typo in a table) makes the whole condition malformed, and it
// never holds. Should the store ever be full, a row is read afresh at each test: slower, the
// same answer.
#include "questionnaire/ruleconditions.h"

#include <cstring>
#include <initializer_list>

#include "dosecalc/plausibility.h"

namespace {

constexpr std::uint16_t ageElement = 1516;
constexpr std::uint16_t weightElement = 1547;
constexpr std::uint16_t ageInYearsElement = 2208;
constexpr std::uint16_t weightInPoundsElement = 2350;
constexpr std::uint16_t ageInDaysElement = 9152;

enum StepOp : std::uint8_t {
    Answered,      // some element of id..a is answered
    Fired,         // some rule of id..a has fired
    OnPage,        // the page shown is id
    ForElement,    // the element whose control changed is id
    ForTrigger,    // the trigger is id
    ValueOf,       // answerValue(id) compared
    CountOf,       // countChosen(id) compared
    Plausible,     // plausibleWeightForAge on the answers
    True,          // always
    Invert,        // not
    JumpIfFalse,   // to a, keeping the value
    JumpIfTrue,
};

enum Relation : std::uint8_t { Less, LessOrEqual, Greater, GreaterOrEqual, Equal, Outside };

// --- reading --------------------------------------------------------------------------------

struct Reader {
    const char* at;
    ConditionStep* steps;
    int count;
    bool bad;
};

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

void skipBlanks(Reader& r)
{
    while (*r.at == ' ')
        ++r.at;
}

// Takes the word or sign if it comes next; a word must not run on into more letters or digits.
bool take(Reader& r, const char* word)
{
    skipBlanks(r);
    std::size_t n = std::strlen(word);
    if (std::strncmp(r.at, word, n) != 0)
        return false;
    if (isWordChar(word[n - 1]) && isWordChar(r.at[n]))
        return false;
    r.at += n;
    return true;
}

void expect(Reader& r, const char* word)
{
    if (!take(r, word))
        r.bad = true;
}

std::int32_t number(Reader& r)
{
    skipBlanks(r);
    if (*r.at < '0' || *r.at > '9') {
        r.bad = true;
        return 0;
    }
    std::int32_t n = 0;
    while (*r.at >= '0' && *r.at <= '9') {
        if (n < 1000000)
            n = n * 10 + (*r.at - '0');
        ++r.at;
    }
    return n;
}

// Appends a step and returns its place; nothing once the reading has failed or is full.
int emit(Reader& r, StepOp op, std::int32_t id = 0, std::int32_t a = 0, Relation relation = Less, std::int32_t b = 0)
{
    if (r.bad)
        return -1;
    if (r.count == conditionStepCapacity) {
        r.bad = true;
        return -1;
    }
    r.steps[r.count] = ConditionStep{op, relation, id, a, b};
    return r.count++;
}

void landJump(Reader& r, int jump)
{
    if (jump >= 0)
        r.steps[jump].a = r.count;
}

// A list "N, N, ..." or a range "N to M" of ids, each tested by op; some member must hold.
void idList(Reader& r, StepOp op)
{
    std::int32_t first = number(r);
    if (take(r, "to")) {
        emit(r, op, first, number(r));
        return;
    }
    int jumps[conditionStepCapacity];
    int jumpCount = 0;
    emit(r, op, first, first);
    while (!r.bad && take(r, ",")) {
        jumps[jumpCount++] = emit(r, JumpIfTrue);
        std::int32_t id = number(r);
        emit(r, op, id, id);
    }
    for (int i = 0; i < jumpCount; ++i)
        landJump(r, jumps[i]);
}

void comparison(Reader& r, StepOp op, std::int32_t id)
{
    if (take(r, "outside")) {
        std::int32_t low = number(r);
        expect(r, "to");
        emit(r, op, id, low, Outside, number(r));
        return;
    }
    // Two-character signs first, so "<=" is not read as "<".
    static const struct {
        const char* sign;
        Relation relation;
    } signs[] = {{"<=", LessOrEqual}, {">=", GreaterOrEqual}, {"<", Less}, {">", Greater}, {"=", Equal}};
    for (const auto& s : signs)
        if (take(r, s.sign)) {
            emit(r, op, id, number(r), s.relation);
            return;
        }
    r.bad = true;
}

std::int32_t parenthesisedNumber(Reader& r)
{
    expect(r, "(");
    std::int32_t n = number(r);
    expect(r, ")");
    return n;
}

void orExpression(Reader& r);

void primary(Reader& r)
{
    if (take(r, "(")) {
        orExpression(r);
        expect(r, ")");
    } else if (take(r, "always")) {
        emit(r, True);
    } else if (take(r, "page")) {
        emit(r, OnPage, number(r));
    } else if (take(r, "trigger")) {
        emit(r, ForTrigger, number(r));
    } else if (take(r, "element")) {
        bool isNot = take(r, "is");
        if (isNot)
            expect(r, "not");
        emit(r, ForElement, number(r));
        if (isNot)
            emit(r, Invert);
    } else if (take(r, "any")) {
        expect(r, "of");
        idList(r, Answered);
    } else if (take(r, "none")) {
        expect(r, "of");
        idList(r, Answered);
        emit(r, Invert);
    } else if (take(r, "fired")) {
        expect(r, "(");
        idList(r, Fired);
        expect(r, ")");
    } else if (take(r, "value")) {
        comparison(r, ValueOf, parenthesisedNumber(r));
    } else if (take(r, "countChosen")) {
        comparison(r, CountOf, parenthesisedNumber(r));
    } else if (take(r, "plausibleWeightForAge")) {
        emit(r, Plausible);
    } else {
        std::int32_t id = number(r);
        emit(r, Answered, id, id);
    }
}

void unary(Reader& r)
{
    if (take(r, "not")) {
        unary(r);
        emit(r, Invert);
        return;
    }
    primary(r);
}

// "X and Y": once X is false the value is the answer, so the steps of Y are jumped over.
void andExpression(Reader& r)
{
    unary(r);
    while (!r.bad && take(r, "and")) {
        int jump = emit(r, JumpIfFalse);
        unary(r);
        landJump(r, jump);
    }
}

void orExpression(Reader& r)
{
    andExpression(r);
    while (!r.bad && take(r, "or")) {
        int jump = emit(r, JumpIfTrue);
        andExpression(r);
        landJump(r, jump);
    }
}

// Reads the whole text into steps; false when malformed (the steps read before the fault stay).
bool readCondition(const char* text, ConditionStep* steps, int* count)
{
    Reader r{text, steps, 0, text == nullptr};
    if (!r.bad) {
        orExpression(r);
        skipBlanks(r);
        if (*r.at != '\0')
            r.bad = true;
    }
    *count = r.count;
    return !r.bad;
}

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

bool anyAnswered(const Answer* answers, std::int32_t first, std::int32_t last)
{
    for (std::int32_t id = first; id <= last; ++id)
        if (answerValue(answers, std::uint32_t(id)) != 0)
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

bool plausibleFromAnswers(const Answer* answers)
{
    return plausibleWeightForAge(std::uint16_t(answerValue(answers, weightElement)),
                                 std::uint16_t(answerValue(answers, ageElement)),
                                 answerValue(answers, ageInYearsElement) != 0,
                                 answerValue(answers, weightInPoundsElement) != 0,
                                 answerValue(answers, ageInDaysElement) != 0);
}

bool runSteps(const ConditionStep* steps, int count, const RuleContext& c)
{
    bool v = false;
    for (int at = 0; at < count;) {
        const ConditionStep& s = steps[at++];
        switch (s.op) {
        case Answered: v = anyAnswered(c.answers, s.id, s.a); break;
        case Fired: v = anyFired(c.firedRules, s.id, s.a); break;
        case OnPage: v = c.page == s.id; break;
        case ForElement: v = c.element == s.id; break;
        case ForTrigger: v = c.trigger == s.id; break;
        case ValueOf: v = compares(answerValue(c.answers, std::uint32_t(s.id)), s); break;
        case CountOf: v = compares(countChosen(c.answers, std::uint32_t(s.id)), s); break;
        case Plausible: v = plausibleFromAnswers(c.answers); break;
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
    if (!readCondition(text, steps, &count))
        return ConditionMalformed;
    return runSteps(steps, count, context) ? ConditionTrue : ConditionFalse;
}

// --- the store of table rows' steps -----------------------------------------------------------

// Every table row of the program together reads to about 700 steps.
constexpr int storeCapacity = 2048;
ConditionStep store[storeCapacity];
int storeUsed = 0;

enum Reading : std::uint8_t { NotRead, Kept, Malformed };

void keepSteps(const Condition& condition)
{
    ConditionStep steps[conditionStepCapacity];
    int count = 0;
    if (!readCondition(condition.text, steps, &count)) {
        condition.reading = Malformed;
        return;
    }
    if (storeUsed + count > storeCapacity)
        return;   // stays NotRead: read at each test
    std::memcpy(store + storeUsed, steps, sizeof(ConditionStep) * std::size_t(count));
    condition.firstStep = std::uint16_t(storeUsed);
    condition.stepCount = std::uint8_t(count);
    condition.reading = Kept;
    storeUsed += count;
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
    if (condition.reading == NotRead)
        keepSteps(condition);
    if (condition.reading == Malformed)
        return ConditionMalformed;
    if (condition.reading == NotRead)
        return evaluateText(condition.text, context);
    return runSteps(store + condition.firstStep, condition.stepCount, context) ? ConditionTrue : ConditionFalse;
}

bool conditionHolds(const Condition& condition, const RuleContext& context)
{
    return evaluateCondition(condition, context) == ConditionTrue;
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
    bool wellFormed = readCondition(condition, steps, &count);
    visitSteps(steps, count, visit, data);
    if (!wellFormed)
        return ConditionMalformed;
    return runSteps(steps, count, RuleContext{nullptr, nullptr, 0, 0, 0}) ? ConditionTrue : ConditionFalse;
}
