// The evaluator of rule conditions: a recursive-descent reader that evaluates as it reads, so a
// condition is never stored in any other form than the text of its table row.
// Malformed text (a typo in a table) makes the whole condition malformed, and it never holds.
#include "questionnaire/ruleconditions.h"

#include <cstring>

#include "dosecalc/plausibility.h"

namespace {

constexpr std::uint16_t ageElement = 1516;
constexpr std::uint16_t weightElement = 1547;
constexpr std::uint16_t ageInYearsElement = 2208;
constexpr std::uint16_t weightInPoundsElement = 2350;
constexpr std::uint16_t ageInDaysElement = 9152;

struct Reader {
    const char* at;
    const RuleContext* context;
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

bool peekNumber(Reader& r)
{
    skipBlanks(r);
    return *r.at >= '0' && *r.at <= '9';
}

std::int32_t number(Reader& r)
{
    if (!peekNumber(r)) {
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

bool answered(const Reader& r, std::int32_t id)
{
    return answerValue(r.context->answers, std::uint32_t(id)) != 0;
}

bool fired(const Reader& r, std::int32_t id)
{
    return r.context->firedRules && hasId(*r.context->firedRules, std::uint32_t(id));
}

// A list "N, N, ..." or a range "N to M"; counts how many members the test holds for.
int countInList(Reader& r, bool (*test)(const Reader&, std::int32_t))
{
    std::int32_t first = number(r);
    if (take(r, "to")) {
        std::int32_t last = number(r);
        int count = 0;
        for (std::int32_t id = first; id <= last && !r.bad; ++id)
            count += test(r, id) ? 1 : 0;
        return count;
    }
    int count = test(r, first) ? 1 : 0;
    while (take(r, ","))
        count += test(r, number(r)) ? 1 : 0;
    return count;
}

bool compare(Reader& r, std::int32_t left)
{
    if (take(r, "outside")) {
        std::int32_t low = number(r);
        expect(r, "to");
        std::int32_t high = number(r);
        return left < low || left > high;
    }
    // Two-character signs first, so "<=" is not read as "<".
    if (take(r, "<="))
        return left <= number(r);
    if (take(r, ">="))
        return left >= number(r);
    if (take(r, "<"))
        return left < number(r);
    if (take(r, ">"))
        return left > number(r);
    if (take(r, "="))
        return left == number(r);
    r.bad = true;
    return false;
}

std::int32_t parenthesisedNumber(Reader& r)
{
    expect(r, "(");
    std::int32_t n = number(r);
    expect(r, ")");
    return n;
}

bool plausibleFromAnswers(const RuleContext& c)
{
    return plausibleWeightForAge(std::uint16_t(answerValue(c.answers, weightElement)),
                                 std::uint16_t(answerValue(c.answers, ageElement)),
                                 answerValue(c.answers, ageInYearsElement) != 0,
                                 answerValue(c.answers, weightInPoundsElement) != 0,
                                 answerValue(c.answers, ageInDaysElement) != 0);
}

bool orExpression(Reader& r);

bool primary(Reader& r)
{
    const RuleContext& c = *r.context;
    if (take(r, "(")) {
        bool v = orExpression(r);
        expect(r, ")");
        return v;
    }
    if (take(r, "always"))
        return true;
    if (take(r, "page"))
        return c.page == number(r);
    if (take(r, "trigger"))
        return c.trigger == number(r);
    if (take(r, "element")) {
        if (take(r, "is")) {
            expect(r, "not");
            return c.element != number(r);
        }
        return c.element == number(r);
    }
    if (take(r, "any")) {
        expect(r, "of");
        return countInList(r, answered) > 0;
    }
    if (take(r, "none")) {
        expect(r, "of");
        return countInList(r, answered) == 0;
    }
    if (take(r, "fired")) {
        expect(r, "(");
        bool v = countInList(r, fired) > 0;
        expect(r, ")");
        return v;
    }
    if (take(r, "value"))
        return compare(r, answerValue(c.answers, std::uint32_t(parenthesisedNumber(r))));
    if (take(r, "countChosen"))
        return compare(r, countChosen(c.answers, std::uint32_t(parenthesisedNumber(r))));
    if (take(r, "plausibleWeightForAge"))
        return plausibleFromAnswers(c);
    return answered(r, number(r));
}

bool unary(Reader& r)
{
    if (take(r, "not"))
        return !unary(r);
    return primary(r);
}

bool andExpression(Reader& r)
{
    bool v = unary(r);
    while (!r.bad && take(r, "and"))
        v = unary(r) && v;   // both sides are always read, so a typo anywhere is caught
    return v;
}

bool orExpression(Reader& r)
{
    bool v = andExpression(r);
    while (!r.bad && take(r, "or"))
        v = andExpression(r) || v;
    return v;
}

} // namespace

ConditionResult evaluateCondition(const char* condition, const RuleContext& context)
{
    if (!condition)
        return ConditionMalformed;
    Reader r{condition, &context, false};
    bool v = orExpression(r);
    skipBlanks(r);
    if (r.bad || *r.at != '\0')
        return ConditionMalformed;
    return v ? ConditionTrue : ConditionFalse;
}

bool conditionHolds(const char* condition, const RuleContext& context)
{
    return evaluateCondition(condition, context) == ConditionTrue;
}
