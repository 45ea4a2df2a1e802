// Conditions of the clinical rules, written as data: all of / none of / any of over element ids
// and counts of chosen answers under an owner. A condition holds when every one of its clauses
// holds and, when it has alternatives, at least one alternative (itself a set of clauses) holds.
// The builders are constexpr so that rule tables are constant data.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "questionnaire/answers.h"

enum ClauseKind : std::uint8_t {
    AllChosen,    // every id chosen
    NoneChosen,   // no id chosen
    AnyChosen,    // at least one id chosen
    CountAbove,   // more than limit chosen answers under the owner ids[0]
};

constexpr int clauseIdCapacity = 8;
constexpr int conditionClauseCapacity = 4;
constexpr int alternativeClauseCapacity = 2;
constexpr int alternativeCapacity = 3;

struct RuleClause {
    ClauseKind kind;
    std::uint8_t idCount;
    std::uint16_t ids[clauseIdCapacity];
    std::int16_t limit;   // CountAbove only
};

struct RuleAlternative {
    std::uint8_t clauseCount = 0;
    RuleClause clauses[alternativeClauseCapacity] = {};
    constexpr RuleAlternative() = default;
    constexpr RuleAlternative(RuleClause clause) : clauseCount(1), clauses{clause} {}
};

struct RuleAlternatives {
    std::uint8_t count = 0;
    RuleAlternative items[alternativeCapacity] = {};
};

struct RuleCondition {
    std::uint8_t clauseCount = 0;
    RuleClause clauses[conditionClauseCapacity] = {};
    RuleAlternatives either = {};
};

// A list too long for its capacity makes a constant table fail to compile.
static constexpr RuleClause idClause(ClauseKind kind, std::initializer_list<std::uint16_t> ids)
{
    RuleClause clause = {kind, 0, {}, 0};
    for (std::uint16_t id : ids)
        clause.ids[clause.idCount++] = id;
    return clause;
}

static constexpr RuleClause allOf(std::initializer_list<std::uint16_t> ids) { return idClause(AllChosen, ids); }
static constexpr RuleClause noneOf(std::initializer_list<std::uint16_t> ids) { return idClause(NoneChosen, ids); }
static constexpr RuleClause anyOf(std::initializer_list<std::uint16_t> ids) { return idClause(AnyChosen, ids); }
// count(owner) > limit, compared as signed integers.
static constexpr RuleClause countAbove(std::uint16_t owner, std::int16_t limit)
{
    RuleClause clause = idClause(CountAbove, {owner});
    clause.limit = limit;
    return clause;
}

// Several clauses that must hold together, as one alternative of either().
template <typename... Clauses>
static constexpr RuleAlternative both(Clauses... clauses)
{
    RuleAlternative alternative;
    ((alternative.clauses[alternative.clauseCount++] = clauses), ...);
    return alternative;
}

// At least one of the alternatives holds.
template <typename... Items>
static constexpr RuleAlternatives either(Items... items)
{
    RuleAlternatives alternatives;
    ((alternatives.items[alternatives.count++] = RuleAlternative(items)), ...);
    return alternatives;
}

static constexpr void addPart(RuleCondition& condition, RuleClause clause) { condition.clauses[condition.clauseCount++] = clause; }
static constexpr void addPart(RuleCondition& condition, RuleAlternatives alternatives) { condition.either = alternatives; }

// The condition made of the given clauses and at most one either().
template <typename... Parts>
static constexpr RuleCondition when(Parts... parts)
{
    RuleCondition condition;
    (addPart(condition, parts), ...);
    return condition;
}

bool clauseHolds(const RuleClause& clause, const Answer* answers);
bool conditionHolds(const RuleCondition& condition, const Answer* answers);
