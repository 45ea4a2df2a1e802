// The parts of the prescription rule set that live in separate files: the PCA pump rows have
// their own row shape (five cells composed into five entries), and the whole set is walked as
// one decision list over the safety stops, PCA rows, oral orders and intravenous orders.
#pragma once
#include <cstdint>

#include "rules/ruleset.h"

// How a PCA row's wording departs from the five-entry template.
enum PcaWording : std::uint8_t {
    AsTemplate = 0,
    LoadingBlank = 1,   // the loading-dose entry ends with one blank
    LoadingWide = 2,    // two blanks after "Loading Dose:"
    DemandShort = 4,    // "Demand Dose: " without "(PCA Dose)"
};

struct PcaRow {
    Condition condition;
    std::uint16_t id;
    const char* loading;
    const char* demand;
    const char* basal;
    const char* lockout;   // minutes
    const char* limit;
    std::uint8_t wording;
};

constexpr int pcaEntryCount = 5;
constexpr int pcaEntrySize = 96;

int pcaRowCount();
const PcaRow& pcaRow(int index);
// The which-th (0..4) entry text of the row, cut to fit size bytes.
void pcaEntryText(const PcaRow& row, int which, char* out, int size);
// The first PCA row that holds fires; true when one did.
bool runPcaRows(AnswerList* cited, const RuleContext& context, TextList* output);

extern const RuleTable safetyStopTable;
extern const RuleTable oralOrderTable;
extern const RuleTable intravenousOrderTable;
