// The program's global records.
#include "shell/state.h"

#include "dbfile/heap.h"
#include "questionnaire/textlist.h"

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

void releaseSectionLists(AppState* app)
{
    releaseTextList(&app->recommendationList);
    releaseTextList(&app->nonOpioidList);
    releaseTextList(&app->caveatList);
    releaseTextList(&app->monitoringList);
    releaseTextList(&app->rationaleList);
}

void releaseConversionLists(AppState* app)
{
    for (TextList& reasons : app->optionReasons)
        releaseTextList(&reasons);
    releaseTextList(&app->conversionCaveats);
    releaseTextList(&app->mitigatingFactors);
}

void releaseAppContents(AppState* app)
{
    freeBlock(app->dropLineMap);
    app->dropLineMap = nullptr;
    releaseSectionLists(app);
    releaseDoseRangeIndex(&app->doseRangeIndex);
    freeRecord(&app->doseRangeRecord);
    freeRecord(&app->conversionRecord);
    releaseReferenceIndex(&app->referenceIndex);
    releaseConversionLists(app);
}

void releaseCitedReferences()
{
    if (!citedReferences)
        return;
    releaseList(citedReferences);
    freeBlock(citedReferences);
    citedReferences = nullptr;
}
