// Numbers in the view dialogs' edit boxes: text that is no number counts as 0, and values are
// written without trailing zeros.
#pragma once

#include "platform/core/cstring.h"

class CDataExchange;

namespace dialog_numbers {

// The leading number of the text, as "%f" reads it; 0 when there is none or it is not finite.
double Parse(const CString& text);
// At most `decimals` places, trailing zeros and a bare point dropped ("12.5", "30", "-0.1").
CString Format(double value, int decimals);
// value - delta x step (the up arrow gives a negative delta, so subtracting raises the value),
// rounded to `decimals` places so that repeated steps gather no binary fractions.
double Step(double value, int delta, double step, int decimals);
// Loads with Format, saves with Parse: the dialogs refuse bad values themselves.
void DDX_Number(CDataExchange* dx, int id, double& value, int decimals);

} // namespace dialog_numbers
