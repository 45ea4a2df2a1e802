// Testing a rule condition against the answer store. Every test asks the store afresh and
// changes nothing, so the order of the tests does not matter.
#include "rules/conditions.h"

static bool chosen(const Answer* answers, std::uint16_t id) { return answerValue(answers, id) != 0; }

bool clauseHolds(const RuleClause& clause, const Answer* answers)
{
    switch (clause.kind) {
    case AllChosen:
        for (int i = 0; i < clause.idCount; ++i)
            if (!chosen(answers, clause.ids[i]))
                return false;
        return true;
    case NoneChosen:
        for (int i = 0; i < clause.idCount; ++i)
            if (chosen(answers, clause.ids[i]))
                return false;
        return true;
    case AnyChosen:
        for (int i = 0; i < clause.idCount; ++i)
            if (chosen(answers, clause.ids[i]))
                return true;
        return false;
    case CountAbove:
        return countChosen(answers, clause.ids[0]) > clause.limit;
    }
    return false;
}

static bool allHold(const RuleClause* clauses, int count, const Answer* answers)
{
    for (int i = 0; i < count; ++i)
        if (!clauseHolds(clauses[i], answers))
            return false;
    return true;
}

bool conditionHolds(const RuleCondition& condition, const Answer* answers)
{
    if (!allHold(condition.clauses, condition.clauseCount, answers))
        return false;
    if (condition.either.count == 0)
        return true;
    for (int i = 0; i < condition.either.count; ++i) {
        const RuleAlternative& alternative = condition.either.items[i];
        if (allHold(alternative.clauses, alternative.clauseCount, answers))
            return true;
    }
    return false;
}
