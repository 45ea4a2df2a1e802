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

struct Clause {
    ClauseKind kind;
    std::uint8_t idCount;
    std::uint16_t ids[clauseIdCapacity];
    std::int16_t limit;   // CountAbove only
};

struct Alternative {
    std::uint8_t clauseCount = 0;
    Clause clauses[alternativeClauseCapacity] = {};
    constexpr Alternative() = default;
    constexpr Alternative(Clause clause) : clauseCount(1), clauses{clause} {}
};

struct Alternatives {
    std::uint8_t count = 0;
    Alternative items[alternativeCapacity] = {};
};

struct Condition {
    std::uint8_t clauseCount = 0;
    Clause clauses[conditionClauseCapacity] = {};
    Alternatives either = {};
};

// A list too long for its capacity makes a constant table fail to compile.
constexpr Clause idClause(ClauseKind kind, std::initializer_list<std::uint16_t> ids)
{
    Clause clause = {kind, 0, {}, 0};
    for (std::uint16_t id : ids)
        clause.ids[clause.idCount++] = id;
    return clause;
}

constexpr Clause allOf(std::initializer_list<std::uint16_t> ids) { return idClause(AllChosen, ids); }
constexpr Clause noneOf(std::initializer_list<std::uint16_t> ids) { return idClause(NoneChosen, ids); }
constexpr Clause anyOf(std::initializer_list<std::uint16_t> ids) { return idClause(AnyChosen, ids); }
// count(owner) > limit, compared as signed integers.
constexpr Clause countAbove(std::uint16_t owner, std::int16_t limit)
{
    Clause clause = idClause(CountAbove, {owner});
    clause.limit = limit;
    return clause;
}

// Several clauses that must hold together, as one alternative of either().
template <typename... Clauses>
constexpr Alternative both(Clauses... clauses)
{
    Alternative alternative;
    ((alternative.clauses[alternative.clauseCount++] = clauses), ...);
    return alternative;
}

// At least one of the alternatives holds.
template <typename... Items>
constexpr Alternatives either(Items... items)
{
    Alternatives alternatives;
    ((alternatives.items[alternatives.count++] = Alternative(items)), ...);
    return alternatives;
}

constexpr void addPart(Condition& condition, Clause clause) { condition.clauses[condition.clauseCount++] = clause; }
constexpr void addPart(Condition& condition, Alternatives alternatives) { condition.either = alternatives; }

// The condition made of the given clauses and at most one either().
template <typename... Parts>
constexpr Condition when(Parts... parts)
{
    Condition condition;
    (addPart(condition, parts), ...);
    return condition;
}

bool clauseHolds(const Clause& clause, const Answer* answers);
bool conditionHolds(const Condition& condition, const Answer* answers);
