// The answer store as the rules, the page flow and the controls use it.
#include <gtest/gtest.h>

#include <vector>

#include "dbfile/heap.h"
#include "questionnaire/answers.h"

namespace {

std::vector<std::uint32_t> idsOf(const Answer* head)
{
    std::vector<std::uint32_t> ids;
    for (; head; head = head->next)
        ids.push_back(head->elementId);
    return ids;
}

struct List {
    AnswerList head = nullptr;
    ~List() { releaseList(&head); }
};

TEST(AnswerValue, TruncatesTowardZeroAndIsZeroWithoutAnAnswer)
{
    const struct {
        float value;
        std::int32_t expected;
    } cases[] = {
        {0.0f, 0}, {0.7f, 0}, {-1.5f, -1}, {37.9f, 37}, {1300.0f, 1300}, {1.0f, 1},
        {3e9f, INT32_MAX}, {-3e9f, INT32_MIN},   // beyond 32 bits: the nearest end, never undefined
    };
    for (const auto& c : cases) {
        List answers;
        setAnswer(&answers.head, 1547, c.value);
        EXPECT_EQ(answerValue(answers.head, 1547), c.expected) << "value " << c.value;
    }
    List empty;
    EXPECT_EQ(answerValue(empty.head, 1547), 0);
}

// The filter a rule run makes of its answers must never hide an answer the list holds: every
// id, and the ids that share its bit, reads the same through the filter as from the list.
TEST(AnsweredIds, ReadEveryIdAsTheListDoes)
{
    struct Node {
        std::uint32_t id, key2, state;
        float value;
    };
    const std::vector<std::vector<Node>> scenarios = {
        {},
        {{2075, 0, 0, 1.0f}, {9523, 0, 0, 1.0f}, {2072, 0, 0, 0.0f}},
        {{1516, 0, 0, 0.4f}, {1547, 0, 0, -2.5f}, {12665, 0, 0, 1301.0f}},   // truncated to 0; negative
        {{492, 0, 0, 1.0f}, {1516, 0, 0, 0.0f}, {2540, 0, 0, 0.0f}},         // one bit, answered once
        {{7001, 0, 1, 0.0f}, {7001, 0, 2, 5.0f}},    // the first node decides, the second is not read
        {{7002, 3, 0, 1.0f}, {7003, 0, 0, 1.0f}},    // a node with another second key is no answer
    };
    for (std::size_t n = 0; n < scenarios.size(); ++n) {
        List answers;
        std::vector<std::uint32_t> probes = {0, 1, 65535};
        for (const Node& node : scenarios[n]) {
            findOrAddNode(&answers.head, node.id, node.key2, node.state, 0)->value = node.value;
            for (std::uint32_t near : {node.id, node.id + 1, node.id + answeredIdBits, node.id - answeredIdBits})
                probes.push_back(near);
        }
        AnsweredIds ids;
        noteAnsweredIds(&ids, answers.head);
        for (std::uint32_t id : probes)
            EXPECT_EQ(answerValue(answers.head, &ids, id), answerValue(answers.head, id))
                << "scenario " << n << ", id " << id;
        EXPECT_EQ(answerValue(nullptr, static_cast<const AnsweredIds*>(nullptr), 2075), 0);
    }
    List answers;
    setAnswer(&answers.head, 7001, 0.0f);
    setAnswer(&answers.head, 7003, 1.0f);
    AnsweredIds ids;
    noteAnsweredIds(&ids, answers.head);
    EXPECT_EQ(answerValue(answers.head, &ids, 7003), 1);
    EXPECT_EQ(answerValue(answers.head, &ids, 7001), 0);
    EXPECT_EQ(answerValue(answers.head, nullptr, 7003), 1) << "without a filter the list answers";
}

TEST(CountChosen, CountsNonZeroAnswersOfTheOwner)
{
    List answers;
    const struct {
        std::uint32_t id, owner, ownerKey2;
        float value;
    } rows[] = {
        {1, 16157, 0, 1.0f}, {2, 16157, 0, 0.0f}, {3, 16157, 0, 2.0f},
        {4, 16158, 0, 1.0f}, {5, 16157, 1, 1.0f},   // another owner; a second owner word
    };
    for (const auto& r : rows) {
        Answer* a = setAnswer(&answers.head, r.id, r.value);
        a->ownerId = r.owner;
        a->ownerKey2 = r.ownerKey2;
    }
    EXPECT_EQ(countChosen(answers.head, 16157), 2);
    EXPECT_EQ(countChosen(answers.head, 16157 + 0x10000), 2) << "owner taken as 16 bits";
    EXPECT_EQ(countChosen(answers.head, 99), 0);
    EXPECT_EQ(findAnswerByOwner(answers.head, 16157, 1)->elementId, 5u);
    EXPECT_EQ(findAnswerByOwner(answers.head, 16158, 0)->elementId, 4u);
    EXPECT_EQ(findAnswerByOwner(answers.head, 7, 0), nullptr);
}

TEST(FindOrAddNode, KeepsTheOrderOfFirstInsertion)
{
    List list;
    Answer* first = findOrAddNode(&list.head, 30, 0, 0, 0);
    findOrAddNode(&list.head, 10, 0, 0, 0);
    findOrAddNode(&list.head, 20, 0, 2, 0);
    EXPECT_EQ(findOrAddNode(&list.head, 30, 0, 0, 0), first) << "existing keys give the existing node";
    findOrAddNode(&list.head, 20, 0, 1, 0);   // same element, other state: a node of its own
    EXPECT_EQ(idsOf(list.head), (std::vector<std::uint32_t>{30, 10, 20, 20}));
    Answer* fresh = findOrAddNode(&list.head, 5, 6, 7, 8);
    EXPECT_EQ(fresh->key2, 6u);
    EXPECT_EQ(fresh->state, 7u);
    EXPECT_EQ(fresh->key4, 8u);
    EXPECT_EQ(fresh->ownerId, 0u);
    EXPECT_EQ(fresh->value, 0.0f);
    EXPECT_EQ(fresh->next, nullptr);
}

TEST(FindQueries, MatchKeysAndReportThePredecessor)
{
    List list;
    findOrAddNode(&list.head, 1, 0, 0, 0);
    findOrAddNode(&list.head, 2, 0, 2, 0);
    findOrAddNode(&list.head, 2, 0, 1, 0);
    Answer* before = nullptr;
    Answer* a = findAnswer(list.head, 2, 0, &before);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->state, 2u) << "findAnswer takes the first node whatever its state";
    EXPECT_EQ(before, list.head);
    Answer* node = nullptr;
    EXPECT_TRUE(findNode(list.head, 2, 0, 1, 0, &node, &before));
    EXPECT_EQ(node->state, 1u);
    EXPECT_EQ(before->state, 2u);
    EXPECT_TRUE(findNode(list.head, 1, 0, 0, 0, &node, &before));
    EXPECT_EQ(before, nullptr) << "the head has no predecessor";
    EXPECT_FALSE(findNode(list.head, 2, 0, 3, 0));
    EXPECT_EQ(findAnswer(list.head, 1, 9), nullptr);
    EXPECT_FALSE(hasId(nullptr, 1));
    EXPECT_EQ(findAnswer(nullptr, 1, 0), nullptr);
}

TEST(RemoveNode, RelinksAroundTheRemovedNode)
{
    const struct {
        const char* name;
        std::uint32_t remove;
        std::vector<std::uint32_t> left;
    } cases[] = {
        {"head of three", 1, {2, 3}},
        {"middle", 2, {1, 3}},
        {"tail", 3, {1, 2}},
        {"absent", 4, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        List list;
        for (std::uint32_t id : {1u, 2u, 3u})
            addId(&list.head, id);
        removeNode(&list.head, c.remove, 0, 0, 0);
        EXPECT_EQ(idsOf(list.head), c.left) << c.name;
    }
    List two;
    addId(&two.head, 1);
    addId(&two.head, 2);
    removeNode(&two.head, 1, 0, 0, 0);
    ASSERT_NE(two.head, nullptr);
    EXPECT_EQ(two.head->elementId, 2u) << "removing the head of two leaves the other as head";
    removeNode(&two.head, 2, 0, 0, 0);
    EXPECT_EQ(two.head, nullptr);
    removeNode(&two.head, 2, 0, 0, 0);
}

TEST(IdLists, AddingTwiceLeavesOneNode)
{
    List ids;
    addId(&ids.head, 2456);
    addId(&ids.head, 2456);
    EXPECT_EQ(idsOf(ids.head), std::vector<std::uint32_t>{2456});
    EXPECT_TRUE(hasId(ids.head, 2456));
    EXPECT_FALSE(hasId(ids.head, 2457));
    releaseList(&ids.head);
    EXPECT_EQ(ids.head, nullptr);
    releaseList(&ids.head);
    releaseList(nullptr);
}

TEST(History, PopsInReverseOrderOfPushing)
{
    List history;
    std::uint32_t page = 77;
    EXPECT_FALSE(popPage(&history.head, &page));
    EXPECT_EQ(page, 0u);
    ASSERT_TRUE(pushPage(&history.head, 9521));
    ASSERT_TRUE(pushPage(&history.head, 10223));
    EXPECT_TRUE(popPage(&history.head, &page));
    EXPECT_EQ(page, 10223u);
    EXPECT_TRUE(popPage(&history.head, &page));
    EXPECT_EQ(page, 9521u);
    EXPECT_FALSE(popPage(&history.head, &page));
    EXPECT_EQ(page, 0u);
}

TEST(AnswersWithoutMemory, NothingIsAddedAndTheListStaysWhole)
{
    List list;
    addId(&list.head, 1);
    for (long n = 1;; ++n) {
        setAllocationFailure(n, false, true);
        Answer* a = findOrAddNode(&list.head, 2, 0, 0, 0);
        bool failed = allocationCount() >= n;
        setAllocationFailure(0);
        if (failed) {
            EXPECT_EQ(a, nullptr) << "failure at " << n;
            EXPECT_EQ(idsOf(list.head), std::vector<std::uint32_t>{1}) << "failure at " << n;
            continue;
        }
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(idsOf(list.head), (std::vector<std::uint32_t>{1, 2}));
        break;
    }
    setAllocationFailure(1, false, true);
    EXPECT_EQ(setAnswer(&list.head, 3, 1.0f), nullptr);
    setAllocationFailure(1, false, true);
    EXPECT_FALSE(pushPage(&list.head, 9521));
    setAllocationFailure(0);
    EXPECT_EQ(idsOf(list.head), (std::vector<std::uint32_t>{1, 2}));
}

} // namespace
