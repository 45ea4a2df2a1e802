// The dose conversion report: rows, styles and texts of its seven sections, the statuses the
// first section completes, the drug names of a regimen, the section selector and a whole
// conversion run.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "conversion_fixture.h"
#include "dosecalc/conversion_report.h"
#include "dosecalc/conversion_sections.h"
#include "dosecalc/explanation.h"
#include "dosecalc/regimens.h"

using namespace fixture;

namespace {

const char* unable = "Unable to recommend dose conversion options.  Consult Zura Specialist.";
const char* allergy = "The patient's drug allergies should be reviewed before proceeding";
const char* chew = "Instruct patient not to chew, cut, or crush the controlled-release tablets";
const char* acetaminophen = "Do NOT exceed 4000 milligrams of acetaminophen in 24 hours";
const char* conservative = "Oral dose conversion estimates are conservative";
const char* monitoring =
    "Careful monitoring of the number of IV breakthrough doses required after conversion is essential to "
    "determine the optimal oral dose required for effective pain management";

// What a line looks like to the layout: its row, kind and text, and the style fields that differ
// between the report's line styles.
struct Line {
    int row;
    int kind;
    std::string text;
    int id = 0;
    int x = 0, contX = 0;
    bool bold = false;
    int tag = 0;
    int group = 0;
    bool copied = true;

    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l)
{
    return out << "{row " << l.row << ", kind " << l.kind << ", \"" << l.text << "\", id " << l.id << ", x "
               << l.x << "/" << l.contX << (l.bold ? ", bold" : "") << ", tag " << l.tag << ", group " << l.group
               << (l.copied ? "" : ", kept") << "}";
}

// The report's styles, as the expectations name them.
Line heading(int row, std::string text) { return {row, TextLine, text, 0, 0, 0, true}; }
Line groupHeading(std::string text) { return {0, TextLine, text, 1, 0, 0, true}; }
Line paragraph(int row, std::string text) { return {row, TextLine, text}; }
Line kept(int row, std::string text) { return {row, TextLine, text, 0, 0, 0, false, 0, 0, false}; }
Line runOn(int row, std::string text) { return {row, TextLine, text, 0, -1, -1}; }
Line optionBox(int row, int option, std::string text) { return {row, CheckBox, text, option, 0, 17}; }
Line item(int row, int option, std::string text) { return {row, TextLine, text, option, 0, 8}; }
Line reasons(int row, std::string text) { return {row, TextLine, text, 1, -1, -1, false, 0, -1}; }
Line button(int row) { return {row, PushButton, "How doses are calculated", 0, 5, 5, false, 1}; }

std::vector<Line> warning(int row, const char* text) { return {heading(row, "WARNING:"), runOn(row, text)}; }

std::vector<Line> operator+(std::vector<Line> a, const std::vector<Line>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
std::vector<Line> operator+(std::vector<Line> a, const Line& b)
{
    a.push_back(b);
    return a;
}

class ReportTest : public ConversionTest {
public:
    // Regimens and products of a dose range, set as a lookup would.
    std::string regimen[6] = {
        "OxyContin 20 mg PO q12h AND Oxycodone 5 mg PO q4h prn",
        "MS Contin 30 mg PO q12h AND Morphine IR 15 mg PO q4h prn",
        "Oxycodone 10 mg PO q4h",
        "Hydrocodone/Acetaminophen 5/325 mg PO q4h",
        "Hydromorphone 2 mg PO q4h",
        "Morphine IR 15 mg PO q4h",
    };
    std::string product[6] = {"OxyContin", "MS Contin", "Oxycodone IR", "Norco", "Dilaudid", "Morphine IR"};

    void SetUp() override
    {
        ConversionTest::SetUp();
        for (std::int32_t& s : appState->optionStatus)
            s = Available;
        useTexts();
    }

    void TearDown() override
    {
        clearDisplayList(&appState->displayList, false);
        ConversionTest::TearDown();
    }

    void useTexts()
    {
        for (int i = 0; i < 6; ++i) {
            appState->regimenTexts[i] = regimen[i].c_str();
            appState->productTexts[i] = product[i].c_str();
        }
    }

    std::vector<Line> layout(int section)
    {
        clearDisplayList(&appState->displayList, false);
        layoutConversionSection(section);
        return lines();
    }

    static std::vector<Line> lines()
    {
        std::vector<Line> out;
        for (const DisplayLine* l = appState->displayList.head; l; l = l->next)
            out.push_back({l->row, l->kind, l->text ? l->text : "(absent)", l->id, l->x, l->contX,
                           (l->flags & lineBold) != 0, int(l->tag), l->group, (l->flags & lineOwnsText) != 0});
        return out;
    }
};

// --- section 1 ------------------------------------------------------------------------------------

TEST_F(ReportTest, ChoiceWithEveryOptionAvailable)
{
    std::vector<Line> expected = warning(0, allergy) + heading(1, "Select Conversion Option:") +
                                 optionBox(2, 1, "OxyContin AND Oxycodone ") +
                                 optionBox(3, 2, "MS Contin AND Morphine IR ") + optionBox(4, 3, "Oxycodone ") +
                                 optionBox(5, 4, "Hydrocodone/Acetaminophen ") + optionBox(6, 5, "Hydromorphone ") +
                                 optionBox(7, 6, "Morphine IR ") + button(9);
    EXPECT_EQ(layout(ChoiceSection), expected);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(appState->optionStatus[i], Available);
}

TEST_F(ReportTest, ChoiceWithEveryOptionContraindicated)
{
    appState->selectedOption = 3;
    for (std::int32_t& s : appState->optionStatus)
        s = RelativeContraindication;
    appState->optionStatus[0] = AbsoluteContraindication;
    EXPECT_EQ(layout(ChoiceSection), std::vector<Line>{paragraph(0, unable)} + button(2));
    EXPECT_EQ(appState->selectedOption, 0);
}

TEST_F(ReportTest, ChoiceMarksRegimensNoneInAnyCase)
{
    regimen[1] = "None";
    regimen[4] = "none";
    useTexts();
    std::vector<Line> expected = warning(0, allergy) + heading(1, "Select Conversion Option:") +
                                 optionBox(2, 1, "OxyContin AND Oxycodone ") + optionBox(3, 3, "Oxycodone ") +
                                 optionBox(4, 4, "Hydrocodone/Acetaminophen ") + optionBox(5, 6, "Morphine IR ") +
                                 button(7);
    EXPECT_EQ(layout(ChoiceSection), expected);
    EXPECT_EQ(appState->optionStatus[1], DoseUnavailable);
    EXPECT_EQ(appState->optionStatus[4], DoseUnavailable);
    EXPECT_EQ(layout(UnavailableSection),
              std::vector<Line>{groupHeading("Due to tablet strength or acetaminophen content, the following dosage "
                                             "forms are unable to provide the recommended 24-hour dose")} +
                  item(2, 2, "- MS Contin") + item(3, 5, "- Dilaudid"));
}

// An option available at the first test whose regimen is "None" leaves the heading standing alone.
TEST_F(ReportTest, ChoiceHeadingWithoutOptions)
{
    for (std::int32_t& s : appState->optionStatus)
        s = AbsoluteContraindication;
    appState->optionStatus[2] = Available;
    regimen[2] = "NONE";
    useTexts();
    EXPECT_EQ(layout(ChoiceSection), warning(0, allergy) + heading(1, "Select Conversion Option:") + button(3));
    EXPECT_EQ(appState->optionStatus[2], DoseUnavailable);
}

TEST_F(ReportTest, AcetaminophenWithLiverDiseaseOrAlcoholUse)
{
    regimen[2] = "Oxycodone/Acetaminophen 5/325 mg PO q4h";
    useTexts();
    for (std::uint16_t factor : {11710, 13974}) {
        TearDown();
        SetUp();
        regimen[2] = "Oxycodone/Acetaminophen 5/325 mg PO q4h";
        useTexts();
        answer(factor);
        appState->optionStatus[3] = AbsoluteContraindication;   // as the liver and alcohol factors raise it
        std::vector<Line> choice = layout(ChoiceSection);
        EXPECT_EQ(choice.size(), 2u + 1u + 4u + 1u) << factor;
        EXPECT_EQ(appState->optionStatus[2], AbsoluteContraindication) << factor;
        // Back to the first section without a new run: the reason stays listed once.
        layout(ChoiceSection);
        std::vector<Line> expected =
            std::vector<Line>{groupHeading("Therapies that have ABSOLUTE contraindications")} +
            item(2, 3, "- Oxycodone/Acetaminophen ") +
            reasons(2, "(Acetaminophen contraindicated by liver disease and/or alcohol use)") +
            item(3, 4, "- Hydrocodone/Acetaminophen ");
        EXPECT_EQ(layout(AbsoluteSection), expected) << factor;
    }
}

TEST_F(ReportTest, AcetaminophenNeedsAFactorAndTheExactWord)
{
    struct Case {
        const char* name;
        std::uint16_t factor;
        const char* regimen3;
        bool raised;
    } cases[] = {
        {"no factor", 0, "Oxycodone/Acetaminophen 5/325 mg", false},
        {"lower case", 11710, "Oxycodone/acetaminophen 5/325 mg", false},
        {"another option's acetaminophen", 11710, "Oxycodone 10 mg", false},
        {"liver disease", 11710, "Oxycodone/Acetaminophen 5/325 mg", true},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        regimen[2] = c.regimen3;
        useTexts();
        if (c.factor)
            answer(c.factor);
        layout(ChoiceSection);
        EXPECT_EQ(appState->optionStatus[2], c.raised ? AbsoluteContraindication : Available) << c.name;
        EXPECT_EQ(appState->optionReasons[2] != nullptr, c.raised) << c.name;
    }
}

// --- section 2 ------------------------------------------------------------------------------------

TEST_F(ReportTest, SelectionRows)
{
    regimen[0] = "Oxycodone CR 10 mg AND Oxycodone/Acetaminophen 5/325 mg";
    regimen[3] = "Hydrocodone 5 mg PO q4h";
    regimen[5] = "None";
    useTexts();
    struct Case {
        const char* name;
        int option;
        std::vector<Line> expected;
    } cases[] = {
        {"option 4 without acetaminophen", 4,
         std::vector<Line>{heading(0, "Conversion Option:"), paragraph(1, "Hydrocodone 5 mg PO q4h")} +
             warning(3, allergy)},
        {"option 1 with acetaminophen", 1,
         std::vector<Line>{heading(0, "Conversion Option:"),
                           paragraph(1, "Oxycodone CR 10 mg\nAND\nOxycodone/Acetaminophen 5/325 mg")} +
             warning(3, chew) + warning(5, acetaminophen) + warning(7, allergy)},
        {"option 2, controlled release", 2,
         std::vector<Line>{heading(0, "Conversion Option:"),
                           paragraph(1, "MS Contin 30 mg PO q12h\nAND\nMorphine IR 15 mg PO q4h prn")} +
             warning(3, chew) + warning(5, allergy)},
        {"a chosen option whose regimen is None", 6,
         std::vector<Line>{heading(0, "Conversion Option:"), paragraph(1, "None")} + warning(3, allergy)},
        {"no option", 0,
         std::vector<Line>{heading(0, "Conversion Option:"), paragraph(1, unable)} + warning(3, allergy)},
        {"an option out of range", 9, std::vector<Line>{heading(0, "Conversion Option:")} + warning(2, allergy)},
    };
    for (const Case& c : cases) {
        appState->selectedOption = c.option;
        EXPECT_EQ(layout(SelectionSection), c.expected) << c.name;
    }
}

TEST_F(ReportTest, SelectionBreaksOnlyTheFirstAnd)
{
    regimen[2] = "A 1 mg AND B 2 mg AND C 3 mg";
    useTexts();
    appState->selectedOption = 3;
    std::vector<Line> got = layout(SelectionSection);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[1], paragraph(1, "A 1 mg\nAND\nB 2 mg AND C 3 mg"));
}

// A regimen longer than the working text is shown whole, and its acetaminophen is still seen.
TEST_F(ReportTest, LongRegimenIsNeitherCutNorOverrun)
{
    std::string names(280, 'N');
    regimen[4] = names + " 10 mg " + std::string(300, 'x') + " AND Acetaminophen 325 mg";
    useTexts();
    appState->selectedOption = 5;
    std::vector<Line> got = layout(SelectionSection);
    std::string shown = regimen[4];
    shown.replace(shown.find(" AND "), 5, "\nAND\n");
    std::vector<Line> expected = std::vector<Line>{heading(0, "Conversion Option:"), paragraph(1, shown)} +
                                 warning(3, acetaminophen) + warning(5, allergy);
    EXPECT_EQ(got, expected);

    regimen[4] = std::string(400, 'N') + " 10 mg";
    useTexts();
    std::vector<Line> choice = layout(ChoiceSection);
    ASSERT_EQ(choice.size(), 10u);
    EXPECT_EQ(choice[7].text, std::string(299, 'N'));
    appState->optionStatus[4] = RelativeContraindication;
    appendText(&appState->optionReasons[4], std::string(400, 'r').c_str(), "");
    std::vector<Line> relative = layout(RelativeSection);
    ASSERT_EQ(relative.size(), 3u);
    EXPECT_EQ(relative[1].text, "- " + std::string(297, 'N'));
    EXPECT_EQ(relative[2].text, "(" + std::string(298, 'r').substr(0, 297) + ")");
}

// --- sections 3 to 7 ---------------------------------------------------------------------------

TEST_F(ReportTest, CaveatsTwoRowsApart)
{
    for (const char* caveat : {"First caveat", "Second caveat", "Third caveat"})
        appendText(&appState->conversionCaveats, caveat, "");
    appState->selectedOption = 1;
    std::vector<Line> three = {heading(0, "Caveats:"), kept(1, "First caveat"), kept(3, "Second caveat"),
                               kept(5, "Third caveat"), paragraph(7, conservative)};
    EXPECT_EQ(layout(CaveatsSection), three);
    for (int option : {3, 4, 5, 6}) {
        appState->selectedOption = option;
        EXPECT_EQ(layout(CaveatsSection), three + paragraph(9, monitoring)) << "option " << option;
    }
    releaseTextList(&appState->conversionCaveats);
    appState->selectedOption = 2;
    EXPECT_EQ(layout(CaveatsSection), (std::vector<Line>{heading(0, "Caveats:"), paragraph(1, conservative)}));
}

TEST_F(ReportTest, RelativeContraindicationsWithTheirReasons)
{
    appState->optionStatus[1] = RelativeContraindication;
    appState->optionStatus[4] = AbsoluteContraindication;
    appState->optionStatus[5] = RelativeContraindication;
    appendText(&appState->optionReasons[1], "Asthma", "");
    appendText(&appState->optionReasons[1], "Renal Insufficiency", "");
    std::vector<Line> expected = std::vector<Line>{groupHeading("Therapies that have RELATIVE contraindications")} +
                                 item(2, 2, "- MS Contin AND Morphine IR ") +
                                 reasons(2, "(Asthma, Renal Insufficiency)") + item(3, 6, "- Morphine IR ");
    EXPECT_EQ(layout(RelativeSection), expected);
}

TEST_F(ReportTest, AbsoluteContraindicationNamesTheProductOfARegimenNone)
{
    regimen[0] = "None";
    useTexts();
    appState->optionStatus[0] = AbsoluteContraindication;
    appendText(&appState->optionReasons[0], "Morbid Obesity", "");
    EXPECT_EQ(layout(AbsoluteSection),
              std::vector<Line>{groupHeading("Therapies that have ABSOLUTE contraindications")} +
                  item(2, 1, "- OxyContin") + reasons(2, "(Morbid Obesity)"));
}

TEST_F(ReportTest, SummaryRows)
{
    std::strcpy(appState->currentTherapyText, "Morphine 120 mg IV\n(12.00 equialanalgesic units)");
    EXPECT_EQ(layout(SummarySection),
              (std::vector<Line>{heading(0, "Current Therapy:"), kept(1, appState->currentTherapyText),
                                 heading(3, "Mitigating Factors:"), paragraph(4, "None")}));
    std::strcpy(appState->secondTherapyText, "Oxycodone 40 mg PO\n(2.00 equialanalgesic units)");
    appendText(&appState->mitigatingFactors, "Asthma", "");
    appendText(&appState->mitigatingFactors, "Elderly", "");
    EXPECT_EQ(layout(SummarySection),
              (std::vector<Line>{heading(0, "Current Therapy:"), kept(1, appState->currentTherapyText),
                                 kept(3, appState->secondTherapyText), heading(5, "Mitigating Factors:"),
                                 paragraph(6, "Asthma, Elderly")}));
}

TEST_F(ReportTest, NoConversionFoundInEverySection)
{
    appState->regimenTexts[3] = nullptr;
    for (int section = ChoiceSection; section <= SummarySection; ++section) {
        appState->selectedOption = 2;
        EXPECT_EQ(layout(section), std::vector<Line>{paragraph(0, unable)}) << "section " << section;
        EXPECT_EQ(appState->selectedOption, 0) << "section " << section;
    }
}

// --- regimen drug names --------------------------------------------------------------------------

TEST(RegimenDrugNames, NamesWithoutDoses)
{
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Oxycodone 10 mg PO q4h", "Oxycodone "},
        {"OxyContin 20 mg PO q12h AND Oxycodone 5 mg PO q4h prn", "OxyContin AND Oxycodone "},
        {"No digits AND at all", "No digits AND at all"},
        {"A 1 B AND C 2 AND D 3", "A AND C "},
        {"A 5 mg and B 5 mg", "A "},
        {"A 5 mg ANDB 7", "A AND  "},
        {"A 5 mg AND", "A AND "},
        {"A 5 mg AND ", "A AND "},
        {"AND 5 mg", "AND "},
        {"12 mg", ""},
        {"", ""},
        {"Hydrocodone/APAP 5/325 mg AND Ibuprofen", "Hydrocodone/APAP AND Ibuprofen"},
    };
    for (const Case& c : cases) {
        char out[300];
        regimenDrugNames(c.text, out, sizeof out);
        EXPECT_STREQ(out, c.expected) << "\"" << c.text << "\"";
    }
    char small[6];
    regimenDrugNames("OxyContin 20 mg AND Oxycodone 5 mg", small, sizeof small);
    EXPECT_STREQ(small, "OxyCo");
    regimenDrugNames(nullptr, small, sizeof small);
    EXPECT_STREQ(small, "");
}

} // namespace

// --- the section selector and whole runs ----------------------------------------------------------

namespace {

class SelectorTest : public ReportTest {
public:
    void SetUp() override
    {
        ReportTest::SetUp();
        appState->sectionSelector = CreateWindowExW(0, u"COMBOBOX", u"", 0x00000003, 55, 295, 120, 200, nullptr,
                                                    HMENU(106), nullptr, nullptr);
        ASSERT_NE(appState->sectionSelector, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(appState->sectionSelector);
        ReportTest::TearDown();
    }

    static std::vector<std::string> items()
    {
        std::vector<std::string> out;
        HWND selector = appState->sectionSelector;
        int count = int(SendMessageW(selector, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            WCHAR wide[100] = {};
            SendMessageW(selector, CB_GETLBTEXT, WPARAM(i), LPARAM(wide));
            std::string text;
            for (const WCHAR* w = wide; *w; ++w)
                text.push_back(char(*w));
            out.push_back(text);
        }
        return out;
    }
    static int current() { return int(SendMessageW(appState->sectionSelector, CB_GETCURSEL, 0, 0)); }
    static void select(int index) { SendMessageW(appState->sectionSelector, CB_SETCURSEL, WPARAM(index), 0); }

    // Content whose regimens for (0, 1000] are these.
    void rangesWith(const std::vector<std::string>& regimens)
    {
        setContent(conversionBytes(), makePackedRecord(1, 0, {rangeEntry(0, 1000, 2, regimens)}));
    }
};

TEST_F(SelectorTest, SectionsFollowTheStatuses)
{
    struct Case {
        const char* name;
        std::vector<std::int32_t> statuses;
        bool firstIsChoice;
        std::vector<std::string> expected;
    } cases[] = {
        {"all available", {1, 1, 1, 1, 1, 1}, true, {"Conversion Choice", "Selection", "Caveats", "Summary"}},
        {"alternatives", {1, 1, 1, 1, 1, 1}, false, {"Alternatives", "Selection", "Caveats", "Summary"}},
        {"every status", {4, 3, 2, 1, 1, 1}, true,
         {"Conversion Choice", "Selection", "Caveats", "Relative Contra", "Absolute Contra", "Unavailable doses",
          "Summary"}},
        {"none available", {4, 2, 2, 4, 2, 2}, false,
         {"Alternatives", "Relative Contra", "Absolute Contra", "Summary"}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 6; ++i)
            appState->optionStatus[i] = c.statuses[i];
        fillConversionSections(c.firstIsChoice);
        EXPECT_EQ(items(), c.expected) << c.name;
    }
}

TEST_F(SelectorTest, RefillKeepsTheIndexWhateverStandsThere)
{
    fillConversionSections(true);
    EXPECT_EQ(current(), -1);   // nothing was selected: nothing is
    select(3);                  // "Summary"
    appState->optionStatus[1] = RelativeContraindication;
    fillConversionSections(false);
    EXPECT_EQ(current(), 3);
    EXPECT_EQ(conversionSection(), RelativeSection);
}

TEST_F(SelectorTest, SectionOfTheCurrentItem)
{
    for (std::int32_t& s : appState->optionStatus)
        s = AbsoluteContraindication;
    appState->optionStatus[0] = Available;
    appState->optionStatus[1] = RelativeContraindication;
    appState->optionStatus[2] = DoseUnavailable;
    fillConversionSections(false);
    const int expected[] = {ChoiceSection, SelectionSection, CaveatsSection, RelativeSection,
                            AbsoluteSection, UnavailableSection, SummarySection};
    ASSERT_EQ(items().size(), 7u);
    for (int i = 0; i < 7; ++i) {
        select(i);
        EXPECT_EQ(conversionSection(), expected[i]) << items()[i];
    }
    fillConversionSections(true);
    select(0);
    EXPECT_EQ(conversionSection(), ChoiceSection);
    select(-1);
    EXPECT_EQ(conversionSection(), ChoiceSection);
    SendMessageW(appState->sectionSelector, CB_RESETCONTENT, 0, 0);
    SendMessageW(appState->sectionSelector, CB_ADDSTRING, 0, LPARAM(u"Prescription"));
    select(0);
    EXPECT_EQ(conversionSection(), ChoiceSection);
}

TEST_F(SelectorTest, ExplanationSections)
{
    fillExplanationSections();
    EXPECT_EQ(items(), (std::vector<std::string>{"Description", "Example", "IV Conversion", "PO Conversion"}));
    EXPECT_EQ(current(), 0);
    for (int i = 0; i < 4; ++i) {
        select(i);
        fillExplanationSections();
        EXPECT_EQ(current(), i);
        EXPECT_EQ(explanationSection(), i);
    }
    select(-1);
    EXPECT_EQ(explanationSection(), DescriptionSection);
}

TEST_F(SelectorTest, ExplanationPage)
{
    Line bold0 = {0, TextLine, "", 0, 0, 0, true};
    auto plain = [](int row, std::string text, int x = 0, int contX = 0) {
        return Line{row, TextLine, text, 0, x, contX};
    };
    auto factors = [&](std::string title, std::vector<std::pair<const char*, const char*>> rows) {
        Line head = bold0;
        head.text = title;
        std::vector<Line> out = {head};
        int row = 2;
        for (auto [name, factor] : rows) {
            out.push_back(plain(row, name));
            out.push_back(plain(row, factor, 100, -1));
            ++row;
        }
        return out;
    };
    Line description = bold0;
    description.text = "The recommended dose is intended to be a conservative and safe starting point and careful "
                       "dose titration to the individual patient need is required.";
    const std::vector<Line> pages[] = {
        {description,
         plain(2, "The dose calculator converts the total 24-hour opioid dose administered to the patient into "
                  "equianalgesic units using a drug-specific conversion factor (see conversion sections).  The "
                  "calculated equianalgesic units are reduced by fifty percent if the patient is being converted "
                  "to a different opioid but not reduced if the patient is converted to the PO form of the same "
                  "opioid.  This result is multiplied by the conversion factor for the desired drug to calculate "
                  "the total 24-hour scheduled dose of oral opioid.  Additional short-acting doses are provided "
                  "in the recommendation for breakthrough pain when long-acting opioids are selected.")},
        {plain(0, "The following example illustrates the conversion of intravenous morphine to oral oxycodone:"),
         plain(2, "1. Total 24-hour intravenous morphine dose = 120 mg", 0, 17),
         plain(4, "2. (120 mg) / (10) = 12 equianalgesic units", 0, 17),
         plain(6, "3. (12 equianalgesic units) x (0.50) = 6 equianalgesic units", 0, 17),
         plain(8, "4. (6 equianalgesic units) x (20) = 120 mg = Total 24-hour dose of scheduled oral oxycodone", 0,
               17)},
        factors("Opioid Conversion Factors (IV)", {{"Morphine", "10"}, {"Fentanyl", "100"},
                                                   {"Hydromorphone", "1.5"}, {"Levorphanol", "2"},
                                                   {"Meperidine", "75"}, {"Methadone", "10"},
                                                   {"Oxymorphone", "1"}}),
        factors("Opioid Conversion Factors (PO)", {{"Morphine", "30"}, {"Codeine", "200"},
                                                   {"Hydromorphone", "7.5"}, {"Levorphanol", "4"},
                                                   {"Meperidine", "300"}, {"Methadone", "20"},
                                                   {"Hydrocodone", "30"}, {"Oxycodone", "20"}}),
    };
    fillExplanationSections();
    for (int section = 0; section < 4; ++section) {
        select(section);
        clearDisplayList(&appState->displayList, false);
        buildExplanationPage();
        EXPECT_EQ(lines(), pages[section]) << "section " << section;
    }
}

TEST_F(SelectorTest, FirstRunOfTheWorkedExample)
{
    ivDrug(IvMorphine, 120);
    appState->displayList.firstRow = 7;
    computeDoseConversion(-1);
    EXPECT_EQ(appState->displayList.firstRow, 0);
    EXPECT_EQ(appState->selectedOption, 1);
    EXPECT_STREQ(optionRegimen(appState, 1), "Drug1 50-60");
    EXPECT_EQ(items(), (std::vector<std::string>{"Conversion Choice", "Selection", "Caveats", "Summary"}));
    EXPECT_EQ(current(), 0);
    std::vector<Line> shown = lines();
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown[3], optionBox(2, 1, "Drug"));
    EXPECT_EQ(shown[9], button(9));
}

TEST_F(SelectorTest, ChoosingAnOptionKeepsItAndRecomputes)
{
    ivDrug(IvMorphine, 120);
    answer(11707);   // options 1 and 2 contraindicated
    computeDoseConversion(-1);
    EXPECT_EQ(appState->selectedOption, 3);
    appState->selectedOption = 6;
    computeDoseConversion(6);   // morphine to morphine: 120, no halving
    EXPECT_EQ(appState->selectedOption, 6);
    EXPECT_STREQ(optionRegimen(appState, 6), "Drug6 100-120");
    EXPECT_EQ(current(), 0);
}

TEST_F(SelectorTest, FirstRunWithEveryOptionContraindicated)
{
    rangesWith({"Oxy 10 mg", "MS 15 mg", "Oxycodone/Acetaminophen 5/325", "Hydrocodone 5 mg", "None", "MSIR 5 mg"});
    ivDrug(IvMorphine, 120);
    for (std::uint16_t factor : {11707, 11713, 11710})
        answer(factor);
    computeDoseConversion(-1);
    const std::int32_t expected[] = {AbsoluteContraindication, AbsoluteContraindication, AbsoluteContraindication,
                                     AbsoluteContraindication, DoseUnavailable, RelativeContraindication};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(appState->optionStatus[i], expected[i]) << "option " << i + 1;
    EXPECT_EQ(appState->selectedOption, 0);
    // Option 5 was still available when the heading was decided; its "None" came after.
    EXPECT_EQ(lines(), warning(0, allergy) + heading(1, "Select Conversion Option:") + button(3));
    EXPECT_EQ(items(), (std::vector<std::string>{"Conversion Choice", "Relative Contra", "Absolute Contra",
                                                 "Unavailable doses", "Summary"}));
    EXPECT_EQ(texts(appState->optionReasons[2]),
              std::vector<std::string>{"Acetaminophen contraindicated by liver disease and/or alcohol use"});
}

// No drug chosen: no total, nothing to recommend, and nothing that is not a number anywhere.
TEST_F(SelectorTest, RunWithoutAUsableDrug)
{
    answer(10340, 120);
    computeDoseConversion(-1);
    EXPECT_EQ(lines(), std::vector<Line>{paragraph(0, unable)});
    EXPECT_STREQ(appState->currentTherapyText, " 120 mg IV");
    select(2);
    clearDisplayList(&appState->displayList, false);
    buildConversionReport();
    EXPECT_EQ(lines(), std::vector<Line>{paragraph(0, unable)});
}

TEST_F(SelectorTest, BuildLaysOutTheSelectedSection)
{
    ivDrug(IvMorphine, 120);
    computeDoseConversion(-1);
    select(3);   // "Summary"
    fillConversionSections(false);
    clearDisplayList(&appState->displayList, false);
    appState->displayList.firstRow = 4;
    buildConversionReport();
    EXPECT_EQ(appState->displayList.firstRow, 0);
    std::vector<Line> expected = {heading(0, "Current Therapy:"), kept(1, appState->currentTherapyText),
                                  heading(3, "Mitigating Factors:"), paragraph(4, "None")};
    EXPECT_EQ(lines(), expected);
}

} // namespace

namespace {

// Memory running out at any allocation of a run drops that item and nothing else goes wrong.
TEST_F(SelectorTest, RunWithMemoryRunningOut)
{
    ivDrug(IvMorphine, 120);
    for (std::uint16_t factor : {11706, 11707, 11709, 11710})
        answer(factor);
    for (long failAt = 1;; ++failAt) {
        clearDisplayList(&appState->displayList, false);
        setAllocationFailure(failAt);
        computeDoseConversion(-1);
        for (int section = ChoiceSection; section <= SummarySection; ++section)
            layoutConversionSection(section);
        long used = allocationCount();
        setAllocationFailure(0);
        EXPECT_EQ(appState->selectedOption, 3) << "failing allocation " << failAt;
        if (failAt > used)
            break;
    }
}

} // namespace
