// The two evaluators of rule tables: a sequence fires every rule that holds, a decision list
// only the first. Firing records the rule's reference id before its entries are appended.
#include "rules/ruleset.h"

void recordReference(AnswerList* cited, std::uint16_t id)
{
    if (cited)
        findOrAddNode(cited, id, 0, 0, 0);
}

void appendEntries(TextList* output, const RuleEntry* entries, int count)
{
    // appendText walks to the end from the link it is given: handing it the link of the entry
    // just added keeps a long step list from being walked again for every entry.
    TextList* end = output;
    for (int i = 0; i < count; ++i)
        if (TextEntry* added = appendText(end, entries[i].text, entries[i].marker))
            end = &added->next;
}

void fireRule(const ClinicalRule& rule, AnswerList* cited, TextList* output)
{
    recordReference(cited, rule.id);
    appendEntries(output, rule.entries.begin(), int(rule.entries.size()));
}

void runSequence(const RuleTable& table, AnswerList* cited, const RuleContext& context, TextList* output)
{
    for (int i = 0; i < table.count; ++i)
        if (conditionHolds(table.rules[i].condition, context))
            fireRule(table.rules[i], cited, output);
}

bool runDecisionList(const RuleTable& table, AnswerList* cited, const RuleContext& context, TextList* output)
{
    for (int i = 0; i < table.count; ++i) {
        if (conditionHolds(table.rules[i].condition, context)) {
            fireRule(table.rules[i], cited, output);
            return true;
        }
    }
    return false;
}
