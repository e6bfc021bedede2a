// The sample sign design shipped with the program: a border, the word "OPEN" as curves (the
// counters of O and P as paths of their own) and a circle, on a 280 x 130 mm page.
#pragma once

#include "platform/core/cstring.h"

// Writes the design file at path, the same bytes on every call; false when it cannot be saved.
bool WriteSampleDesign(const CString& path);
