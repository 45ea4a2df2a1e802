// The report fixture's set-up and teardown, database writing and reading back of display lines.
#include "report_fixture.h"

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
    install();
    cite({});   // the holder of cited references, as a rule run leaves it
    portableSetTestFace(true);
    createDisplayFonts(app);
    app->mainWindow =
        CreateWindowExW(0, u"STATIC", u"host", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    initDisplayList(app);
    app->sectionSelector = CreateWindowExW(0, u"COMBOBOX", u"", CBS_DROPDOWNLIST, 0, 290, 240, 100, app->mainWindow,
                                           nullptr, nullptr, nullptr);
    folder.enter();
}

void ReportTest::TearDown()
{
    clearDisplayList(&app->displayList, true);
    DestroyWindow(app->sectionSelector);
    DestroyWindow(app->mainWindow);
    DestroyWindow(app->boldMeasureWindow);
    DestroyWindow(app->normalMeasureWindow);
    portableSetTestFace(false);
    release();
}

void ReportTest::writeContent(const std::vector<Bytes>& records) { folder.write(dataRootContentFile, contentDatabase(records)); }

void ReportTest::writeReferences(const std::vector<PackedEntry>& entries)
{
    writeContent({makePackedRecord(3, 0, entries)});
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
    folder.write("display.pdb", displayDatabase({elements}));
    loadDisplay(folder.path + "/display.pdb");
    ASSERT_NE(q->stringRecords[0], nullptr);
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
