// The dose conversion report: seven sections, one laid out at a time. Laying out the first
// section completes the option statuses (regimens "None", acetaminophen with liver disease or
// alcohol use).
#pragma once

// Sets the first row in view to 0 and appends the section conversionSection names.
void buildConversionReport();
// Appends one section (1..7) to the display list.
void layoutConversionSection(int section);
