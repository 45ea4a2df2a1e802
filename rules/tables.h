// The rule tables, reachable for the rule runs and for checks over the tables themselves
// (ids unique within a set, texts present, lists closed). The prescription set is several
// tables walked as one decision list; see prescription.h for its PCA rows.
#pragma once
#include "rules/ruleset.h"

extern const RuleTable nonOpioidTable;
extern const RuleTable caveatTable;
extern const RuleTable monitoringTable;
extern const RuleTable rationaleTable;
extern const RuleTable sideEffectStepTable;
extern const RuleTable sideEffectRationaleTable;
extern const RuleTable referenceTable;
