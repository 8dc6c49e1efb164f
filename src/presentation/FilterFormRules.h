#pragma once

#include <string>

#include "presentation/FilterData.h"

namespace corvane {

// What the filter forms do with the operator's choices, apart from their controls.

// The selector a chosen combo-box entry stands for: its item data, with 0 for "any"
// (INT_MAX); a function type box, where 0 is the type "PP", gives "any" for every value that
// is no valid function type.
int SelectorOfChoice(int itemData, bool functionTypeBox);

// A state mask after a check-box click: a form never shows no state at all, so with none
// left the active requests (or alarms) are shown again.
int RequestStatesAfterClick(int stateMask);
int AlarmStatesAfterClick(int stateMask);

// Whether a change of the alarm form's intercom box (or trunk box) reaches the list: only
// while the alarms it selects, intercom communication (trunk test failure) alarms, are shown.
bool AlarmComboReachesList(const CAlarmFilterData& filter, bool trunkBox);

// The caption of the alarm form's analyzer box, with the analyzer's display name.
std::string AnalyzerAlarmsCaption(const std::string& analyzerName);

// The alarm form with or without a configured analyzer: both the analyzer's and the trunk
// test failure alarms are shown with it and hidden without it, and no trunk is chosen.
void ShowAnalyzerAlarms(CAlarmFilterData& filter, bool analyzerConfigured);

}  // namespace corvane
