// Layout and rendering of a 200-line report: the work the program does when a report is shown
// (lay out every line, make the controls of the first page) and when it is scrolled.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "display/displaylist.h"
#include "display/fonts.h"
#include "display/layout.h"
#include "display/render.h"
#include "platform/portable/testing.h"
#include "shell/state.h"

namespace {

// A report as the reports build it: headings, paragraphs that wrap over two to four screen
// lines, indented list items, a blank row after each paragraph. 200 lines in all.
struct Report {
    AppState state{};
    std::vector<std::string> texts;

    explicit Report(bool testFace)
    {
        portableSetTestFace(testFace);
        createDisplayFonts(&state);
        state.mainWindow = CreateWindowExW(0, u"STATIC", u"host", WS_VISIBLE, 0, 0, 240, 320,
                                           nullptr, nullptr, nullptr, nullptr);
        initDisplayList(&state);
        texts.reserve(200);
        for (int i = 0; i < 200; ++i) {
            char text[400];
            if (i % 10 == 0)
                std::snprintf(text, sizeof text, "Section %d", i / 10 + 1);
            else
                std::snprintf(text, sizeof text,
                              "%d. Oxycodone 5-10 mg PO q4h PRN moderate pain; reassess the "
                              "sedation score and respiratory rate before each dose/%d and "
                              "hold when the patient is drowsy.",
                              i, i % 7);
            texts.emplace_back(text);
        }
        std::int16_t row = 0;
        for (int i = 0; i < 200; ++i) {
            bool heading = i % 10 == 0;
            std::int16_t indent = heading ? 0 : static_cast<std::int16_t>(8 * (i % 3));
            addDisplayLine(&state.displayList, TextLine, texts[i].c_str(), 0, 0, row, 0, 0,
                           heading, 0, 0, 0, indent, indent, -1);
            row = static_cast<std::int16_t>(row + (heading ? 1 : 2));
        }
    }

    ~Report()
    {
        clearDisplayList(&state.displayList, true);
        DestroyWindow(state.mainWindow);
        DestroyWindow(state.boldMeasureWindow);
        DestroyWindow(state.normalMeasureWindow);
        portableSetTestFace(false);
    }
};

void layoutReport(benchmark::State& run, bool testFace)
{
    Report report(testFace);
    DisplayList* list = &report.state.displayList;
    for (auto _ : run) {
        freeDisplayPieces(list);
        layoutDisplayList(list);
        benchmark::DoNotOptimize(list->rowCount);
    }
    run.counters["rows"] = list->rowCount;
    std::size_t chars = 0;
    for (const std::string& text : report.texts)
        chars += text.size();
    run.counters["chars"] = double(chars);
}

void showReport(benchmark::State& run, bool testFace)
{
    Report report(testFace);
    DisplayList* list = &report.state.displayList;
    for (auto _ : run) {
        list->firstRow = 0;
        benchmark::DoNotOptimize(renderDisplayList(list, 0, true));
    }
}

void scrollReport(benchmark::State& run, bool testFace)
{
    Report report(testFace);
    DisplayList* list = &report.state.displayList;
    renderDisplayList(list, 0, true);
    int delta = 1;
    for (auto _ : run) {
        if (list->firstRow + delta > lastFirstRow(list) || list->firstRow + delta < 0)
            delta = -delta;
        benchmark::DoNotOptimize(renderDisplayList(list, delta, false));
    }
}

} // namespace

// Real fonts (DejaVu measured with FreeType), as the program runs.
BENCHMARK_CAPTURE(layoutReport, dejavu, false)->Unit(benchmark::kMicrosecond);
// A known number of layouts, for bench/measure.sh to count the instructions of each.
BENCHMARK_CAPTURE(layoutReport, counted, false)->Iterations(10);
BENCHMARK_CAPTURE(showReport, dejavu, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(scrollReport, dejavu, false)->Unit(benchmark::kMicrosecond);
// The fixed-width test face: the cost of the algorithm alone.
BENCHMARK_CAPTURE(layoutReport, testFace, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(showReport, testFace, true)->Unit(benchmark::kMicrosecond);
