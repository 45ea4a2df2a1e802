// The report fixture's set-up and teardown, database writing and reading back of display lines.
#include "report_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "dbfile/heap.h"
#include "dbfile/records.h"
#include "display/fonts.h"
#include "platform/portable/testing.h"
#include "questionnaire/textlist.h"

std::ostream& operator<<(std::ostream& out, const ReportLine& l)
{
    return out << "{row " << l.row << ", \"" << l.text << "\", x " << l.x << "/" << l.contX << (l.bold ? ", bold" : "")
               << (l.plain ? "" : ", NOT PLAIN") << "}";
}

PackedEntry referenceEntry(std::uint16_t id, std::int8_t type, const std::vector<std::string>& fields)
{
    PackedEntry entry;
    putU16(entry.header, id);
    putU8(entry.header, std::uint8_t(type));
    entry.strings = fields;
    entry.strings.resize(17);
    return entry;
}

void ReportTest::SetUp()
{
    app = static_cast<AppState*>(std::calloc(1, sizeof(AppState)));
    q = static_cast<QuestionnaireState*>(std::calloc(1, sizeof(QuestionnaireState)));
    appState = app;
    questionnaireState = q;
    citedReferences = &cited;
    portableSetTestFace(true);
    createDisplayFonts(app);
    app->mainWindow =
        CreateWindowExW(0, u"STATIC", u"host", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    initDisplayList(app);
    app->sectionSelector = CreateWindowExW(0, u"COMBOBOX", u"", CBS_DROPDOWNLIST, 0, 290, 240, 100, app->mainWindow,
                                           nullptr, nullptr, nullptr);
    char pattern[] = "/tmp/zura-reports-XXXXXX";
    folder = mkdtemp(pattern);
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(folder);
}

void ReportTest::TearDown()
{
    setAllocationFailure(0);
    clearDisplayList(&app->displayList, true);
    for (TextList* list : {&app->recommendationList, &app->nonOpioidList, &app->caveatList, &app->monitoringList,
                           &app->rationaleList})
        releaseTextList(list);
    releaseQuestionnaireContents(q);
    releaseList(&cited);
    citedReferences = nullptr;
    DestroyWindow(app->sectionSelector);
    DestroyWindow(app->mainWindow);
    DestroyWindow(app->boldMeasureWindow);
    DestroyWindow(app->normalMeasureWindow);
    portableSetTestFace(false);
    std::free(app);
    std::free(q);
    appState = nullptr;
    questionnaireState = nullptr;
    std::filesystem::current_path(previous);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

void ReportTest::writeContent(const std::vector<Bytes>& records)
{
    std::vector<Bytes> all;
    all.push_back(makeRecord(4, 0, 0, Bytes(8, 0)));   // the reference record is not the first
    all.insert(all.end(), records.begin(), records.end());
    std::string error;
    ASSERT_TRUE(writeBytes(folder + "/Program Files/Quellix/DEZidiVA-Qx4k.pdb", makeContainer(all), &error)) << error;
}

void ReportTest::writeReferences(const std::vector<PackedEntry>& entries)
{
    writeContent({makePackedRecord(3, 0, entries)});
}

void ReportTest::cite(const std::vector<std::uint16_t>& ids)
{
    for (std::uint16_t id : ids)
        findOrAddNode(&cited, id, 0, 0, 0);
}

void ReportTest::selectorShows(const std::vector<std::u16string>& names, int chosen)
{
    SendMessageW(app->sectionSelector, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& name : names)
        SendMessageW(app->sectionSelector, CB_ADDSTRING, 0, LPARAM(name.c_str()));
    SendMessageW(app->sectionSelector, CB_SETCURSEL, WPARAM(chosen), 0);
}

void ReportTest::loadQuestionnaire(const std::vector<ElementSpec>& elements)
{
    ModuleRecords module = makeModuleRecords(0, elements);
    std::string path = folder + "/display.pdb";
    std::string error;
    ASSERT_TRUE(writeBytes(path, makeContainer({module.hierarchy, module.strings}), &error)) << error;
    q->hierarchyRecords[0] = readRecord(1, 0, 0, 0, 0, path.c_str());
    q->stringRecords[0] = readRecord(2, 0, 0, 0, 0, path.c_str());
    ASSERT_NE(q->hierarchyRecords[0], nullptr);
    ASSERT_NE(q->stringRecords[0], nullptr);
}

Answer* ReportTest::answer(std::uint16_t id, float value, std::uint32_t owner, std::uint32_t ownerKey2)
{
    Answer* node = setAnswer(&q->answers, id, value);
    if (node) {
        node->ownerId = owner;
        node->ownerKey2 = ownerKey2;
    }
    return node;
}

void ReportTest::add(TextList* list, const char* text, const char* marker)
{
    ASSERT_NE(appendText(list, text, marker), nullptr);
}

std::vector<ReportLine> ReportTest::lines() const
{
    std::vector<ReportLine> out;
    for (const DisplayLine* l = app->displayList.head; l; l = l->next) {
        bool plain = l->kind == TextLine && l->tag == 0 && l->tag2 == 0 && l->id == 0 && l->group == 0 &&
                     l->width == -1 && (l->flags & (lineUnderline | lineState)) == 0 && (l->flags & lineOwnsText);
        out.push_back({l->row, l->text ? l->text : "<absent>", l->x, l->contX, (l->flags & lineBold) != 0, plain});
    }
    return out;
}

void ReportTest::clearLines() { clearDisplayList(&app->displayList, true); }
