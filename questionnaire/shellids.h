// The element ids that the main window and the reports test, as one table for the checks over
// the display database (dbtool check). The screens and reports keep their own tables; this one
// lists what they test, until those tables can be read where they live.
#pragma once
#include <cstdint>

enum ShellIdUse : std::uint8_t {
    ShellTitleDrug,        // answered: names the drug in the results title
    ShellPageWithoutNext,  // a PAGE shown with Back only (the pages that page links open)
    ShellSummaryOwner,     // owner of chosen answers listed in the prescription summary
    ShellSideEffect,       // answered: names the side-effect recommendation
};

struct ShellId {
    std::uint16_t id;
    ShellIdUse use;
};

const ShellId* shellIds(int* count);
