// The fixed page "How doses are calculated": how the conversion works, a worked example and the
// two tables of conversion factors, one section at a time as the selector names it.
#pragma once

// Appends the section explanationSection names to the display list.
void buildExplanationPage();
