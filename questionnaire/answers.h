// The answer store: singly linked lists of fixed nodes keyed by four 32-bit words. The same node
// holds answers, fired rule ids, suppressed prompts, required elements, cited references,
// display states and the page history. Find-or-add appends, so lists keep first-insertion order.
#pragma once
#include <cstdint>

struct Answer {
    std::uint32_t elementId;   // first key: element id (page, rule or reference id in other lists)
    std::uint32_t key2;        // 0 in every use
    std::uint32_t state;       // 0, or 1 shown / 2 hidden in display-state lists
    std::uint32_t key4;        // 0 in every use
    std::uint32_t ownerId;     // the question the answer belongs to; 0 when not set
    std::uint32_t ownerKey2;   // 0 in every use
    float value;               // 1.0 chosen, 0.0 not, or the number typed
    std::uint32_t spare[2];
    Answer* next;
};

// A list is held by a pointer to its first node; empty = nullptr.
typedef Answer* AnswerList;

Answer* findAnswer(const Answer* head, std::uint32_t elementId, std::uint32_t key2,
                   Answer** predecessor = nullptr);
Answer* findAnswerByOwner(const Answer* head, std::uint32_t ownerId, std::uint32_t ownerKey2);
bool findNode(const Answer* head, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4,
              Answer** node = nullptr, Answer** predecessor = nullptr);
// The matching node, or a new zero-filled node appended at the end; nullptr only without memory.
Answer* findOrAddNode(AnswerList* holder, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4);
void removeNode(AnswerList* holder, std::uint32_t k1, std::uint32_t k2, std::uint32_t k3, std::uint32_t k4);
void releaseList(AnswerList* holder);

// The answer's value truncated toward zero; 0 when there is no answer. Non-zero means chosen.
std::int32_t answerValue(const Answer* answers, std::uint32_t id);

// A run of rules tests hundreds of ids against one answer list that does not change while it
// runs, and most of them are not answered. This filter, made from the list at the start of the
// run, holds one bit per id (modulo answeredIdBits) for every node with key2 0 and a value other
// than 0: a clear bit proves answerValue is 0 without walking the list; a set bit leaves the
// answer to the list. It is only as current as the list it was made from.
constexpr int answeredIdBits = 1024;
struct AnsweredIds {
    std::uint32_t bits[answeredIdBits / 32];
};
void noteAnsweredIds(AnsweredIds* ids, const Answer* answers);
constexpr std::uint32_t answeredIdBit(std::uint32_t id) { return id % answeredIdBits; }
// False only when id has no non-zero answer; always true without a filter (nullptr).
inline bool mayBeAnswered(const AnsweredIds* ids, std::uint32_t id)
{
    return !ids || (ids->bits[answeredIdBit(id) / 32] & (1u << (answeredIdBit(id) % 32)));
}
// answerValue(answers, id), the list walked only when the filter allows an answer.
inline std::int32_t answerValue(const Answer* answers, const AnsweredIds* ids, std::uint32_t id)
{
    return mayBeAnswered(ids, id) ? answerValue(answers, id) : 0;
}
// Nodes owned by ownerId (as 16 bits) with ownerKey2 0 and a value other than 0.0.
int countChosen(const Answer* answers, std::uint32_t ownerId);
// findOrAddNode(id, 0, 0, 0) and set its value; returns the node (nullptr without memory).
Answer* setAnswer(AnswerList* holder, std::uint32_t id, float value);
bool hasId(const Answer* head, std::uint32_t id);
Answer* addId(AnswerList* holder, std::uint32_t id);

// Page history: a stack whose top is the list's first node.
bool pushPage(AnswerList* holder, std::uint32_t page);
bool popPage(AnswerList* holder, std::uint32_t* page);
