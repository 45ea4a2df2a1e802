// Non-opioid orders, caveats, monitoring and rationale by clinical situation: which rules fire,
// in which order, and the stored texts that are easy to get wrong.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness.h"
#include "rules/rules.h"

namespace {

typedef std::vector<std::uint32_t> Ids;

struct SetCase {
    const char* name;
    RuleSetFunction* rules;
    std::vector<std::uint32_t> chosen;
    Ids expected;
};

const SetCase setCases[] = {
    // non-opioid orders
    {"non-opioids need the oral route", nonOpioidRules, {prescription, pca, acetaminophen, nsaid}, {}},
    {"no acetaminophen beside oxycodone with acetaminophen", nonOpioidRules, {prescription, oral, acetaminophen, oxycodone}, {}},
    {"no acetaminophen beside hydrocodone with acetaminophen", nonOpioidRules, {prescription, oral, acetaminophen, hydrocodoneApap, elderly}, {}},
    {"acetaminophen and NSAID, elderly: lower doses, acetaminophen first", nonOpioidRules, {prescription, oral, acetaminophen, nsaid, elderly}, {2755, 2757}},
    {"acetaminophen, not elderly", nonOpioidRules, {prescription, oral, acetaminophen}, {2756}},
    {"NSAID regardless of the opioid", nonOpioidRules, {prescription, oral, nsaid, oxycodone}, {2758}},
    // caveats
    {"oral oxycodone, mild pain, no factors", caveatRules, {prescription, oral, oxycodone, mild}, {3449, 3457, 3460}},
    {"NSAID only", caveatRules, {prescription, oral, nsaid}, {2760}},
    {"NSAID only, moderate pain", caveatRules, {prescription, oral, nsaid, moderate}, {2760, 3436}},
    {"prescription module alone", caveatRules, {prescription}, {2852, 3457}},
    {"asthma suppresses the advice to add acetaminophen and NSAIDs", caveatRules, {prescription, asthma}, {2640, 3457}},
    {"morphine PCA, sleep apnea", caveatRules, {prescription, pca, morphine, moderate, sleepApnea}, {2852, 2641, 2634, 2643, 2878, 3457}},
    {"fentanyl PCA, morbid obesity, sedation 3", caveatRules, {prescription, pca, fentanyl, moderate, obesity, sedation3}, {2852, 2641, 2635, 2644, 2878, 3456, 3457}},
    {"intravenous morphine, severe pain, heart failure", caveatRules, {prescription, iv, morphine, severe, heartFailure}, {2638, 2642, 2643, 2794, 3436, 3437, 3457}},
    {"breastfeeding", caveatRules, {prescription, breastfeeding}, {2852, 2639, 3457}},
    {"oral NSAID with liver failure", caveatRules, {prescription, oral, nsaid, liverFailure}, {2641, 2760, 2850}},
    {"acetaminophen with elderly: opioid caveats left out", caveatRules, {prescription, oral, acetaminophen, elderly}, {2641, 2773}},
    // monitoring
    {"sleep apnea, morphine PCA: rules 1 to 4 once each, then interval and PCA checks", monitoringRules,
     {prescription, pca, morphine, moderate, sleepApnea}, {2649, 2647, 2650, 2648, 2645, 2646, 3440}},
    {"oral oxycodone, mild pain", monitoringRules, {prescription, oral, oxycodone, mild}, {2645, 3440}},
    {"sedation 3 gives the 30-minute interval instead", monitoringRules, {prescription, oral, oxycodone, sedation3}, {3439, 3440}},
    {"NSAID only", monitoringRules, {prescription, oral, nsaid}, {2774}},
    {"acetaminophen, elderly", monitoringRules, {prescription, oral, acetaminophen, elderly}, {2775}},
    {"breastfeeding", monitoringRules, {prescription, breastfeeding}, {2645, 2651, 3440}},
    // rationale
    {"oral oxycodone, mild pain", rationaleRules, {prescription, oral, oxycodone, mild}, {2849}},
    {"NSAID only", rationaleRules, {prescription, oral, nsaid}, {3448}},
    {"oral acetaminophen", rationaleRules, {prescription, oral, acetaminophen}, {3464}},
    {"intravenous route", rationaleRules, {prescription, iv, morphine}, {2853}},
    {"fentanyl PCA: basal-rate statement", rationaleRules, {prescription, pca, fentanyl}, {3392, 3458}},
    {"prescription module alone", rationaleRules, {prescription}, {}},
};

TEST(ReportSections, EachSituationFiresItsRulesInTableOrder)
{
    for (const SetCase& c : setCases) {
        SCOPED_TRACE(c.name);
        Patient patient(c.chosen);
        EXPECT_EQ(runSet(c.rules, patient).ids, c.expected);
    }
}

TEST(ReportSections, AcetaminophenAndNsaidElderlyGiveTwoEntriesInOrder)
{
    Patient patient({prescription, oral, acetaminophen, nsaid, elderly});
    SetResult result = runSet(nonOpioidRules, patient);
    ASSERT_EQ(result.entries.size(), 2u);
    EXPECT_EQ(result.entries[0], TextAndMarker("Acetaminophen 400 milligrams PO every 6 hours.", ""));
    EXPECT_EQ(result.entries[1].first.rfind("Choose ONE of the following:<ul><li>Ibuprofen 400 milligrams PO every 6 hours</li>", 0), 0u);
}

static int countOf(const std::string& text, const std::string& piece)
{
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

TEST(ReportSections, NsaidNotElderlyIsTheFiveChoiceListWithItsMarkupKept)
{
    Patient patient({prescription, oral, nsaid});
    SetResult result = runSet(nonOpioidRules, patient);
    ASSERT_EQ(result.entries.size(), 1u);
    const std::string& text = result.entries[0].first;
    EXPECT_EQ(countOf(text, "<li>"), 5);
    EXPECT_EQ(countOf(text, "</li>"), 5);
    EXPECT_EQ(text.rfind("Choose ONE of the following:<ul>", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 5), "</ul>");
}

TEST(ReportSections, AcetaminophenNotElderlyKeepsTheStoredSpelling)
{
    Patient patient({prescription, oral, acetaminophen});
    SetResult result = runSet(nonOpioidRules, patient);
    ASSERT_EQ(result.entries.size(), 1u);
    EXPECT_EQ(result.entries[0].first, "Acetaminophen 1000 millligrams PO every 6 hours.");
}

TEST(ReportSections, NsaidOnlyCaveatHasItsFourEntriesAndTheContraindicationLists)
{
    Patient patient({prescription, oral, nsaid});
    std::vector<TextAndMarker> entries = runSet(caveatRules, patient).entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].first.rfind("Merck and Co., Inc. has voluntarily withdrawn rofecoxib from the market", 0), 0u);
    EXPECT_EQ(entries[1].first, "NSAIDS in general should not be substituted for aspirin for cardiovascular prophylaxis.");
    EXPECT_EQ(countOf(entries[3].first, "<ul>"), 2);
    EXPECT_EQ(countOf(entries[3].first, "<li>"), 8);
    for (const TextAndMarker& e : entries)
        EXPECT_EQ(e.second, "");
}

TEST(ReportSections, LiverFailureNsaidCaveatKeepsItsByteOfValueFive)
{
    Patient patient({prescription, oral, nsaid, liverFailure});
    std::vector<std::string> texts;
    for (const TextAndMarker& e : runSet(caveatRules, patient).entries)
        texts.push_back(e.first);
    const std::string expected = std::string("Administration of NSAIDs to patients with liver failure (e.g. severe hepatic "
                                             "insufficiency, cirrhosis") + '\x05' +
                                 ") is CONTRAINDICATED.  Consider consult with a pain management specialist.";
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end());
}

TEST(ReportSections, BreastfeedingCaveatCitesItsSourceInParentheses)
{
    Patient patient({prescription, breastfeeding});
    std::vector<TextAndMarker> entries = runSet(caveatRules, patient).entries;
    ASSERT_GE(entries.size(), 4u);
    const std::string& b1 = entries[2].first;   // after 2852's entry and the timing advice
    EXPECT_EQ(b1.rfind("Historically, opioids are considered relatively safe for use in breastfeeding, however, all "
                       "opioids will decrease lactation", 0), 0u);
    EXPECT_EQ(b1.substr(b1.size() - 2), ").");
    EXPECT_NE(b1.find(" (American Academy of Pediatrics Committee on Drugs."), std::string::npos);
}

TEST(ReportSections, HydromorphoneCaveatByRoute)
{
    struct Case {
        const char* name;
        std::vector<std::uint32_t> chosen;
        bool fires;
    } cases[] = {
        {"PCA, renal insufficiency", {prescription, pca, hydromorphone, renal}, true},
        {"intravenous, renal insufficiency", {prescription, iv, hydromorphone, renal}, true},
        {"oral, renal insufficiency", {prescription, oral, hydromorphone, renal}, true},
        {"oral, heart failure", {prescription, oral, hydromorphone, heartFailure}, true},
        {"oral, asthma", {prescription, oral, hydromorphone, asthma}, true},
        {"intravenous, heart failure", {prescription, iv, hydromorphone, heartFailure}, false},
        {"PCA, asthma", {prescription, pca, hydromorphone, asthma}, false},
        {"oral morphine, renal insufficiency", {prescription, oral, 13089, renal}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Patient patient(c.chosen);
        Ids ids = runSet(caveatRules, patient).ids;
        EXPECT_EQ(std::count(ids.begin(), ids.end(), 3428u), c.fires ? 1 : 0);
    }
}

TEST(ReportSections, EveryPcaReportCarriesExactlyOneBasalRateStatement)
{
    for (std::uint32_t drug : {morphine, hydromorphone, fentanyl})
        for (std::uint32_t factor : {0u, std::uint32_t(sleepApnea), std::uint32_t(obesity), std::uint32_t(renal)}) {
            SCOPED_TRACE(testing::Message() << "drug " << drug << " factor " << factor);
            Patient patient({prescription, pca, drug});
            if (factor)
                patient.choose({factor});
            Ids ids = runSet(rationaleRules, patient).ids;
            int basal = int(std::count(ids.begin(), ids.end(), 3458u));
            int noBasal = int(std::count(ids.begin(), ids.end(), 3466u));
            EXPECT_EQ(basal + noBasal, 1);
            EXPECT_EQ(basal, drug == fentanyl && factor != sleepApnea && factor != obesity ? 1 : 0);
        }
}

TEST(ReportSections, OralOxycodoneRationaleHasItsSevenEntries)
{
    Patient patient({prescription, oral, oxycodone, mild});
    std::vector<TextAndMarker> entries = runSet(rationaleRules, patient).entries;
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].first, "CNS depressants will limit the opioid dose and effective pain management and may lead to sedation and hypoxia.");
    EXPECT_EQ(entries[6].first, "There is no correlation between body weight and opioid dose, and only a weak relationship between opioid dose and age. ");
}

TEST(ReportSections, EachRouteRationaleBringsItsOwnCopyOfTheCnsSentence)
{
    Patient patient({prescription, oral, iv, pca});
    SetResult result = runSet(rationaleRules, patient);
    EXPECT_EQ(result.ids, (Ids{2849, 2853, 3392, 3466}));
    int copies = 0;
    for (const TextAndMarker& e : result.entries)
        copies += e.first == "CNS depressants will limit the opioid dose and effective pain management and may lead to sedation and hypoxia.";
    EXPECT_EQ(copies, 3);
}

}  // namespace
