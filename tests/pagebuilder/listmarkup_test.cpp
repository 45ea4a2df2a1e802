// List markup in report paragraphs becoming separate display lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../questionnaire/fixture.h"
#include "dbfile/heap.h"
#include "display/pagebuilder.h"

namespace {

class ListMarkup : public QuestionnaireTest {
protected:
    void TearDown() override
    {
        clearDisplayList(&app->displayList, false);
        QuestionnaireTest::TearDown();
    }
    struct Line {
        std::string text;
        int row, x, contX;
    };
    std::vector<Line> lines() const
    {
        std::vector<Line> out;
        for (const DisplayLine* l = app->displayList.head; l; l = l->next)
            out.push_back({l->text ? l->text : "(none)", l->row, l->x, l->contX});
        return out;
    }
};

TEST_F(ListMarkup, ParagraphsBecomeLines)
{
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a list between two words", "Give<ul><li>morphine</li><li>fentanyl</li></ul>then review",
         {"Give", "- morphine", "- fentanyl", "\nthen review"}},
        {"no markup", "Plain paragraph.", {"Plain paragraph."}},
        {"a trailing closing tag is dropped", "Plain</p>", {"Plain"}},
        {"items without closing tags", "A<ul><li>one<li>two", {"A", "- one", "- two"}},
        {"an item with no tag before it keeps the text before it", "Take<li>one</ul>",
         {"Take", "- one", "\n"}},
        {"an empty paragraph", "", {""}},
    };
    for (const Case& c : cases) {
        clearDisplayList(&app->displayList, false);
        EXPECT_EQ(expandListMarkup(c.text, 7), 7 + int(c.lines.size())) << c.name;
        std::vector<Line> got = lines();
        ASSERT_EQ(got.size(), c.lines.size()) << c.name;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, c.lines[i]) << c.name << " line " << i;
            EXPECT_EQ(got[i].row, 7 + int(i)) << c.name;
            int x = c.lines[i][0] == '-' ? 5 : 0;
            EXPECT_EQ(got[i].x, x) << c.name << " line " << i;
            EXPECT_EQ(got[i].contX, x) << c.name << " line " << i;
        }
    }
}

TEST_F(ListMarkup, TheCallersTextIsNotChangedAndNoMemoryAddsNothing)
{
    std::string text = "Give<ul><li>morphine</li></ul>";
    std::string before = text;
    expandListMarkup(text.c_str(), 0);
    EXPECT_EQ(text, before);
    clearDisplayList(&app->displayList, false);
    setAllocationFailure(1);
    EXPECT_EQ(expandListMarkup(text.c_str(), 3), 3);
    setAllocationFailure(0);
    EXPECT_TRUE(lines().empty());
}

} // namespace
