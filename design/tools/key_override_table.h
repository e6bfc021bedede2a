// The accelerator table of a tool: the frame's entries with the tool's override rows applied.
#pragma once

#include "design/design_tool.h"

#include <vector>

// Rows whose flags and key match an entry replace its command and are marked matched; entries
// left with command 0 go; unmatched rows with a command are appended.
std::vector<ACCEL> ApplyKeyOverrides(std::vector<ACCEL> entries, TKeyOverride* rows, int count);
