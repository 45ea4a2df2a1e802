// The program's global records.
#include "shell/state.h"

AppState* appState = nullptr;
QuestionnaireState* questionnaireState = nullptr;
AnswerList* citedReferences = nullptr;
