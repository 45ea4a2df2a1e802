// Helpers for the rule tests: a patient's answers built from element ids, the entries and cited
// ids a rule set produced, and the global state records a rule run works on.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "questionnaire/answers.h"
#include "questionnaire/ruleconditions.h"
#include "questionnaire/textlist.h"
#include "tests/common/fixture.h"

// The question whose chosen answers the referral rule counts.
constexpr std::uint32_t factorQuestion = 16157;

// Element ids, named as the clinician sees them: modules, pain and sedation scores, routes, drugs,
// mitigating factors and side effects.
enum : std::uint32_t {
    prescription = 9523, sideEffects = 9526,
    mild = 2062, moderate = 2063, severe = 2064, sedation3 = 2069, holdSedation = 2070,
    pca = 2072, iv = 2073, oral = 2075,
    morphine = 2081, hydromorphone = 2082, fentanyl = 2083,
    hydrocodoneApap = 13087, oxycodone = 13088, oralMorphine = 13089, acetaminophen = 13922, nsaid = 13923,
    sleepApnea = 2047, obesity = 2048, renal = 2051, liverFailure = 2052, excludesApap = 14021,
    heartFailure = 2055, elderly = 9841, breastfeeding = 10270, asthma = 10279,
    nausea = 11226, pruritus = 11225, sedation = 11224, respiratory = 11223, constipation = 13973,
};

struct Patient {
    AnswerList answers = nullptr;
    Patient() = default;
    explicit Patient(const std::vector<std::uint32_t>& chosen) { choose(chosen); }
    ~Patient() { releaseList(&answers); }
    Patient(const Patient&) = delete;
    Patient& operator=(const Patient&) = delete;
    Patient& choose(const std::vector<std::uint32_t>& ids);
    // Chosen answers of the mitigating-factor question: counted under its owner.
    Patient& factors(const std::vector<std::uint32_t>& ids);
};

typedef std::pair<std::string, std::string> TextAndMarker;

std::vector<TextAndMarker> entriesOf(const TextEntry* list);
std::vector<std::string> textsOf(const TextEntry* list);
std::vector<std::uint32_t> idsOf(const Answer* list);

typedef void RuleSetFunction(AnswerList*, const RuleContext&, TextList*);

// One rule set run on its own: its entries and the ids it recorded.
struct SetResult {
    std::vector<TextAndMarker> entries;
    std::vector<std::uint32_t> ids;
};
SetResult runSet(RuleSetFunction* rules, const Patient& patient);

// The global records a rule run uses, zero-filled, installed for a test's lifetime and released
// at the end as teardown releases them.
struct RunState {
    GlobalRecords records;
    AppState& app;
    QuestionnaireState& questionnaire;
    RunState();
    ~RunState();
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;
    void resetSections() { releaseSectionLists(&app); }   // what the main window does before a run
    std::vector<std::uint32_t> cited() const;
};

// The names a run offers (empty when the run could not start), its section lists reset first.
std::vector<std::string> prescriptionRun(RunState& state, const Patient& patient);
std::vector<std::string> sideEffectRun(RunState& state, const Patient& patient);

// Writes a content database holding a reference record with one citation per id under a fresh
// temporary folder, and makes that folder the current one until destroyed.
struct ContentRoot {
    ScratchFolder folder{"rules-content"};
    explicit ContentRoot(std::vector<std::uint16_t> referenceIds, bool withRecord = true);
};
