// Conditions of every rule table, written as the text of the table's row with the suffix _when:
// "9523 and (2072 or 2073)"_when, "page 10324 and not 11495"_when. A bare id holds when the
// element's answer is non-zero. The compiler reads a row's text into its steps, so the program
// never reads a table's text; a row that does not read is a compile error. Texts given at run
// time (dbtool check, tests) are read by the same reader at each call.
#pragma once
#include <cstddef>
#include <cstdint>

#include "questionnaire/answers.h"

// What a condition is tested against: the answers, the ids of the rules that have fired so far
// in this run (read through the holder, so rules see the ones fired before them), and, for the
// input checks, the page shown, the trigger and the element whose control changed. The clinical
// rules and the dose conversion test the answers only. A run that tests many conditions against
// unchanged answers gives their filter (answers.h), made from exactly this answer list; without
// one every id is looked up in the list.
struct RuleContext {
    const Answer* answers;
    const AnswerList* firedRules;
    std::uint16_t page;
    std::uint16_t element;
    int trigger;
    const AnsweredIds* answered = nullptr;
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

// --- the reader ---------------------------------------------------------------------------------
// One recursive descent over the text that writes steps, run by the compiler for table rows and
// at run time for texts. It is in this header only so that the compiler can run it.
namespace conditionReading {

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

struct Reader {
    const char* at;
    ConditionStep* steps;
    int count;
    bool bad;
};

constexpr bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr void skipBlanks(Reader& r)
{
    while (*r.at == ' ')
        ++r.at;
}

// Takes the word or sign if it comes next; a word must not run on into more letters or digits.
constexpr bool take(Reader& r, const char* word)
{
    skipBlanks(r);
    int n = 0;
    for (; word[n] != '\0'; ++n)
        if (r.at[n] != word[n])
            return false;
    if (isWordChar(word[n - 1]) && isWordChar(r.at[n]))
        return false;
    r.at += n;
    return true;
}

constexpr void expect(Reader& r, const char* word)
{
    if (!take(r, word))
        r.bad = true;
}

constexpr std::int32_t number(Reader& r)
{
    skipBlanks(r);
    if (!isDigit(*r.at)) {
        r.bad = true;
        return 0;
    }
    std::int32_t n = 0;
    while (isDigit(*r.at)) {
        if (n < 1000000)
            n = n * 10 + (*r.at - '0');
        ++r.at;
    }
    return n;
}

// Appends a step and returns its place; nothing once the reading has failed or is full.
constexpr int emit(Reader& r, StepOp op, std::int32_t id = 0, std::int32_t a = 0, Relation relation = Less,
                   std::int32_t b = 0)
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

constexpr void landJump(Reader& r, int jump)
{
    if (jump >= 0)
        r.steps[jump].a = r.count;
}

// A list "N, N, ..." or a range "N to M" of ids, each tested by op; some member must hold.
constexpr void idList(Reader& r, StepOp op)
{
    std::int32_t first = number(r);
    if (take(r, "to")) {
        std::int32_t last = number(r);
        emit(r, op, first, last);
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

struct Sign {
    const char* sign;
    Relation relation;
};
// Two-character signs first, so "<=" is not read as "<".
constexpr Sign signs[] = {{"<=", LessOrEqual}, {">=", GreaterOrEqual}, {"<", Less}, {">", Greater}, {"=", Equal}};

constexpr void comparison(Reader& r, StepOp op, std::int32_t id)
{
    if (take(r, "outside")) {
        std::int32_t low = number(r);
        expect(r, "to");
        std::int32_t high = number(r);
        emit(r, op, id, low, Outside, high);
        return;
    }
    for (const Sign& s : signs)
        if (take(r, s.sign)) {
            std::int32_t m = number(r);
            emit(r, op, id, m, s.relation);
            return;
        }
    r.bad = true;
}

constexpr std::int32_t parenthesisedNumber(Reader& r)
{
    expect(r, "(");
    std::int32_t n = number(r);
    expect(r, ")");
    return n;
}

constexpr void orExpression(Reader& r);

constexpr void primary(Reader& r)
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
        std::int32_t id = parenthesisedNumber(r);
        comparison(r, ValueOf, id);
    } else if (take(r, "countChosen")) {
        std::int32_t id = parenthesisedNumber(r);
        comparison(r, CountOf, id);
    } else if (take(r, "plausibleWeightForAge")) {
        emit(r, Plausible);
    } else {
        std::int32_t id = number(r);
        emit(r, Answered, id, id);
    }
}

constexpr void unary(Reader& r)
{
    if (take(r, "not")) {
        unary(r);
        emit(r, Invert);
        return;
    }
    primary(r);
}

// "X and Y": once X is false the value is the answer, so the steps of Y are jumped over.
constexpr void andExpression(Reader& r)
{
    unary(r);
    while (!r.bad && take(r, "and")) {
        int jump = emit(r, JumpIfFalse);
        unary(r);
        landJump(r, jump);
    }
}

constexpr void orExpression(Reader& r)
{
    andExpression(r);
    while (!r.bad && take(r, "or")) {
        int jump = emit(r, JumpIfTrue);
        andExpression(r);
        landJump(r, jump);
    }
}

constexpr bool isJump(std::uint8_t op) { return op == JumpIfFalse || op == JumpIfTrue; }

// "A and B and C" leaves a chain of jumps, each landing on the next: once A is false the run
// would take every one of them. A taken jump keeps the value, so where it lands on a jump of its
// own kind it would be taken again, and on one of the other kind it would fall through: the jump
// goes straight to where the chain ends. Jumps only go forward, so this ends.
constexpr void shortenJumps(ConditionStep* steps, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!isJump(steps[i].op))
            continue;
        std::int32_t to = steps[i].a;
        while (to < count && isJump(steps[to].op))
            to = steps[to].op == steps[i].op ? steps[to].a : to + 1;
        steps[i].a = to;
    }
}

// Reads the whole text (not null) into steps, with room for conditionStepCapacity; false when
// malformed, the steps read before the fault staying.
constexpr bool readCondition(const char* text, ConditionStep* steps, int* count)
{
    Reader r{text, steps, 0, false};
    orExpression(r);
    skipBlanks(r);
    if (*r.at != '\0')
        r.bad = true;
    *count = r.count;
    if (!r.bad)
        shortenJumps(steps, r.count);
    return !r.bad;
}

// The number of steps a text reads to, 0 when it is malformed (no well-formed text reads to none).
consteval int stepCountOf(const char* text)
{
    ConditionStep steps[conditionStepCapacity] = {};
    int count = 0;
    return readCondition(text, steps, &count) ? count : 0;
}

// A row's text, as the template argument that gives the row its own steps.
template <std::size_t N> struct RowText {
    char text[N];
    consteval RowText(const char (&written)[N])
    {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = written[i];
    }
};

template <int N> struct RowSteps {
    ConditionStep step[N];
};

// Exactly the row's steps, made by the compiler; identical texts share one.
template <RowText T>
inline constexpr RowSteps<stepCountOf(T.text)> rowSteps = [] {
    RowSteps<stepCountOf(T.text)> read{};
    int count = 0;
    readCondition(T.text, read.step, &count);
    return read;
}();

// The test a row cannot hold without, when its steps begin "N and ...", "page N and ...",
// "trigger N and ..." or "element N and ..." (the jump after it goes to the end); True when
// there is none. A run can then refuse the row without running its steps.
constexpr ConditionStep gateOf(const ConditionStep* steps, int count)
{
    bool simple = count > 0 && ((steps[0].op == Answered && steps[0].id == steps[0].a) || steps[0].op == OnPage ||
                                steps[0].op == ForTrigger || steps[0].op == ForElement);
    if (simple && (count == 1 || (steps[1].op == JumpIfFalse && steps[1].a == count)))
        return steps[0];
    return ConditionStep{True, Less, 0, 0, 0};
}

} // namespace conditionReading

// A table row's condition: its text (for checks over the tables and messages) and its steps,
// both made by the compiler and held in constant data. Only _when makes one, so a row written
// as a bare text does not compile.
struct Condition {
    const char* text;
    const ConditionStep* steps;
    std::uint8_t stepCount;
    ConditionStep gate;   // conditionReading::gateOf the steps

private:
    constexpr Condition(const char* rowText, const ConditionStep* rowSteps, std::uint8_t count)
        : text(rowText), steps(rowSteps), stepCount(count), gate(conditionReading::gateOf(rowSteps, count))
    {
    }
    template <conditionReading::RowText T> friend consteval Condition operator""_when();
};

// "2075 and not 2069"_when. A text that does not read stops the build.
template <conditionReading::RowText T>
consteval Condition operator""_when()
{
    static_assert(conditionReading::stepCountOf(T.text) > 0, "a rule table's condition does not read");
    return Condition(T.text, conditionReading::rowSteps<T>.step, std::uint8_t(conditionReading::stepCountOf(T.text)));
}

ConditionResult evaluateCondition(const Condition& condition, const RuleContext& context);
// Most rows of a run do not hold, and most of those fail on their first test.
inline bool passesGate(const ConditionStep& gate, const RuleContext& context)
{
    using namespace conditionReading;
    switch (gate.op) {
    case Answered: return mayBeAnswered(context.answered, std::uint32_t(gate.id));
    case OnPage: return context.page == gate.id;
    case ForTrigger: return context.trigger == gate.id;
    case ForElement: return context.element == gate.id;
    default: return true;
    }
}

inline bool conditionHolds(const Condition& condition, const RuleContext& context)
{
    return passesGate(condition.gate, context) && evaluateCondition(condition, context) == ConditionTrue;
}
// The clinical rules and the dose conversion: the answers alone.
bool conditionHolds(const Condition& condition, const Answer* answers);

// A condition given as text is read afresh at each call (tests, checks over the tables); a
// malformed one never holds.
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
