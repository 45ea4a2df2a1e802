// The About page: the program's name, version, a way to reach the maker, and the disclaimer.
#include "shell/shell.h"
#include "shell/state.h"

namespace {

struct AboutLine {
    std::int16_t row;
    const char* text;
    bool bold;
    bool copy;
    std::int16_t x;   // also contX; -1 flows on after the line before
};

const AboutLine aboutLines[] = {
    // row  text                                                           bold   copy   x
    {0, "Dolvara", true, false, 2},
    {2, "Dolvara Version: 1.1", false, false, 2},
    {3, "Last update Date: Oct. 8, 2004", false, false, 2},
    {4, "Comments and questions are welcome on our web site: www.example.org", false, true, 2},
    {6, "DISCLAIMER:\nThe information contained in this Software and Program is intended to supplement the knowledge "
        "of health care professionals regarding therapeutic management of diseases. ",
     false, false, 2},
    {6, "THIS INFORMATION IS ADVISORY ONLY AND IS NOT INTENDED TO REPLACE SOUND CLINICAL JUDGMENT OR INDIVIDUALIZED "
        "PATIENT CARE ",
     true, false, -1},
    {6, "in the delivery of health care services. Medical information is constantly evolving because of ongoing "
        "research and clinical experience and is subject to interpretation.",
     false, false, -1},
    {8, "Although the information in this software is derived from the research literature and is subject to review "
        "and approval by the Quellix editor and editorial review panel, its comprehensiveness or currency cannot be "
        "guaranteed. The User of this software assumes sole responsibility for any decisions made or actions taken "
        "based on the information contained in this software, including but not limited to the therapeutic "
        "suggestions.",
     false, false, 2},
    {10, "Quellix disclaims all warranties regarding such information or therapeutic suggestions, whether express or "
         "implied, including any warranty as to the quality, accuracy, currency or suitability of the information or "
         "therapeutic suggestions for any particular purpose.",
     false, false, 2},
    {12, "Quellix has no liability to any person or entity for any claim, loss or damage caused or alleged to be "
         "caused, directly or indirectly, by the use of this software or the information contained in it.",
     false, false, 2},
};

} // namespace

DisplayLine* buildAboutPage()
{
    DisplayLine* last = nullptr;
    for (const AboutLine& l : aboutLines) {
        std::int16_t row = l.row;
        DisplayLine* line = addDisplayLine(&appState->displayList, TextLine, l.text, 0, 0, row, 0, false, l.bold, false,
                                           l.copy, 0, l.x, l.x, -1);
        if (line)
            last = line;
    }
    return last;
}
