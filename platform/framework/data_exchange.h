// Data exchange with list and combo boxes, radio groups, the IP address control and numbers
// in edits.
#pragma once

#include "platform/framework/dialog.h"

// The index of the selected entry (-1 none).
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
// Saving: the selected entry's text (a combo box's own text). Loading: selects the first entry
// that begins with the value, ignoring case; an editable combo box that has none takes the
// value as its text.
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_LBString(CDataExchange* dx, int id, CString& value);
// Like the above, but the entry must equal the value (ignoring case).
void DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
void DDX_LBStringExact(CDataExchange* dx, int id, CString& value);
// `id` is the first radio button of a group: the value is the position of the checked button
// in the group, -1 when none is checked.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// The address with the first field in the high byte; blank fields read as 0.
void DDX_IPAddress(CDataExchange* dx, int id, DWORD& value);
// Loading writes the number in its shortest exact form; saving refuses, with a message and the
// focus left in the box, text that is no number.
void DDX_Text(CDataExchange* dx, int id, double& value);
// Saving: a value outside min..max gets a message naming the range and keeps the focus in the
// control last exchanged.
void DDV_MinMaxDouble(CDataExchange* dx, double value, double min, double max);
void DDV_MinMaxInt(CDataExchange* dx, int value, int min, int max);
