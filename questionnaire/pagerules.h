// The page rules as tables: display-state rules (which elements a page shows or hides) and
// next-page rules (which page Next leads to). Exposed so that tests can check the tables'
// properties; the page flow walks them through evaluatePage and findNextPage.
#pragma once
#include <cstdint>

#include "questionnaire/ruleconditions.h"

// Show and hide lists end at the first 0.
struct DisplayRule {
    std::uint16_t rule;
    Condition condition;
    std::uint16_t show[4];
    std::uint16_t hide[5];
};

struct NextPageRule {
    std::uint16_t page;   // the rule applies only while this page is current
    Condition condition;
    std::uint16_t rule;
    std::uint16_t next;
};

// The display rules run while the root is answered, then those run always; the same for the
// next-page rules, the second table being tried only when the first gave no page.
const DisplayRule* displayRulesWithRoot(int* count);
const DisplayRule* displayRulesAlways(int* count);
const NextPageRule* nextPageRulesWithRoot(int* count);
const NextPageRule* nextPageRulesAlways(int* count);
