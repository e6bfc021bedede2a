// Stored form of control-point arrays, shared by the curve items: the element count (u16, or
// 0xFFFF followed by u32), then per point its mode word (u32), x and y (i32), little-endian.
#pragma once

#include "pivora/geometry/sb.h"
#include "pivora/rec_archive.h"

#include "platform/core/array.h"

using CSbArray = CArray<CSb, CSb&>;

// Bytes of one stored point.
constexpr UINT kStoredSbSize = 12;

void StoreSbArray(CArchive& ar, const CSbArray& points);
// Replaces points. A count beyond the stream raises the archive exception before anything is
// read, and points keeps its old contents whenever the read fails.
void LoadSbArray(CArchive& ar, CSbArray& points);
// As a field of a tagged record: id, length, array.
void StoreSbField(CRecArchive& rec, WORD id, const CSbArray& points);
// Reads the array of a field of len bytes; what a later writer appended is skipped, and an
// array that runs past its field is damage.
void LoadSbField(CRecArchive& rec, DWORD len, CSbArray& points);
