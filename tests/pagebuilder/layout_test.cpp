// The page builder's lines laid out on the fixed-width test face: a check box whose caption
// wraps continues 17 pixels right of its x, below its box.
#include <gtest/gtest.h>

#include "../questionnaire/fixture.h"
#include "display/fonts.h"
#include "display/layout.h"
#include "display/pagebuilder.h"
#include "platform/portable/testing.h"

namespace {

class PageLayout : public QuestionnaireTest {
protected:
    void SetUp() override
    {
        QuestionnaireTest::SetUp();
        answer(1979);
        portableSetTestFace(true);
        createDisplayFonts(app);
        app->mainWindow = CreateWindowExW(0, u"STATIC", u"host", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                          nullptr, nullptr);
        initDisplayList(app);
    }
    void TearDown() override
    {
        clearDisplayList(&app->displayList, true);
        DestroyWindow(app->mainWindow);
        DestroyWindow(app->boldMeasureWindow);
        DestroyWindow(app->normalMeasureWindow);
        portableSetTestFace(false);
        QuestionnaireTest::TearDown();
    }
};

TEST_F(PageLayout, AWrappingCheckBoxContinuesRightOfItsBox)
{
    using T = ElementType;
    loadModules({{E(1979, T::CONTAINER, 0), E(5000, T::PAGE, 1),
                  E(5001, T::CHECKBOX, 3, "A check box whose caption is far too long for one screen line"),
                  E(5002, T::LABEL, 2, "Next")}});
    ASSERT_EQ(buildPage(5000, nullptr, nullptr, nullptr), 2);
    layoutDisplayList(&app->displayList);
    const DisplayLine* box = app->displayList.head;
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->pieces, nullptr);
    ASSERT_NE(box->pieces->next, nullptr);
    EXPECT_EQ(box->pieces->kind, CheckBox);
    EXPECT_EQ(box->pieces->x, app->displayList.left + 16);
    EXPECT_EQ(box->pieces->next->kind, TextLine);
    EXPECT_EQ(box->pieces->next->x, app->displayList.left + 16 + 17);
    const DisplayPiece* last = box->pieces;
    for (const DisplayPiece* p = box->pieces->next; p; p = p->next) {
        EXPECT_EQ(p->x, app->displayList.left + 16 + 17);
        last = p;
    }
    EXPECT_EQ(box->next->pieces->row, last->row + 1);   // the next element follows the caption
}

} // namespace
