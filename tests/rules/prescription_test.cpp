// The opioid prescription by clinical situation: which single order fires (or none), and the
// exact entries of the orders whose wording is easy to get wrong.
#include <gtest/gtest.h>

#include "harness.h"
#include "rules/rules.h"

namespace {

struct OrderCase {
    const char* name;
    std::vector<std::uint32_t> chosen;
    std::vector<std::uint32_t> factors;   // counted under the factor question
    std::uint32_t expectedId;                       // 0: nothing fires
};

const OrderCase orderCases[] = {
    {"hold: sedation score at which opioids are held, PCA", {prescription, holdSedation, pca, morphine, moderate}, {}, 3384},
    {"hold: with the intravenous route", {prescription, holdSedation, iv, hydromorphone, severe}, {}, 3384},
    {"hold: with the oral route", {prescription, holdSedation, oral, oxycodone, mild}, {}, 3384},
    {"hold: no route chosen", {prescription, holdSedation}, {}, 3384},
    {"hold comes before the referral", {prescription, holdSedation, sedation3}, {renal, sleepApnea, obesity}, 3384},
    {"referral: sedation 3, two factors and elderly, PCA", {prescription, sedation3, elderly, pca, morphine, moderate}, {renal, sleepApnea}, 3454},
    {"referral: sedation 3, two factors and elderly, oral", {prescription, sedation3, elderly, oral, oxycodone}, {renal, sleepApnea}, 3454},
    {"referral: sedation 3, two factors and elderly, no route", {prescription, sedation3, elderly}, {renal, sleepApnea}, 3454},
    {"referral: sedation 3 and three factors", {prescription, sedation3, iv, morphine, mild}, {renal, sleepApnea, asthma}, 3454},
    {"no referral: sedation 3, two factors, not elderly: morphine PCA moderate", {prescription, sedation3, pca, morphine, moderate, renal}, {renal, sleepApnea}, 3416},
    {"no referral: sedation 3, one factor and elderly", {prescription, sedation3, elderly, pca, morphine, moderate}, {renal}, 3416},
    {"morphine PCA, mild pain", {prescription, pca, morphine, mild}, {}, 2653},
    {"morphine PCA, mild pain, sedation 3 changes nothing", {prescription, pca, morphine, mild, sedation3}, {}, 2653},
    {"morphine PCA, moderate pain, sedation 3", {prescription, pca, morphine, moderate, sedation3}, {}, 3422},
    {"morphine PCA, moderate pain, heart failure", {prescription, pca, morphine, moderate, heartFailure}, {}, 2660},
    {"morphine PCA, moderate pain", {prescription, pca, morphine, moderate}, {}, 2661},
    {"morphine PCA, severe pain, sedation 3, obesity", {prescription, pca, morphine, severe, sedation3, obesity}, {}, 3417},
    {"morphine PCA, severe pain, elderly and breastfeeding do not lower doses", {prescription, pca, morphine, severe, elderly, breastfeeding}, {}, 2663},
    {"hydromorphone PCA, mild pain", {prescription, pca, hydromorphone, mild}, {}, 2664},
    {"hydromorphone PCA, moderate pain, sedation 3, asthma", {prescription, pca, hydromorphone, moderate, sedation3, asthma}, {}, 3418},
    {"hydromorphone PCA, moderate pain, sedation 3", {prescription, pca, hydromorphone, moderate, sedation3}, {}, 3424},
    {"hydromorphone PCA, severe pain, acetaminophen-excluding condition", {prescription, pca, hydromorphone, severe, excludesApap}, {}, 2667},
    {"hydromorphone PCA, severe pain, no factor", {prescription, pca, hydromorphone, severe}, {}, 2668},
    {"fentanyl PCA, mild pain", {prescription, pca, fentanyl, mild}, {}, 2669},
    {"fentanyl PCA, sleep apnea and renal, moderate pain, sedation 3", {prescription, pca, fentanyl, moderate, sedation3, sleepApnea, renal}, {}, 3450},
    {"fentanyl PCA, renal, moderate pain, sedation 3", {prescription, pca, fentanyl, moderate, sedation3, renal}, {}, 3420},
    {"fentanyl PCA, moderate pain, sedation 3", {prescription, pca, fentanyl, moderate, sedation3}, {}, 3426},
    {"fentanyl PCA, sleep apnea and renal, moderate pain", {prescription, pca, fentanyl, moderate, sleepApnea, renal}, {}, 3451},
    {"fentanyl PCA, liver failure, moderate pain", {prescription, pca, fentanyl, moderate, liverFailure}, {}, 2670},
    {"fentanyl PCA, moderate pain", {prescription, pca, fentanyl, moderate}, {}, 2671},
    {"fentanyl PCA, sleep apnea and renal, severe pain, sedation 3", {prescription, pca, fentanyl, severe, sedation3, sleepApnea, renal}, {}, 3421},
    {"fentanyl PCA, obesity, severe pain, sedation 3", {prescription, pca, fentanyl, severe, sedation3, obesity}, {}, 3452},
    {"fentanyl PCA, severe pain, sedation 3", {prescription, pca, fentanyl, severe, sedation3}, {}, 3427},
    {"fentanyl PCA, sleep apnea and renal, severe pain", {prescription, pca, fentanyl, severe, sleepApnea, renal}, {}, 2672},
    {"fentanyl PCA, sleep apnea, severe pain", {prescription, pca, fentanyl, severe, sleepApnea}, {}, 3453},
    {"fentanyl PCA, severe pain", {prescription, pca, fentanyl, severe}, {}, 2673},
    {"oral oxycodone, mild pain, liver failure", {prescription, oral, oxycodone, mild, liverFailure}, {}, 2762},
    {"oral oxycodone, mild pain, acetaminophen-excluding condition", {prescription, oral, oxycodone, mild, excludesApap}, {}, 2762},
    {"oral oxycodone, mild pain", {prescription, oral, oxycodone, mild}, {}, 2686},
    {"oral hydrocodone, mild pain, liver failure", {prescription, oral, hydrocodoneApap, mild, liverFailure}, {}, 3445},
    {"oral hydrocodone, moderate pain", {prescription, oral, hydrocodoneApap, moderate}, {}, 2691},
    {"oral hydrocodone, severe pain: no order", {prescription, oral, hydrocodoneApap, severe}, {}, 0},
    {"oral hydromorphone, moderate pain", {prescription, oral, hydromorphone, moderate}, {}, 2692},
    {"oral morphine, severe pain", {prescription, oral, oralMorphine, severe}, {}, 3441},
    {"oral oxycodone, severe pain, elderly", {prescription, oral, oxycodone, severe, elderly}, {}, 3461},
    {"oral oxycodone, severe pain", {prescription, oral, oxycodone, severe}, {}, 3443},
    {"oral oxycodone, sedation 3, liver failure, no pain score", {prescription, oral, oxycodone, sedation3, liverFailure}, {}, 2764},
    {"oral oxycodone, sedation 3", {prescription, oral, oxycodone, sedation3, severe}, {}, 2694},
    {"oral hydrocodone, sedation 3", {prescription, oral, hydrocodoneApap, sedation3}, {}, 2695},
    {"oral morphine, sedation 3", {prescription, oral, oralMorphine, sedation3}, {}, 2697},
    {"intravenous hydromorphone, mild pain", {prescription, iv, hydromorphone, mild}, {}, 2700},
    {"intravenous morphine, moderate pain", {prescription, iv, morphine, moderate}, {}, 2704},
    {"intravenous fentanyl, severe pain", {prescription, iv, fentanyl, severe}, {}, 2708},
    {"intravenous morphine, sedation 3", {prescription, iv, morphine, sedation3}, {}, 2710},
    {"intravenous fentanyl, sedation 3", {prescription, iv, fentanyl, sedation3}, {}, 2711},
    {"no route chosen", {prescription, morphine, moderate}, {}, 0},
    {"route without drug or pain score", {prescription, pca}, {}, 0},
    {"route without pain score", {prescription, iv, morphine}, {}, 0},
    {"oral route with an intravenous-only drug", {prescription, oral, fentanyl, moderate}, {}, 0},
    {"intravenous route with an oral product", {prescription, iv, oxycodone, moderate}, {}, 0},
};

TEST(Prescription, EachSituationFiresOneOrderOrNone)
{
    for (const OrderCase& c : orderCases) {
        SCOPED_TRACE(c.name);
        Patient patient(c.chosen);
        patient.factors(c.factors);
        SetResult result = runSet(prescriptionRules, patient);
        if (c.expectedId == 0) {
            EXPECT_TRUE(result.ids.empty());
            EXPECT_TRUE(result.entries.empty());
        } else {
            EXPECT_EQ(result.ids, std::vector<std::uint32_t>{c.expectedId});
            EXPECT_FALSE(result.entries.empty());
        }
    }
}

TEST(Prescription, HoldGivesTheSentenceThenTheHoldMarker)
{
    Patient patient({prescription, holdSedation, iv, morphine, moderate});
    SetResult result = runSet(prescriptionRules, patient);
    ASSERT_EQ(result.entries.size(), 2u);
    EXPECT_EQ(result.entries[0].second, "");
    EXPECT_EQ(result.entries[0].first.rfind("Recommend holding opioid administration until cause of sedation", 0), 0u);
    EXPECT_EQ(result.entries[1], TextAndMarker("HOLD", "HOLD"));
}

struct PcaCase {
    const char* name;
    std::vector<std::uint32_t> chosen;
    std::vector<std::string> entries;
};

const PcaCase pcaCases[] = {
    {"morphine mild: loading dose with its trailing blank", {pca, morphine, mild},
     {"Loading Dose: 1.5 milligrams ", "Demand Dose (PCA Dose): 1 milligram", "Continuous Infusion Rate (Basal): None",
      "Lock-out Interval: 8 minutes", "Hourly Limit: 7 milligrams"}},
    {"morphine severe: basal rate, demand dose without (PCA Dose)", {pca, morphine, severe},
     {"Loading Dose: 2.5 milligrams ", "Demand Dose: 1.5 milligrams", "Continuous Infusion Rate (Basal): 0.5 milligrams per hour",
      "Lock-out Interval: 8 minutes", "Hourly Limit: 12.5 milligrams"}},
    {"hydromorphone moderate, sedation 3: demand dose without (PCA Dose)", {pca, hydromorphone, moderate, sedation3},
     {"Loading Dose: 0.1 milligrams", "Demand Dose: 0.05 milligrams", "Continuous Infusion Rate (Basal): None",
      "Lock-out Interval: 8 minutes", "Hourly Limit: 0.4 milligrams"}},
    {"hydromorphone severe, no factor", {pca, hydromorphone, severe},
     {"Loading Dose: 0.4 milligrams ", "Demand Dose (PCA Dose): 0.2 milligrams",
      "Continuous Infusion Rate (Basal): 0.05 milligrams per hour", "Lock-out Interval: 8 minutes", "Hourly Limit: 1.7 milligrams"}},
    {"fentanyl sleep apnea and renal, moderate, sedation 3: no basal rate", {pca, fentanyl, moderate, sedation3, sleepApnea, renal},
     {"Loading Dose: 3 micrograms", "Demand Dose (PCA Dose): 1.5 micrograms", "Continuous Infusion Rate (Basal): None",
      "Lock-out Interval: 5 minutes", "Hourly Limit: 19 micrograms"}},
    {"fentanyl sleep apnea and renal, severe, sedation 3: basal rate, two blanks after the colon",
     {pca, fentanyl, severe, sedation3, sleepApnea, renal},
     {"Loading Dose:  6 micrograms", "Demand Dose (PCA Dose): 3 micrograms", "Continuous Infusion Rate (Basal): 2 micrograms per hour",
      "Lock-out Interval: 5 minutes", "Hourly Limit: 38 micrograms"}},
    {"fentanyl obesity, severe, sedation 3: two blanks after the colon", {pca, fentanyl, severe, sedation3, obesity},
     {"Loading Dose:  6 micrograms", "Demand Dose (PCA Dose): 3 micrograms", "Continuous Infusion Rate (Basal): None",
      "Lock-out Interval: 5 minutes", "Hourly Limit: 38 micrograms"}},
};

TEST(Prescription, PcaSettingsAreFiveOrdinaryEntriesWordedAsStored)
{
    for (const PcaCase& c : pcaCases) {
        SCOPED_TRACE(c.name);
        Patient patient(c.chosen);
        SetResult result = runSet(prescriptionRules, patient);
        std::vector<std::string> texts;
        for (const TextAndMarker& e : result.entries) {
            texts.push_back(e.first);
            EXPECT_EQ(e.second, "");
        }
        EXPECT_EQ(texts, c.entries);
    }
}

TEST(Prescription, OralOxycodoneMildPainCarriesTheAcetaminophenLimitAsANote)
{
    Patient patient({prescription, oral, oxycodone, mild});
    SetResult result = runSet(prescriptionRules, patient);
    std::vector<TextAndMarker> expected = {
        {"Oxycodone/Acetaminophen 5/325 milligrams 1 tab PO every 4 hours PRN pain.", ""},
        {"Do not exceed 4000 milligrams of acetaminophen in 24 hours.", "NOTE"},
        {"Discontinue all unnecessary CNS depressants.", ""},
    };
    EXPECT_EQ(result.entries, expected);
}

TEST(Prescription, OralOxycodoneMildPainWithLiverFailureIsPlainOxycodoneWithoutTheNote)
{
    Patient patient({prescription, oral, oxycodone, mild, liverFailure});
    SetResult result = runSet(prescriptionRules, patient);
    std::vector<TextAndMarker> expected = {
        {"Oxycodone 5 milligrams 1 tab PO every 4 hours PRN pain.  ", ""},
        {"Discontinue all unnecessary CNS depressants.", ""},
    };
    EXPECT_EQ(result.entries, expected);
}

TEST(Prescription, OralOxycodoneSedation3GivesTheLimitWithTwoTrailingBlanksAsAnOrdinaryEntry)
{
    Patient patient({prescription, oral, oxycodone, sedation3});
    SetResult result = runSet(prescriptionRules, patient);
    ASSERT_EQ(result.entries.size(), 3u);
    EXPECT_EQ(result.entries[1], TextAndMarker("Do not exceed 4000 milligrams of acetaminophen in 24 hours.  ", ""));
}

TEST(Prescription, IntravenousFentanylSedation3PutsDiscontinueBeforeTheDoseThenTheLogicEntry)
{
    Patient patient({prescription, iv, fentanyl, sedation3});
    SetResult result = runSet(prescriptionRules, patient);
    std::vector<TextAndMarker> expected = {
        {"Discontinue all unnecessary CNS depressants. ", ""},
        {"Fentanyl 5 - 10 micrograms IV every 1 hour PRN pain.  Add acetaminophen and NSAIDs for opioid sparing effects unless contraindicated.", ""},
        {"Concurrent administration of CNS depressants may lead to unacceptable sedation and hypoxia. ", "Logic"},
    };
    EXPECT_EQ(result.entries, expected);
}

TEST(Prescription, IntravenousMorphineSedation3PutsTheDoseFirst)
{
    Patient patient({prescription, iv, morphine, sedation3});
    SetResult result = runSet(prescriptionRules, patient);
    ASSERT_EQ(result.entries.size(), 3u);
    EXPECT_EQ(result.entries[0].first.rfind("Morphine 0.5 - 1 milligrams IV", 0), 0u);
    EXPECT_EQ(result.entries[1].first, "Discontinue all unnecessary CNS depressants. ");
    EXPECT_EQ(result.entries[2].second, "Logic");
}

}  // namespace
