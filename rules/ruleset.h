// The shape shared by every clinical rule set: a rule is a condition, the reference id it records
// in the cited references when it fires, and the entries it then appends to the set's output
// list. A set is walked either as a sequence (every rule that holds fires) or as a decision list
// (the first rule that holds fires, then the set ends).
#pragma once
#include <cstdint>
#include <initializer_list>

#include "questionnaire/answers.h"
#include "questionnaire/textlist.h"
#include "questionnaire/ruleconditions.h"

// One output entry: its text and its marker ("", "NOTE", "HOLD", "Logic", "LIST", "ENDLIST").
struct RuleEntry {
    const char* text;
    const char* marker = "";
};

// The list markers of nested outlines: an empty text that opens or closes one level.
constexpr RuleEntry openList = {"", "LIST"};
constexpr RuleEntry closeList = {"", "ENDLIST"};

struct ClinicalRule {
    Condition condition;
    std::uint16_t id;                       // reference id
    std::initializer_list<RuleEntry> entries;   // appended in this order
};

// A rule table as its rows and their number, for the evaluators and for checks over the tables.
struct RuleTable {
    const char* name;
    const ClinicalRule* rules;
    int count;
};

template <int N>
constexpr RuleTable ruleTable(const char* name, const ClinicalRule (&rules)[N])
{
    return RuleTable{name, rules, N};
}

// Records id in the cited references: find-or-append on (id, 0, 0, 0), so each id appears once,
// in the order of first firing. Without memory the id is lost and the run goes on.
void recordReference(AnswerList* cited, std::uint16_t id);
// Appends the entries in order, each with the three integer fields 0.
void appendEntries(TextList* output, const RuleEntry* entries, int count);
void fireRule(const ClinicalRule& rule, AnswerList* cited, TextList* output);

void runSequence(const RuleTable& table, AnswerList* cited, const RuleContext& context, TextList* output);
// True when a rule fired.
bool runDecisionList(const RuleTable& table, AnswerList* cited, const RuleContext& context, TextList* output);
