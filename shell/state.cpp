// The program's global records.
#include "shell/state.h"

AppState* appState = nullptr;
QuestionnaireState* questionnaireState = nullptr;
AnswerList* citedReferences = nullptr;

void releaseDisplayRecords(QuestionnaireState* q)
{
    releaseElementIndex(&q->elementIndex);
    for (int m = 0; m < 10; ++m) {
        freeRecord(&q->hierarchyRecords[m]);
        freeRecord(&q->stringRecords[m]);
    }
}

void releaseQuestionnaireContents(QuestionnaireState* q)
{
    releaseDisplayRecords(q);
    releaseList(&q->answers);
    releaseList(&q->firedRules);
    releaseList(&q->suppressedPrompts);
    releaseList(&q->requiredList);
    releaseList(&q->history);
}
