// The whole report of the results page on screen, for reading, printing and pasting into a chart
// note. It is read from the program's own display lines: each section the selector offers is
// selected as a user would pick it (the selector's change notification to the main window), its
// lines are read, and the user's section and scroll position are restored afterwards. Nothing of
// the report is composed here. Runs on the program thread.
#include "hosts/web/web.h"

#include "display/displaylist.h"
#include "shell/state.h"

#include <ctime>

namespace {

HWND shownSelector()
{
    if (!appState || !appState->sectionSelector || !appState->mainWindow)
        return nullptr;
    HWND selector = appState->sectionSelector;
    if (!IsWindowVisible(selector) || SendMessageW(selector, CB_GETCOUNT, 0, 0) <= 0)
        return nullptr;
    return selector;
}

std::string windowText(HWND window)
{
    WCHAR text[256] = {};
    int length = window ? GetWindowTextW(window, text, 256) : 0;
    return webUtf8(std::u16string(text, text + (length > 0 ? length : 0)));
}

std::string entryText(HWND selector, int index)
{
    LRESULT length = SendMessageW(selector, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length <= 0 || length > 1000)
        return {};
    std::u16string text(std::size_t(length) + 1, u'\0');
    SendMessageW(selector, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    text.resize(std::size_t(length));
    return webUtf8(text);
}

// The program's text is 8-bit, one byte a character.
std::string lineText(const char* text)
{
    std::u16string wide;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        wide.push_back(char16_t(*p));
    return webUtf8(wide);
}

void select(HWND selector, int index)
{
    SendMessageW(selector, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(appState->mainWindow, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(selector), CBN_SELCHANGE), LPARAM(selector));
}

// The section's visible lines: lines of one row form a row (a line placed after the one before
// continues it), rows without a blank row between them form a paragraph.
std::vector<WebReportParagraph> readLines()
{
    std::vector<WebReportParagraph> paragraphs;
    int lastRow = -2;
    for (const DisplayLine* l = appState->displayList.head; l; l = l->next) {
        if (!(l->flags & lineVisible) || !l->text || !*l->text || l->kind == RuleLine || l->kind == DropList ||
            l->kind == DropListMore)
            continue;
        bool sameRow = l->row == lastRow && !paragraphs.empty();
        if (!sameRow && (paragraphs.empty() || l->row > lastRow + 1))
            paragraphs.emplace_back();
        std::vector<WebReportRow>& rows = paragraphs.back().rows;
        if (!sameRow)
            rows.push_back(WebReportRow{l->x > 0 ? l->x : 0, {}});
        // A run-on line beside its heading ("WARNING:" and its text) is drawn a gap apart on the
        // screen; in text to read and paste it needs a space there.
        std::string text = lineText(l->text);
        std::vector<WebReportRun>& runs = rows.back().runs;
        if (!runs.empty() && !runs.back().text.empty() && runs.back().text.back() != ' ' && text[0] != ' ')
            text.insert(0, 1, ' ');
        runs.push_back(WebReportRun{text, (l->flags & lineBold) != 0});
        lastRow = l->row;
    }
    return paragraphs;
}

}  // namespace

bool webReportAvailable()
{
    return shownSelector() != nullptr;
}

bool webReadReport(WebReport* report)
{
    HWND selector = shownSelector();
    if (!selector)
        return false;
    int chosen = int(SendMessageW(selector, CB_GETCURSEL, 0, 0));
    int firstRow = appState->displayList.firstRow;
    report->program = windowText(appState->mainWindow);
    report->title = windowText(appState->titleLabel);
    char when[64] = {};
    std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", std::localtime(&now));
    report->when = when;
    int count = int(SendMessageW(selector, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        select(selector, i);
        report->sections.push_back(WebReportSection{entryText(selector, i), readLines()});
    }
    select(selector, chosen < 0 ? 0 : chosen);
    if (firstRow > 0 && appState->scrollBar)
        SendMessageW(appState->mainWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, firstRow), LPARAM(appState->scrollBar));
    return true;
}

namespace {

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "<br>"; break;
        default: out += c;
        }
    }
    return out;
}

std::string runText(const WebReportRow& row)
{
    std::string text;
    for (const WebReportRun& run : row.runs)
        text += run.text;
    return text;
}

const char reportStyle[] = R"CSS(
  body { margin: 1.5em auto; padding: 0 1em; max-width: 46em; font: 16px/1.45 "DejaVu Sans", sans-serif; color: #111; }
  h1 { font-size: 1.4em; margin: 0 0 .2em; }
  .meta { color: #555; margin: 0 0 1em; }
  .tools { display: flex; gap: .6em; align-items: center; margin-bottom: 1em; }
  .tools button { font: inherit; padding: .35em 1em; }
  #copied { color: #1d6b2f; }
  h2 { font-size: 1.15em; border-bottom: 1px solid #bbb; margin: 1.6em 0 .5em; }
  .p { margin: 0 0 .7em; }
  @page { margin: 16mm 14mm; }
  @media print {
    body { margin: 0; max-width: none; font-size: 10.5pt; }
    .tools { display: none; }
    h2 { break-after: avoid; }
    .p { break-inside: avoid; }
  }
)CSS";

const char copyScript[] = R"JS(
  document.getElementById('copy').addEventListener('click', async () => {
    const text = document.getElementById('plain').value;
    const done = document.getElementById('copied');
    try {
      await navigator.clipboard.writeText(text);
    } catch (e) {
      const area = document.getElementById('plain');
      area.hidden = false;
      area.select();
      document.execCommand('copy');
      area.hidden = true;
    }
    done.textContent = 'Copied';
  });
)JS";

}  // namespace

std::string webReportText(const WebReport& report)
{
    std::string out = report.title + "\n" + report.program + ", " + report.when + "\n";
    for (const WebReportSection& section : report.sections) {
        out += "\n" + section.heading + "\n" + std::string(section.heading.size(), '-') + "\n";
        bool first = true;
        for (const WebReportParagraph& paragraph : section.paragraphs) {
            if (!first)
                out += "\n";
            first = false;
            for (const WebReportRow& row : paragraph.rows)
                out += std::string(std::size_t((row.indent + 3) / 4), ' ') + runText(row) + "\n";
        }
    }
    return out;
}

std::string webReportHtml(const WebReport& report)
{
    std::string out = "<!doctype html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
                      escaped(report.title) + " - " + escaped(report.program) + "</title>\n<style>" + reportStyle +
                      "</style>\n</head>\n<body>\n<h1>" + escaped(report.title) + "</h1>\n<p class=\"meta\">" +
                      escaped(report.program) + ", " + escaped(report.when) + "</p>\n" +
                      "<div class=\"tools\"><button type=\"button\" id=\"copy\">Copy</button>"
                      "<button type=\"button\" onclick=\"print()\">Print</button>"
                      "<a href=\"/report.txt\">Plain text</a><span id=\"copied\" role=\"status\"></span></div>\n";
    for (const WebReportSection& section : report.sections) {
        out += "<section>\n<h2>" + escaped(section.heading) + "</h2>\n";
        for (const WebReportParagraph& paragraph : section.paragraphs) {
            out += "<div class=\"p\">";
            for (const WebReportRow& row : paragraph.rows) {
                out += row.indent > 0 ? "<div style=\"padding-left:" + std::to_string(row.indent) + "px\">" : "<div>";
                for (const WebReportRun& run : row.runs)
                    out += run.bold ? "<b>" + escaped(run.text) + "</b>" : escaped(run.text);
                out += "</div>";
            }
            out += "</div>\n";
        }
        out += "</section>\n";
    }
    out += "<textarea id=\"plain\" hidden readonly>";
    std::string text = webReportText(report);
    for (char c : text)
        out += c == '<' ? std::string("&lt;") : c == '&' ? std::string("&amp;") : std::string(1, c);
    out += "</textarea>\n<script>" + std::string(copyScript) + "</script>\n</body>\n</html>\n";
    return out;
}
