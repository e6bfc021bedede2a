// Extension identifiers: a file name's extension classified by its row in a fixed table of 69
// extensions (0 the design file), the extension text of an identifier and the column titles
// of the file lists.
#pragma once

#include "platform/core/cstring.h"

// Identifier of the design file; names ending in ".Kdxs" count as designs too.
constexpr int kDesignFileExtID = 0;
constexpr int kFileExtCount = 69;
constexpr int kListTitleCount = 16;
constexpr const wchar_t* kDesignFileExt = L".KDX";
constexpr const wchar_t* kDesignFileExtAlt = L"Kdxs";

// The row of the name's extension, compared without regard to case; -1 when the name has no
// dot or the extension is not in the table. Text from the last "<" on is not part of the
// extension.
int BrowserGetFileExtID(const CString& fileName);
// out is emptied, then given the row's text when id is a row.
void BrowserGetFileExt(int id, CString& out);
// out = the title of a list column (0 to 15); an index outside gives an empty text.
void FnGasteloGetListTitle(int index, CString& out);
// out = ".KDX".
void FnGasteloGetDesignFileExt(CString& out);
