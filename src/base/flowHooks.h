// The calls that shared code makes into the flow chart, declared here below every caller as
// configuration.h is. The full configuration implements them with the flow record and chart
// (src/flow); the earlier one, which has no flow chart, with placeholders (src/variants/earlier).
#pragma once

// The last step of start-up: the checklist of the flow record.
void flowStartup();
// Every script switch of the read-text tracking: the script name (with its extension).
void flowScriptStarted(const char* name);
// System command 23: the flow chart, or the earlier configuration's placeholder.
bool flowChartCommand();
