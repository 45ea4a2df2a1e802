// Shared set-up of the display tests: an AppState with the fonts and measuring contexts made on
// the fixed-width test face (6 pixels a character, 7 bold), a host window, and the display list.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbfile/heap.h"
#include "display/displaylist.h"
#include "display/fonts.h"
#include "display/layout.h"
#include "display/render.h"
#include "platform/portable/testing.h"
#include "shell/state.h"

class DisplayTest : public ::testing::Test {
protected:
    AppState state{};
    DisplayList* list = nullptr;
    std::int16_t row = 0;

    void SetUp() override
    {
        portableSetTestFace(true);
        createDisplayFonts(&state);
        state.mainWindow = CreateWindowExW(0, u"STATIC", u"host", WS_VISIBLE, 0, 0, 240, 320,
                                           nullptr, nullptr, nullptr, nullptr);
        initDisplayList(&state);
        list = &state.displayList;
    }

    void TearDown() override
    {
        setAllocationFailure(0);
        clearDisplayList(list, true);
        freeBlock(state.dropLineMap);
        DestroyWindow(state.mainWindow);
        DestroyWindow(state.boldMeasureWindow);
        DestroyWindow(state.normalMeasureWindow);
        portableSetTestFace(false);
    }

    // A line with the usual defaults: not copied, no state, no fixed width.
    DisplayLine* add(std::uint8_t kind, const char* text, std::int16_t atRow, std::int16_t x = 0,
                     std::int16_t contX = -1, std::int16_t width = -1, bool bold = false)
    {
        return addDisplayLine(list, kind, text, 0, 0, atRow, 7, 0, bold, 0, 0, -1, x, contX,
                              width);
    }

    void layout()
    {
        freeDisplayPieces(list);
        layoutDisplayList(list);
    }
};

inline std::string pieceText(const DisplayPiece* piece)
{
    if (!piece->start)
        return "<none>";
    return piece->end ? std::string(piece->start, piece->end) : std::string(piece->start);
}

inline std::vector<const DisplayPiece*> piecesOf(const DisplayLine* line)
{
    std::vector<const DisplayPiece*> out;
    for (const DisplayPiece* piece = line->pieces; piece; piece = piece->next)
        out.push_back(piece);
    return out;
}
