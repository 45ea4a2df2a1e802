// Text lists: entries in insertion order, owned copies, markers matched without letter case.
#include <gtest/gtest.h>

#include <string>

#include "dbfile/heap.h"
#include "questionnaire/textlist.h"

namespace {

struct Texts {
    TextList head = nullptr;
    ~Texts() { releaseTextList(&head); }
};

TEST(AppendText, AppendsCopiesInOrder)
{
    Texts list;
    char text[] = "Morphine 5 mg";
    TextEntry* first = appendText(&list.head, text, "NOTE");
    appendText(&list.head, "second", "");
    appendText(&list.head, nullptr, nullptr);
    text[0] = 'X';
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->text, "Morphine 5 mg") << "the entry owns a copy";
    EXPECT_STREQ(first->marker, "NOTE");
    EXPECT_EQ(first->word1, 0u);
    EXPECT_EQ(first->byte, 0u);
    ASSERT_NE(first->next, nullptr);
    EXPECT_STREQ(first->next->text, "second");
    TextEntry* third = first->next->next;
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->text, nullptr);
    EXPECT_EQ(third->marker, nullptr);
    EXPECT_EQ(third->next, nullptr);
}

TEST(HasMarker, IgnoresLetterCaseAndNeverMatchesAnAbsentMarker)
{
    Texts list;
    appendText(&list.head, "a", "Logic");
    appendText(&list.head, "b", nullptr);
    const struct {
        const char* marker;
        bool expected;
    } cases[] = {{"LOGIC", true}, {"logic", true}, {"Logic", true}, {"Logi", false},
                 {"", false}, {nullptr, false}, {"NOTE", false}};
    for (const auto& c : cases)
        EXPECT_EQ(hasMarker(list.head, c.marker), c.expected) << (c.marker ? c.marker : "(absent)");
    appendText(&list.head, "c", "");
    EXPECT_TRUE(hasMarker(list.head, ""));
    EXPECT_FALSE(hasMarker(nullptr, ""));
}

TEST(AppendTextWithoutMemory, EntryDroppedOrStringsLeftAbsent)
{
    // Allocations in order: the entry, the text's copy, the marker's copy.
    for (long n = 1;; ++n) {
        Texts list;
        appendText(&list.head, "kept", "");
        setAllocationFailure(n, false, true);
        TextEntry* e = appendText(&list.head, "new", "HOLD");
        bool failed = allocationCount() >= n;
        setAllocationFailure(0);
        std::string at = "failure at " + std::to_string(n);
        if (n == 1 && failed) {
            EXPECT_EQ(e, nullptr) << at;
            EXPECT_EQ(list.head->next, nullptr) << at << ": nothing appended";
            continue;
        }
        ASSERT_NE(e, nullptr) << at;
        EXPECT_EQ(list.head->next, e) << at << ": appended at the end";
        if (!failed) {
            EXPECT_STREQ(e->text, "new");
            EXPECT_STREQ(e->marker, "HOLD");
            break;
        }
        EXPECT_EQ(e->text == nullptr, n == 2) << at;
        EXPECT_EQ(e->marker == nullptr, n == 3) << at;
        ASSERT_LT(n, 10);
    }
}

TEST(AppendText, CountsOneAllocationPerStoredString)
{
    // Failure walks step through allocations one by one: an entry made in one block must still
    // count its entry and each copy.
    const struct {
        const char* text;
        const char* marker;
        long expected;
    } cases[] = {{"t", "m", 3}, {nullptr, "m", 2}, {"t", nullptr, 2}, {nullptr, nullptr, 1}};
    for (const auto& c : cases) {
        Texts list;
        setAllocationFailure(1000);
        appendText(&list.head, c.text, c.marker);
        EXPECT_EQ(allocationCount(), c.expected);
        setAllocationFailure(0);
    }
}

TEST(ReleaseTextList, EmptiesTheHolder)
{
    TextList list = nullptr;
    releaseTextList(&list);
    releaseTextList(nullptr);
    appendText(&list, "x", "y");
    releaseTextList(&list);
    EXPECT_EQ(list, nullptr);
}

} // namespace
