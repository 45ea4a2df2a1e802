// Page flow: which elements a page shows, which page Next leads to, and the navigation
// commands (start a module, Next, Back, open a page link, Restart) on QuestionnaireState.
// Display states are an AnswerList keyed (element, 0, state, 0): state 1 shown, 2 hidden.
#pragma once
#include <cstdint>

#include "dbfile/records.h"
#include "questionnaire/answers.h"
#include "questionnaire/elements.h"

// Element ids that steer the flow.
constexpr std::uint16_t rootElement = 1979;
constexpr std::uint16_t moduleChoicePage = 9521;

constexpr std::uint32_t stateShown = 1;
constexpr std::uint32_t stateHidden = 2;

// Display states: for one element the later of show and hide wins.
void showElement(AnswerList* states, std::uint16_t id);
void hideElement(AnswerList* states, std::uint16_t id);
// The state of the element's first node (1 shown, 2 hidden), or 0 when it has none.
std::uint32_t displayState(const Answer* states, std::uint16_t id);
// An element HIDDEN by default is visible only when shown; any other unless hidden.
bool elementVisible(const HierarchyElement* element, const Answer* states);

// Releases firedRules and returns the display states of the answers (the caller releases them).
AnswerList evaluatePage(AnswerList* firedRules, const Answer* answers);
// The page Next leads to from currentPage: the next-page rules first, then the next visible
// PAGE in document order; 0 when there is none.
std::uint16_t findNextPage(AnswerList* firedRules, const Answer* states, const Answer* answers,
                           std::uint16_t currentPage, const DbRecord* const* hierarchyRecords);
std::uint16_t nextVisiblePage(const Answer* states, std::uint16_t currentPage,
                              const DbRecord* const* hierarchyRecords);

// When the page checks run: the page was shown, Next was pressed, a control changed.
enum CheckTrigger { PageShown = 1, NextPressed = 2, ControlChanged = 3 };
// Runs the input checks; true when the flow may go on. element is the changed control's
// element id for ControlChanged, 0 otherwise.
bool checkPage(std::uint16_t element, AnswerList* firedRules, AnswerList* answers, std::uint16_t page,
               int trigger);

// Removes the answers of the pages after page, up to the end of the subtree that encloses it.
void clearLaterAnswers(AnswerList* answers, std::uint16_t page, const DbRecord* const* hierarchyRecords);

// The commands, on the global QuestionnaireState.
// Module buttons 108, 109, 110; false (nothing changed) for any other button.
bool startModule(int button);
// True when Next moved to another page.
bool goNext();
// True when a page was taken from the history; false when it was empty (the caller goes home).
bool goBack();
void openPageLink(std::uint16_t page);
void restartQuestionnaire();
