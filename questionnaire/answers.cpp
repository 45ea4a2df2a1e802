// The answer store: singly linked lists of Answer nodes, walked from the head; the first match
// wins. New nodes go at the end (the history stack alone pushes at the front), so every list
// keeps the order in which its keys were first added.
#include "questionnaire/answers.h"

#include "dbfile/heap.h"
#include "dosecalc/numtext.h"

namespace {

bool keysMatch(const Answer* a, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4)
{
    return a->elementId == k1 && a->key2 == k2 && a->state == k3 && a->key4 == k4;
}

Answer* newNode(std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4)
{
    Answer* a = static_cast<Answer*>(allocZeroedReserved(sizeof(Answer)));
    if (a) {
        a->elementId = k1;
        a->key2 = k2;
        a->state = k3;
        a->key4 = k4;
    }
    return a;
}

} // namespace

Answer* findAnswer(const Answer* head, std::uint32_t elementId, std::uint32_t key2, Answer** predecessor)
{
    Answer* before = nullptr;
    for (Answer* a = const_cast<Answer*>(head); a; before = a, a = a->next)
        if (a->elementId == elementId && a->key2 == key2) {
            if (predecessor)
                *predecessor = before;
            return a;
        }
    return nullptr;
}

Answer* findAnswerByOwner(const Answer* head, std::uint32_t ownerId, std::uint32_t ownerKey2)
{
    for (const Answer* a = head; a; a = a->next)
        if (a->ownerId == ownerId && a->ownerKey2 == ownerKey2)
            return const_cast<Answer*>(a);
    return nullptr;
}

bool findNode(const Answer* head, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4,
              Answer** node, Answer** predecessor)
{
    Answer* before = nullptr;
    for (Answer* a = const_cast<Answer*>(head); a; before = a, a = a->next)
        if (keysMatch(a, k1, k2, k3, k4)) {
            if (node)
                *node = a;
            if (predecessor)
                *predecessor = before;
            return true;
        }
    return false;
}

Answer* findOrAddNode(AnswerList* holder, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4)
{
    if (!holder)
        return nullptr;
    Answer* last = nullptr;
    for (Answer* a = *holder; a; last = a, a = a->next)
        if (keysMatch(a, k1, k2, k3, k4))
            return a;
    Answer* added = newNode(k1, k2, k3, k4);
    if (!added)
        return nullptr;
    if (last)
        last->next = added;
    else
        *holder = added;
    return added;
}

void removeNode(AnswerList* holder, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4)
{
    Answer* node = nullptr;
    Answer* before = nullptr;
    if (!holder || !findNode(*holder, k1, k2, k3, k4, &node, &before))
        return;
    if (before)
        before->next = node->next;
    else
        *holder = node->next;
    freeBlock(node);
}

void releaseList(AnswerList* holder)
{
    if (!holder)
        return;
    for (Answer* a = *holder; a;) {
        Answer* next = a->next;
        freeBlock(a);
        a = next;
    }
    *holder = nullptr;
}

std::int32_t answerValue(const Answer* answers, std::uint32_t id)
{
    const Answer* a = findAnswer(answers, id, 0);
    return a ? truncateToInt32(a->value) : 0;
}

void noteAnsweredIds(AnsweredIds* ids, const Answer* answers)
{
    for (std::uint32_t& word : ids->bits)
        word = 0;
    for (const Answer* a = answers; a; a = a->next)
        if (a->key2 == 0 && a->value != 0.0f)
            ids->bits[answeredIdBit(a->elementId) / 32] |= 1u << (answeredIdBit(a->elementId) % 32);
}

int countChosen(const Answer* answers, std::uint32_t ownerId)
{
    std::uint32_t owner = ownerId & 0xFFFF;
    int chosen = 0;
    for (const Answer* a = answers; a; a = a->next)
        if (a->ownerId == owner && a->ownerKey2 == 0 && a->value != 0.0f)
            ++chosen;
    return chosen;
}

Answer* setAnswer(AnswerList* holder, std::uint32_t id, float value)
{
    Answer* a = findOrAddNode(holder, id, 0, 0, 0);
    if (a)
        a->value = value;
    return a;
}

bool hasId(const Answer* head, std::uint32_t id) { return findNode(head, id, 0, 0, 0); }

Answer* addId(AnswerList* holder, std::uint32_t id) { return findOrAddNode(holder, id, 0, 0, 0); }

bool pushPage(AnswerList* holder, std::uint32_t page)
{
    Answer* top = holder ? newNode(page, 0, 0, 0) : nullptr;
    if (!top)
        return false;
    top->next = *holder;
    *holder = top;
    return true;
}

bool popPage(AnswerList* holder, std::uint32_t* page)
{
    Answer* top = holder ? *holder : nullptr;
    if (page)
        *page = top ? top->elementId : 0;
    if (!top)
        return false;
    *holder = top->next;
    freeBlock(top);
    return true;
}
