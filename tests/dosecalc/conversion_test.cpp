// Dose conversion: factors, therapy texts and totals for the worked cases, the mitigating-factor
// statuses, reasons and caveats, and the dose-range lookup on good and damaged content records.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "conversion_fixture.h"
#include "dosecalc/dose_ranges.h"
#include "dosecalc/regimens.h"

using fixture::ConversionTest;
using namespace fixture;

namespace {

TEST(ConversionFactor, RoutesSelectTheirColumn)
{
    struct Case {
        const char* name;
        DrugKeys drug;
        std::int8_t route;
        float expected;
    } cases[] = {
        {"morphine IV", morphineKeys, 3, 10.0f},   {"morphine IM", morphineKeys, 1, 10.0f},
        {"morphine SQ", morphineKeys, 17, 10.0f},  {"morphine PO", morphineKeys, 8, 30.0f},
        {"morphine PR", morphineKeys, 16, 30.0f},  {"morphine route 2", morphineKeys, 2, 0.0f},
        {"morphine route 0", morphineKeys, 0, 0.0f}, {"morphine route -1", morphineKeys, -1, 0.0f},
        {"hydromorphone IV", hydromorphoneKeys, 3, 1.5f}, {"hydromorphone PO", hydromorphoneKeys, 8, 7.5f},
        {"oxycodone IV", oxycodoneKeys, 3, 0.0f},  {"oxycodone PO", oxycodoneKeys, 8, 20.0f},
        {"fentanyl IV", fentanylKeys, 3, 100.0f},  {"codeine PO", {0xF08EBF3Eu, 27}, 8, 200.0f},
        {"no-factor drug", {0x0724673Cu, 759}, 3, 0.0f}, {"unknown pair", unknownKeys, 3, 0.0f},
        {"morphine key1 with codeine key2", {morphineKeys.key1, 27}, 3, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(conversionFactor(c.drug.key1, c.drug.key2, c.route), c.expected) << c.name;
}

TEST(ConversionOptions, DrugsAndControlledRelease)
{
    EXPECT_TRUE(sameDrug(optionDrug(1), oxycodoneKeys));
    EXPECT_TRUE(sameDrug(optionDrug(2), morphineKeys));
    EXPECT_TRUE(sameDrug(optionDrug(4), hydrocodoneKeys));
    EXPECT_TRUE(sameDrug(optionDrug(5), hydromorphoneKeys));
    EXPECT_TRUE(sameDrug(optionDrug(6), morphineKeys));
    EXPECT_FALSE(drugKnown(optionDrug(0)));
    EXPECT_FALSE(drugKnown(optionDrug(-1)));
    EXPECT_FALSE(drugKnown(optionDrug(7)));
    for (int option = 1; option <= 6; ++option)
        EXPECT_EQ(optionControlledRelease(option), option <= 2) << "option " << option;
}

// --- worked cases -----------------------------------------------------------------------------

struct TherapyCase {
    const char* name;
    std::function<void(ConversionTest*)> answers;
    int option;
    const char* currentText;
    const char* secondText;
    bool usable;
    float total;
};

class TherapyTest : public ConversionTest {
public:
    void check(const TherapyCase& c)
    {
        TearDown();
        SetUp();
        c.answers(this);
        ConversionResult r = convertTherapy(appState, questionnaireState, c.option);
        EXPECT_STREQ(appState->currentTherapyText, c.currentText) << c.name;
        EXPECT_STREQ(appState->secondTherapyText, c.secondText) << c.name;
        EXPECT_EQ(r.usable, c.usable) << c.name;
        EXPECT_EQ(r.total, c.total) << c.name;
        EXPECT_TRUE(std::isfinite(r.units1) && std::isfinite(r.units2) && std::isfinite(r.total)) << c.name;
        if (!c.usable)
            EXPECT_FALSE(conversionFound(appState)) << c.name;
    }
};

TEST_F(TherapyTest, WorkedCases)
{
    const char* ivMorphine120 = "Morphine 120 mg IV\n(12.00 equialanalgesic units)";
    const char* poOxycodone40 = "Oxycodone 40 mg PO\n(2.00 equialanalgesic units)";
    const char* ivFentanyl1000 = "Fentanyl 1000 mcg IV\n(10.00 equialanalgesic units)";
    auto ivMorphine = [](ConversionTest* t) { t->ivDrug(IvMorphine, 120); };
    auto poOxycodone = [](ConversionTest* t) { t->poDrug(PoOxycodone, 40); };
    auto morphineThenOxycodone = [](ConversionTest* t) {
        t->ivDrug(IvMorphine, 120);
        t->secondPo(SecondPoOxycodone, 40);
    };
    auto morphineTwice = [](ConversionTest* t) {
        t->ivDrug(IvMorphine, 60);
        t->secondPo(SecondPoMorphine, 90);
    };
    const char* ivMorphine60 = "Morphine 60 mg IV\n(6.00 equialanalgesic units)";
    const char* poMorphine90 = "Morphine 90 mg PO\n(3.00 equialanalgesic units)";
    const TherapyCase cases[] = {
        {"IV morphine 120 mg, first run", ivMorphine, -1, ivMorphine120, "", true, 60.0f},
        {"IV morphine 120 mg, option 2", ivMorphine, 2, ivMorphine120, "", true, 120.0f},
        {"IV morphine 120 mg, option 6", ivMorphine, 6, ivMorphine120, "", true, 120.0f},
        {"IV morphine 120 mg, option 1", ivMorphine, 1, ivMorphine120, "", true, 60.0f},
        {"IV morphine 120 mg, option 5", ivMorphine, 5, ivMorphine120, "", true, 60.0f},
        {"PO oxycodone 40 mg, first run", poOxycodone, -1, poOxycodone40, "", true, 10.0f},
        {"PO oxycodone 40 mg, option 1", poOxycodone, 1, poOxycodone40, "", true, 20.0f},
        {"PO oxycodone 40 mg, option 3", poOxycodone, 3, poOxycodone40, "", true, 20.0f},
        {"PO oxycodone 40 mg, option 2", poOxycodone, 2, poOxycodone40, "", true, 10.0f},
        {"PO hydrocodone 60 mg, option 4", [](ConversionTest* t) { t->poDrug(PoHydrocodone, 60); }, 4,
         "Hydrocodone 60 mg PO\n(2.00 equialanalgesic units)", "", true, 20.0f},
        {"IV hydromorphone 3 mg, option 5", [](ConversionTest* t) { t->ivDrug(IvHydromorphone, 3); }, 5,
         "Hydromorphone 3 mg IV\n(2.00 equialanalgesic units)", "", true, 20.0f},
        {"IV fentanyl 1000 mcg, first run", [](ConversionTest* t) { t->ivDrugMcg(IvFentanyl, 1000); }, -1,
         ivFentanyl1000, "", true, 50.0f},
        {"IV fentanyl entered as 1 mg counts 1000 mcg", [](ConversionTest* t) { t->ivDrug(IvFentanyl, 1); }, -1,
         "Fentanyl 1 mg IV\n(10.00 equialanalgesic units)", "", true, 50.0f},
        {"IV hydromorphone 1500 mcg counts 1.5 mg",
         [](ConversionTest* t) { t->ivDrugMcg(IvHydromorphone, 1500); }, -1,
         "Hydromorphone 1500 mcg IV\n(1.00 equialanalgesic units)", "", true, 5.0f},
        {"IV morphine in mcg", [](ConversionTest* t) { t->ivDrugMcg(IvMorphine, 120000); }, 2,
         "Morphine 120000 mcg IV\n(12.00 equialanalgesic units)", "", true, 120.0f},
        {"the mcg choice is ignored for an oral opioid",
         [](ConversionTest* t) {
             t->poDrug(PoOxycodone, 40);
             t->answer(10334);
             t->answer(12665, 99);
         },
         3, poOxycodone40, "", true, 20.0f},
        {"a second, different opioid halves whatever the option",
         morphineThenOxycodone,
         2, ivMorphine120, poOxycodone40, true, 70.0f},
        {"a second opioid with option 1 of the second drug still halves",
         morphineThenOxycodone,
         1, ivMorphine120, poOxycodone40, true, 70.0f},
        {"a second opioid in mcg",
         [](ConversionTest* t) {
             t->ivDrug(IvMorphine, 120);
             t->secondIv(SecondIvFentanyl, 0);
             t->answer(11645);
             t->answer(12684, 500);
         },
         -1, ivMorphine120, "Fentanyl 500 mcg IV\n(5.00 equialanalgesic units)", true, 85.0f},
        {"the same drug twice follows the first drug's option: option 2",
         morphineTwice,
         2, ivMorphine60, poMorphine90, true, 90.0f},
        {"the same drug twice: option 1 halves",
         morphineTwice,
         1, ivMorphine60, poMorphine90, true, 45.0f},
        {"the same drug twice: first run halves",
         morphineTwice,
         -1, ivMorphine60, poMorphine90, true, 45.0f},
        {"second opioid question answered only when 11498 is", [](ConversionTest* t) {
             t->ivDrug(IvMorphine, 120);
             t->choose(SecondPoOxycodone, 12339);
             t->answer(11650, 40);
         },
         2, ivMorphine120, "", true, 120.0f},
        {"dose 0: no units line, a total of 0", [](ConversionTest* t) { t->ivDrug(IvMorphine, 0); }, -1,
         "Morphine 0 mg IV", "", true, 0.0f},
        {"no drug chosen: no units, no total", [](ConversionTest* t) { t->answer(10340, 120); }, -1, " 120 mg IV",
         "", false, 0.0f},
        {"a chosen answer of 0 does not count",
         [](ConversionTest* t) {
             t->choose(IvFentanyl, 10332, 0.0f);
             t->choose(IvMorphine, 10332);
             t->answer(10340, 120);
         },
         2, ivMorphine120, "", true, 120.0f},
        {"no IV factor for oxycodone: no units, no total", [](ConversionTest* t) { t->ivDrug(IvOxycodone, 120); },
         -1, "Oxycodone 120 mg IV", "", false, 0.0f},
        {"a drug outside the factor table", [](ConversionTest* t) { t->ivDrug(IvUnknown, 120); }, -1,
         "Unknown 120 mg IV", "", false, 0.0f},
        {"a second opioid without a chosen drug: no total",
         [](ConversionTest* t) {
             t->ivDrug(IvMorphine, 120);
             t->answer(11498);
             t->answer(11650, 40);
         },
         -1, ivMorphine120, " 40 mg IV", false, 0.0f},
        {"a second opioid whose route question has no answer: no total",
         [](ConversionTest* t) {
             t->ivDrug(IvMorphine, 120);
             t->secondPo(SecondPoMorphine, 90);
             t->answer(12167, 0);   // the second is IV then, where its question has no answer
         },
         -1, ivMorphine120, " 90 mg IV", false, 0.0f},
        {"a negative dose: no total", [](ConversionTest* t) { t->ivDrug(IvMorphine, -120); }, -1,
         "Morphine -120 mg IV", "", false, 0.0f},
        {"an impossible dose: no units, no total", [](ConversionTest* t) { t->ivDrug(IvMorphine, 2000000000.0f); },
         -1, "Morphine 2000000000 mg IV", "", false, 0.0f},
    };
    for (const TherapyCase& c : cases)
        check(c);
}

TEST_F(ConversionTest, LongDrugNameGivesWayToDoseAndUnits)
{
    ivDrug(IvLongName, 120);
    convertTherapy(appState, questionnaireState, -1);
    std::string text = appState->currentTherapyText;
    const std::string tail = " 120 mg IV\n(12.00 equialanalgesic units)";
    EXPECT_EQ(text.size(), std::size_t(therapyTextSize - 1));
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.substr(0, text.size() - tail.size()), longDrugName.substr(0, text.size() - tail.size()));
}

TEST_F(ConversionTest, TotalFindsItsRegimens)
{
    ivDrug(IvMorphine, 120);
    convertTherapy(appState, questionnaireState, -1);   // 60: the range (50, 60]
    ASSERT_TRUE(conversionFound(appState));
    EXPECT_STREQ(optionRegimen(appState, 1), "Drug1 50-60");
    EXPECT_STREQ(optionRegimen(appState, 6), "Drug6 50-60");
    EXPECT_STREQ(optionProduct(appState, 1), "Product1");
    EXPECT_STREQ(optionProduct(appState, 6), "Product6");

    convertTherapy(appState, questionnaireState, 2);    // 120: the range (100, 120]
    EXPECT_STREQ(optionRegimen(appState, 3), "Drug3 100-120");
}

TEST_F(ConversionTest, AnUnusableRunLeavesNoRegimensOfTheRunBefore)
{
    ivDrug(IvMorphine, 120);
    convertTherapy(appState, questionnaireState, -1);
    ASSERT_TRUE(conversionFound(appState));
    answer(10340, -5);
    convertTherapy(appState, questionnaireState, -1);
    EXPECT_FALSE(conversionFound(appState));
}

// --- mitigating factors -----------------------------------------------------------------------

const char* liverCaveat =
    "Careful observation is warranted.  Consider increasing dosing intervals as decreased hepatic metabolism may "
    "result in opioid accumulation.  Decreased plasma proteins may result in exaggerated opioid effects.";
const char* sleepCaveat =
    "Patients with sleep apnea or morbid obesity are at increased risk for respiratory depression and death when "
    "opioids are used.  Careful observation, titration, and oxygen therapy are highly recommended.  Consultation "
    "with a Zura Service and Pulmonary Medicine should be considered.";
const char* renalCaveat = "Consider extending dosing intervals in patients with renal insufficiency";
const char* heartCaveat =
    "Consider extending dosing intervals in patients with congestive heart failure, as concurrent renal and/or "
    "hepatic insufficiency may extend opioid half-lives.";

struct FactorCase {
    const char* name;
    std::vector<std::uint16_t> answered;
    std::int32_t statuses[6];
    std::vector<std::vector<std::string>> reasons;   // per option
    std::vector<std::string> caveats;
    std::vector<std::string> factors;
    int firstAvailable;
};

TEST_F(ConversionTest, MitigatingFactors)
{
    const std::int32_t A = Available, R = RelativeContraindication, X = AbsoluteContraindication;
    const FactorCase cases[] = {
        {"no factor", {}, {A, A, A, A, A, A}, {{}, {}, {}, {}, {}, {}}, {}, {}, 1},
        {"asthma with morbid obesity", {11707, 11713}, {X, X, A, A, A, R},
         {{"Morbid Obesity"}, {"Asthma", "Morbid Obesity"}, {}, {}, {}, {"Asthma"}}, {sleepCaveat},
         {"Asthma", "Morbid Obesity"}, 3},
        {"sleep apnea with morbid obesity: the caveat once", {11706, 11707}, {X, X, A, A, A, A},
         {{"Morbid Obesity", "Sleep Apnea"}, {"Morbid Obesity", "Sleep Apnea"}, {}, {}, {}, {}}, {sleepCaveat},
         {"Morbid Obesity", "Sleep Apnea"}, 3},
        {"sleep apnea alone", {11706}, {X, X, A, A, A, A}, {{"Sleep Apnea"}, {"Sleep Apnea"}, {}, {}, {}, {}},
         {sleepCaveat}, {"Sleep Apnea"}, 3},
        {"elderly: a name only", {11708}, {A, A, A, A, A, A}, {{}, {}, {}, {}, {}, {}}, {}, {"Elderly"}, 1},
        {"liver disease with alcohol use", {13974, 11710}, {A, A, A, X, A, A},
         {{}, {}, {}, {"Liver Disease", "Alcohol Use"}, {}, {}}, {liverCaveat}, {"Liver Disease", "Alcohol Use"}, 1},
        {"heart failure then renal insufficiency, in table order", {11711, 11709}, {A, R, A, A, A, R},
         {{}, {"Renal Insufficiency", "Congestive Heart Failure"}, {}, {},
          {}, {"Renal Insufficiency", "Congestive Heart Failure"}},
         {renalCaveat, heartCaveat}, {"Renal Insufficiency", "Congestive Heart Failure"}, 1},
        {"every factor", {11706, 11707, 11708, 11709, 11710, 11711, 11713, 13974}, {X, X, A, X, A, R},
         {{"Morbid Obesity", "Sleep Apnea"},
          {"Asthma", "Morbid Obesity", "Sleep Apnea", "Renal Insufficiency", "Congestive Heart Failure"},
          {},
          {"Liver Disease", "Alcohol Use"},
          {},
          {"Asthma", "Renal Insufficiency", "Congestive Heart Failure"}},
         {liverCaveat, sleepCaveat, renalCaveat, heartCaveat},
         {"Asthma", "Morbid Obesity", "Elderly", "Liver Disease", "Alcohol Use", "Sleep Apnea", "Renal Insufficiency",
          "Congestive Heart Failure"},
         3},
        {"an answer of 0 is no factor", {}, {A, A, A, A, A, A}, {{}, {}, {}, {}, {}, {}}, {}, {}, 1},
    };
    for (const FactorCase& c : cases) {
        TearDown();
        SetUp();
        ivDrug(IvMorphine, 120);
        answer(11713, 0.0f);   // a factor answered 0 counts as not answered
        for (std::uint16_t id : c.answered)
            answer(id);
        convertTherapy(appState, questionnaireState, -1);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(appState->optionStatus[i], c.statuses[i]) << c.name << ", option " << i + 1;
            EXPECT_EQ(texts(appState->optionReasons[i]), c.reasons[i]) << c.name << ", option " << i + 1;
        }
        EXPECT_EQ(texts(appState->conversionCaveats), c.caveats) << c.name;
        EXPECT_EQ(texts(appState->mitigatingFactors), c.factors) << c.name;
        EXPECT_EQ(firstAvailableOption(appState), c.firstAvailable) << c.name;
    }
}

TEST_F(ConversionTest, EachRunStartsAfresh)
{
    ivDrug(IvMorphine, 120);
    answer(11707);
    convertTherapy(appState, questionnaireState, -1);
    convertTherapy(appState, questionnaireState, 2);
    EXPECT_EQ(texts(appState->optionReasons[0]), std::vector<std::string>{"Morbid Obesity"});
    EXPECT_EQ(texts(appState->mitigatingFactors), std::vector<std::string>{"Morbid Obesity"});
    EXPECT_EQ(texts(appState->conversionCaveats), std::vector<std::string>{sleepCaveat});

    answer(11707, 0.0f);
    convertTherapy(appState, questionnaireState, -1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(appState->optionStatus[i], Available) << "option " << i + 1;
    EXPECT_EQ(appState->optionReasons[0], nullptr);
}

TEST(OptionStatus, OnlyRises)
{
    AppState state{};
    for (std::int32_t& s : state.optionStatus)
        s = Available;
    raiseOptionStatus(&state, 2, AbsoluteContraindication);
    raiseOptionStatus(&state, 2, RelativeContraindication);
    raiseOptionStatus(&state, 3, DoseUnavailable);
    raiseOptionStatus(&state, 3, AbsoluteContraindication);
    raiseOptionStatus(&state, 0, AbsoluteContraindication);
    raiseOptionStatus(&state, 7, AbsoluteContraindication);
    EXPECT_EQ(state.optionStatus[1], AbsoluteContraindication);
    EXPECT_EQ(state.optionStatus[2], AbsoluteContraindication);
    EXPECT_EQ(firstAvailableOption(&state), 1);
    for (std::int32_t& s : state.optionStatus)
        s = RelativeContraindication;
    EXPECT_EQ(firstAvailableOption(&state), 0);
}

// --- dose-range lookup ------------------------------------------------------------------------

class LookupTest : public ConversionTest {
protected:
    const char* products[6] = {};
    const char* regimens[6] = {};

    DoseRangeLookup look(float dose)
    {
        return lookupDoseRange(appState->conversionRecord, appState->doseRangeRecord, morphineKeys, dose, products,
                               regimens);
    }
};

TEST_F(LookupTest, BoundsAndDecoys)
{
    struct Case {
        const char* name;
        float dose;
        const char* regimen1;   // nullptr: no match
    } cases[] = {
        {"equal to an upper bound falls in", 60.0f, "Drug1 50-60"},
        {"equal to a lower bound does not", 50.0f, "Drug1 20-50"},
        {"just above a lower bound", 50.0001f, "Drug1 50-60"},
        {"inside the first range", 5.0f, "Drug1 0-10"},
        {"the top of the table", 1000.0f, "Drug1 120-1000"},
        {"above the table", 1000.5f, nullptr},
        {"a total of 0", 0.0f, nullptr},
        {"a negative total", -10.0f, nullptr},
        {"infinity", INFINITY, nullptr},
        {"not a number", NAN, nullptr},
    };
    for (const Case& c : cases) {
        DoseRangeLookup found = look(c.dose);
        EXPECT_EQ(found, c.regimen1 ? DoseRangeLookup::Found : DoseRangeLookup::NoMatch) << c.name;
        if (c.regimen1) {
            EXPECT_STREQ(regimens[0], c.regimen1) << c.name;
            EXPECT_STREQ(products[5], "Product6") << c.name;
        } else {
            for (int i = 0; i < 6; ++i)
                EXPECT_TRUE(products[i] == nullptr && regimens[i] == nullptr) << c.name;
        }
    }
}

TEST_F(LookupTest, RegimensAreTheOddStrings)
{
    ASSERT_EQ(look(15.0f), DoseRangeLookup::Found);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(regimens[i], "Drug" + std::to_string(i + 1) + " 10-20") << "option " << i + 1;
}

TEST_F(LookupTest, NoMorphineEntryFromIvToPoIsNoMatch)
{
    setContent(makePackedRecord(2, 0,
                                {conversionEntry(oxycodoneKeys, 3, 8, 2, "WrongDrug"),
                                 conversionEntry(morphineKeys, 8, 3, 2, "Backwards")}),
               doseRangeBytes());
    regimens[0] = "stale";
    EXPECT_EQ(look(60.0f), DoseRangeLookup::NoMatch);
    EXPECT_EQ(regimens[0], nullptr);
}

TEST_F(LookupTest, MissingRecordsLeaveTheResults)
{
    const char* stale = "stale";
    for (const char*& r : regimens)
        r = stale;
    setContent(conversionBytes(), {});
    EXPECT_EQ(look(60.0f), DoseRangeLookup::RecordsMissing);
    setContent({}, doseRangeBytes());
    EXPECT_EQ(look(60.0f), DoseRangeLookup::RecordsMissing);
    EXPECT_EQ(regimens[0], stale);
}

TEST_F(LookupTest, EntryCountBeyondTheEntriesStopsAtTheEnd)
{
    Bytes ranges = doseRangeBytes();
    ranges[8] = 0xFF;   // entryCount 0x7FFF
    ranges[9] = 0x7F;
    setContent(conversionBytes(), ranges);
    EXPECT_EQ(look(1000.0f), DoseRangeLookup::Found);
    EXPECT_EQ(look(2000.0f), DoseRangeLookup::NoMatch);
}

TEST_F(LookupTest, NegativeEntryCountReadsNothing)
{
    Bytes conversion = conversionBytes();
    conversion[8] = 0xFF;   // entryCount -1
    conversion[9] = 0xFF;
    setContent(conversion, doseRangeBytes());
    EXPECT_EQ(look(60.0f), DoseRangeLookup::NoMatch);
}

// Every cut of a good record ends the walk at its damaged entry; nothing past the cut is read
// (the sanitizer watches each record's own block).
TEST_F(LookupTest, TruncatedRecordsAreNeverReadPastTheirEnd)
{
    const Bytes conversion = conversionBytes(), ranges = doseRangeBytes();
    auto cut = [](const Bytes& bytes, std::size_t size) {
        return recordFrom(Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(size)));
    };
    for (std::size_t size = 0; size < ranges.size(); ++size) {
        freeBlock(appState->doseRangeRecord);
        appState->doseRangeRecord = cut(ranges, size);
        DoseRangeLookup found = look(60.0f);
        EXPECT_NE(found, DoseRangeLookup::RecordsMissing) << "dose ranges cut at " << size;
        if (found == DoseRangeLookup::Found)
            EXPECT_STREQ(regimens[0], "Drug1 50-60") << "dose ranges cut at " << size;
    }
    setContent(conversion, ranges);
    for (std::size_t size = 0; size < conversion.size(); ++size) {
        freeBlock(appState->conversionRecord);
        appState->conversionRecord = cut(conversion, size);
        DoseRangeLookup found = look(60.0f);
        // Only the last entry's padding (at most 3 bytes) may go without losing the entry.
        if (size + 3 < conversion.size())
            EXPECT_EQ(found, DoseRangeLookup::NoMatch) << "conversion cut at " << size;
        if (found == DoseRangeLookup::Found)
            EXPECT_STREQ(products[0], "Product1") << "conversion cut at " << size;
    }
}

TEST_F(LookupTest, UnterminatedLastStringEndsTheWalk)
{
    Bytes ranges = doseRangeBytes();
    while (!ranges.empty() && ranges.back() == 0)
        ranges.pop_back();   // the last entry's last string loses its terminator and padding
    setContent(conversionBytes(), ranges);
    EXPECT_EQ(look(1000.0f), DoseRangeLookup::NoMatch);
    EXPECT_EQ(look(100.0f), DoseRangeLookup::Found);
}

TEST(PackedWalk, ReadsEntryFields)
{
    DbRecord* record = recordFrom(makePackedRecord(2, 0, {conversionEntry(morphineKeys, 3, 8, -2, "P")}));
    PackedWalk walk = beginPackedWalk(record);
    ConversionEntry entry;
    ASSERT_TRUE(nextConversionEntry(&walk, &entry));
    EXPECT_EQ(entry.key1, morphineKeys.key1);
    EXPECT_EQ(entry.key2, morphineKeys.key2);
    EXPECT_EQ(entry.fromRoute, 3);
    EXPECT_EQ(entry.toRoute, 8);
    EXPECT_EQ(entry.rangeTable, -2);
    EXPECT_STREQ(entry.strings[0], "P1");
    EXPECT_STREQ(entry.strings[6], "P7");
    EXPECT_FALSE(nextConversionEntry(&walk, &entry));
    freeBlock(record);
}

} // namespace

namespace {

// The content database the build makes from data/content: the worked example's total has its
// regimens, and the walk gets through both records.
TEST(BuiltContentDatabase, WorkedExampleHasRegimens)
{
    const char* path = ZURA_DATA_ROOT "/Program Files/Quellix/DEZidiVA-Qx4k.pdb";
    DbRecord* ranges = readRecord(1, 0, 0, 0, 0, path);
    DbRecord* conversions = readRecord(2, 0, 0, 0, 0, path);
    ASSERT_NE(ranges, nullptr);
    ASSERT_NE(conversions, nullptr);
    const char* products[6] = {};
    const char* regimens[6] = {};
    EXPECT_EQ(lookupDoseRange(conversions, ranges, morphineKeys, 60.0f, products, regimens), DoseRangeLookup::Found);
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(regimens[i], nullptr) << "option " << i + 1;
        EXPECT_GT(std::strlen(regimens[i]), 0u) << "option " << i + 1;
        EXPECT_GT(std::strlen(products[i]), 0u) << "option " << i + 1;
    }
    EXPECT_EQ(lookupDoseRange(conversions, ranges, morphineKeys, 0.0f, products, regimens), DoseRangeLookup::NoMatch);
    freeRecord(&ranges);
    freeRecord(&conversions);
}

} // namespace
