// The questionnaire tests' fixture, built into this suite as well.
#include "../questionnaire/fixture.cpp"
