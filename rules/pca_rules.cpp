// PCA pump settings (route 2072): one row per drug, pain band and factor set, tried in order.
// Each row's five cells become five entries: loading dose, demand dose, basal rate, lock-out
// interval and hourly limit. The wording column names the rows whose stored texts depart from
// the template (a trailing blank, two blanks after the colon, a demand dose without "(PCA Dose)").
#include "rules/prescription.h"

// Mitigating factors that lower the PCA doses.
#define M "any of 2047, 2048, 2051, 2052, 14021, 2055, 10279"
// Fentanyl: sleep apnea or morbid obesity (no basal rate), and the other factors.
#define F1 "(2047 or 2048)"
#define F2 "any of 2051, 2052, 14021, 2055, 10279"

static constinit const PcaRow pcaRows[] = {
    // condition                                                    id    loading             demand              basal                       lock-out limit               wording
    // morphine 2081
    {"2072 and 2081 and 2062"_when,                                 2653, "1.5 milligrams",   "1 milligram",      "None",                      "8", "7 milligrams",      LoadingBlank},
    {"2072 and 2081 and 2063 and 2069 and "_when M,                 3416, "0.5 milligrams",   "0.25 milligrams",  "None",                      "8", "2 milligrams",      AsTemplate},
    {"2072 and 2081 and 2063 and 2069"_when,                        3422, "1 milligram",      "0.5 milligrams",   "None",                      "8", "4 milligrams",      AsTemplate},
    {"2072 and 2081 and 2063 and "_when M,                          2660, "1 milligram",      "0.5 milligrams",   "None",                      "8", "4 milligrams",      AsTemplate},
    {"2072 and 2081 and 2063"_when,                                 2661, "1.5 milligrams",   "1 milligram",      "None",                      "8", "8 milligrams",      AsTemplate},
    {"2072 and 2081 and 2064 and 2069 and "_when M,                 3417, "1 milligram",      "0.5 milligrams",   "None",                      "8", "4 milligrams",      AsTemplate},
    {"2072 and 2081 and 2064 and 2069"_when,                        3423, "1.5 milligrams",   "1 milligram",      "None",                      "8", "8 milligrams",      AsTemplate},
    {"2072 and 2081 and 2064 and "_when M,                          2662, "1.5 milligrams",   "1 milligram",      "None",                      "8", "8 milligrams",      AsTemplate},
    {"2072 and 2081 and 2064"_when,                                 2663, "2.5 milligrams",   "1.5 milligrams",   "0.5 milligrams per hour",   "8", "12.5 milligrams",   LoadingBlank | DemandShort},
    // hydromorphone 2082
    {"2072 and 2082 and 2062"_when,                                 2664, "0.3 milligrams",   "0.15 milligrams",  "None",                      "8", "1.05 milligrams",   AsTemplate},
    {"2072 and 2082 and 2063 and 2069 and "_when M,                 3418, "0.05 milligrams",  "0.03 milligrams",  "None",                      "8", "0.25 milligrams",   AsTemplate},
    {"2072 and 2082 and 2063 and 2069"_when,                        3424, "0.1 milligrams",   "0.05 milligrams",  "None",                      "8", "0.4 milligrams",    DemandShort},
    {"2072 and 2082 and 2063 and "_when M,                          2665, "0.1 milligrams",   "0.05 milligrams",  "None",                      "8", "0.4 milligrams",    LoadingBlank},
    {"2072 and 2082 and 2063"_when,                                 2666, "0.2 milligrams",   "0.1 milligrams",   "None",                      "8", "0.8 milligrams",    AsTemplate},
    {"2072 and 2082 and 2064 and 2069 and "_when M,                 3419, "0.1 milligrams",   "0.05 milligrams",  "None",                      "8", "0.4 milligrams",    AsTemplate},
    {"2072 and 2082 and 2064 and 2069"_when,                        3425, "0.2 milligrams",   "0.1 milligrams",   "None",                      "8", "0.8 milligrams",    AsTemplate},
    {"2072 and 2082 and 2064 and "_when M,                          2667, "0.2 milligrams",   "0.1 milligrams",   "None",                      "8", "0.8 milligrams",    LoadingBlank},
    {"2072 and 2082 and 2064"_when,                                 2668, "0.4 milligrams",   "0.2 milligrams",   "0.05 milligrams per hour",  "8", "1.7 milligrams",    LoadingBlank},
    // fentanyl 2083
    {"2072 and 2083 and 2062"_when,                                 2669, "15 micrograms",    "7.5 micrograms",   "None",                      "5", "90 micrograms",     LoadingBlank},
    {"2072 and 2083 and 2063 and 2069 and "_when F1,                3450, "3 micrograms",     "1.5 micrograms",   "None",                      "5", "19 micrograms",     AsTemplate},
    {"2072 and 2083 and 2063 and 2069 and "_when F2,                3420, "3 micrograms",     "1.5 micrograms",   "1 microgram per hour",      "5", "19 micrograms",     AsTemplate},
    {"2072 and 2083 and 2063 and 2069"_when,                        3426, "6 micrograms",     "3 micrograms",     "2 micrograms per hour",     "5", "38 micrograms",     AsTemplate},
    {"2072 and 2083 and 2063 and not 2069 and "_when F1,            3451, "6 micrograms",     "3 micrograms",     "None",                      "5", "38 micrograms",     LoadingBlank},
    {"2072 and 2083 and 2063 and "_when F2,                         2670, "6 micrograms",     "3 micrograms",     "2 micrograms per hour",     "5", "38 micrograms",     LoadingBlank},
    {"2072 and 2083 and 2063"_when,                                 2671, "12 micrograms",    "6 micrograms",     "3 micrograms per hour",     "5", "75 micrograms",     LoadingBlank},
    {"2072 and 2083 and 2064 and 2069 and "_when F2,                3421, "6 micrograms",     "3 micrograms",     "2 micrograms per hour",     "5", "38 micrograms",     LoadingWide},
    {"2072 and 2083 and 2064 and 2069 and "_when F1,                3452, "6 micrograms",     "3 micrograms",     "None",                      "5", "38 micrograms",     LoadingWide},
    {"2072 and 2083 and 2064 and 2069"_when,                        3427, "12 micrograms",    "6 micrograms",     "3 micrograms per hour",     "5", "75 micrograms",     AsTemplate},
    {"2072 and 2083 and 2064 and "_when F2,                         2672, "12 micrograms",    "6 micrograms",     "3 micrograms per hour",     "5", "75 micrograms",     LoadingBlank},
    {"2072 and 2083 and 2064 and not 2069 and "_when F1,            3453, "12 micrograms",    "6 micrograms",     "None",                      "5", "75 micrograms",     AsTemplate},
    {"2072 and 2083 and 2064"_when,                                 2673, "25 micrograms",    "10 micrograms",    "5 micrograms per hour",     "5", "125 micrograms",    LoadingBlank},
};
#undef M
#undef F1
#undef F2

int pcaRowCount() { return int(sizeof pcaRows / sizeof pcaRows[0]); }
const PcaRow& pcaRow(int index) { return pcaRows[index]; }

// Bounded concatenation of three pieces; what does not fit is cut.
static void joinText(char* out, int size, const char* a, const char* b, const char* c)
{
    const char* pieces[3] = {a, b, c};
    int at = 0;
    for (const char* piece : pieces)
        for (const char* p = piece; *p && at < size - 1; ++p)
            out[at++] = *p;
    out[at] = '\0';
}

void pcaEntryText(const PcaRow& row, int which, char* out, int size)
{
    switch (which) {
    case 0:
        joinText(out, size, (row.wording & LoadingWide) ? "Loading Dose:  " : "Loading Dose: ", row.loading,
                 (row.wording & LoadingBlank) ? " " : "");
        return;
    case 1:
        joinText(out, size, (row.wording & DemandShort) ? "Demand Dose: " : "Demand Dose (PCA Dose): ", row.demand, "");
        return;
    case 2:
        joinText(out, size, "Continuous Infusion Rate (Basal): ", row.basal, "");
        return;
    case 3:
        joinText(out, size, "Lock-out Interval: ", row.lockout, " minutes");
        return;
    default:
        joinText(out, size, "Hourly Limit: ", row.limit, "");
        return;
    }
}

bool runPcaRows(AnswerList* cited, const RuleContext& context, TextList* output)
{
    for (const PcaRow& row : pcaRows) {
        if (!conditionHolds(row.condition, context))
            continue;
        recordReference(cited, row.id);
        char text[pcaEntrySize];
        for (int which = 0; which < pcaEntryCount; ++which) {
            pcaEntryText(row, which, text, sizeof text);
            appendText(output, text, "");
        }
        return true;
    }
    return false;
}
