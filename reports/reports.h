// The prescription and side-effect reports: one section at a time, the one the section selector
// shows, laid out as display lines from row 0. Each returns the next free row.
#pragma once

int prescriptionSection();
int buildPrescriptionReport();
int buildSideEffectReport();
// Appends one line per cited reference, in stored order, two rows apart; returns the next row.
int appendReferences(int row);

// The row a report starts on: 0, or the row below the lines already in the list.
int reportFirstRow();
