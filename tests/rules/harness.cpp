// Test helpers for the rule tests (see harness.h).
#include "harness.h"

#include "rules/sections.h"

Patient& Patient::choose(const std::vector<std::uint32_t>& ids)
{
    for (std::uint32_t id : ids)
        setAnswer(&answers, id, 1.0f);
    return *this;
}

Patient& Patient::factors(const std::vector<std::uint32_t>& ids)
{
    for (std::uint32_t id : ids)
        if (Answer* node = setAnswer(&answers, id, 1.0f))
            node->ownerId = factorQuestion;
    return *this;
}

std::vector<TextAndMarker> entriesOf(const TextEntry* list)
{
    std::vector<TextAndMarker> out;
    for (; list; list = list->next)
        out.emplace_back(list->text ? list->text : "<absent>", list->marker ? list->marker : "<absent>");
    return out;
}

std::vector<std::string> textsOf(const TextEntry* list)
{
    std::vector<std::string> out;
    for (const TextAndMarker& e : entriesOf(list))
        out.push_back(e.first);
    return out;
}

std::vector<std::uint32_t> idsOf(const Answer* list)
{
    std::vector<std::uint32_t> out;
    for (; list; list = list->next)
        out.push_back(list->elementId);
    return out;
}

SetResult runSet(RuleSetFunction* rules, const Patient& patient)
{
    AnswerList cited = nullptr;
    TextList output = nullptr;
    AnsweredIds answered;   // as the runs give it
    noteAnsweredIds(&answered, patient.answers);
    rules(&cited, RuleContext{patient.answers, nullptr, 0, 0, 0, &answered}, &output);
    SetResult result{entriesOf(output), idsOf(cited)};
    releaseTextList(&output);
    releaseList(&cited);
    return result;
}

RunState::RunState() : app((records.install(), *records.app)), questionnaire(*records.q) {}

RunState::~RunState() { records.release(); }

std::vector<std::uint32_t> RunState::cited() const { return citedReferences ? idsOf(*citedReferences) : std::vector<std::uint32_t>{}; }

static std::vector<std::string> namesOf(bool started, const SectionNames& sections)
{
    std::vector<std::string> out;
    for (int i = 0; started && i < sections.count; ++i)
        out.push_back(sections.names[i]);
    return out;
}

std::vector<std::string> prescriptionRun(RunState& state, const Patient& patient)
{
    state.resetSections();
    state.questionnaire.answers = patient.answers;
    SectionNames sections{};
    bool started = prescriptionSections(&sections);
    state.questionnaire.answers = nullptr;
    return namesOf(started, sections);
}

std::vector<std::string> sideEffectRun(RunState& state, const Patient& patient)
{
    state.resetSections();
    state.questionnaire.answers = patient.answers;
    SectionNames sections{};
    bool started = sideEffectSections(&sections);
    state.questionnaire.answers = nullptr;
    return namesOf(started, sections);
}

ContentRoot::ContentRoot(std::vector<std::uint16_t> referenceIds, bool withRecord)
{
    std::vector<PackedEntry> entries;
    for (std::uint16_t id : referenceIds) {
        PackedEntry entry;
        putU16(entry.header, id);
        putU8(entry.header, 1);
        entry.strings.assign(17, "");
        entry.strings[0] = "Author A";
        entry.strings[1] = "A title";
        entries.push_back(entry);
    }
    std::vector<Bytes> records;
    if (withRecord)
        records.push_back(makePackedRecord(3, 0, entries));
    folder.write(dataRootContentFile, contentDatabase(records));
    folder.enter();
}
