// The ids of the main window's results titles and pages without Next, and of the reports'
// summary owners and side-effect headings, row for row as the screens and reports test them.
#include "questionnaire/shellids.h"

namespace {

const ShellId ids[] = {
    // results title "Recommend: <drug>", the first answered of these
    {13923, ShellTitleDrug}, {13922, ShellTitleDrug}, {2081, ShellTitleDrug}, {2083, ShellTitleDrug},
    {13087, ShellTitleDrug}, {13088, ShellTitleDrug}, {13089, ShellTitleDrug}, {2082, ShellTitleDrug},
    // pages shown without Next
    {11030, ShellPageWithoutNext}, {11070, ShellPageWithoutNext}, {11442, ShellPageWithoutNext},
    {12813, ShellPageWithoutNext}, {13924, ShellPageWithoutNext},
    // prescription summary: Drug, Route, Pain score, Sedation score, Mitigating factors, Allergies
    {15817, ShellSummaryOwner}, {2071, ShellSummaryOwner}, {2061, ShellSummaryOwner}, {2065, ShellSummaryOwner},
    {10269, ShellSummaryOwner}, {16157, ShellSummaryOwner}, {16137, ShellSummaryOwner}, {16138, ShellSummaryOwner},
    {13074, ShellSummaryOwner},
    // side-effect recommendation headings
    {11226, ShellSideEffect}, {11225, ShellSideEffect}, {11224, ShellSideEffect}, {11223, ShellSideEffect},
    {13973, ShellSideEffect},
};

} // namespace

const ShellId* shellIds(int* count)
{
    *count = int(sizeof ids / sizeof ids[0]);
    return ids;
}
