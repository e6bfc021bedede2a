// The media manager's string table and the message boxes it shows.
#pragma once

#include "platform/core/cstring.h"

constexpr UINT IDS_CUTTER_IN_USE = 14031;
constexpr UINT IDS_DESIGN_TOO_BIG = 14034;
constexpr UINT IDS_DATA_TOO_BIG_NEW_PAGE = 14037;
constexpr UINT IDS_NOT_ALL_COPIES_FIT = 14038;
constexpr UINT IDS_CANT_DELETE_BUSY = 14039;
constexpr UINT IDS_JOB_CANCELLED_AT_COPY = 14041;
constexpr UINT IDS_COPIES_FITTED = 14042;
constexpr UINT IDS_MEDIA_SIZE_ZERO = 14058;
constexpr UINT IDS_LENGTH_TOO_LONG = 14060;
constexpr UINT IDS_WIDTH_TOO_WIDE = 14061;
constexpr UINT IDS_NO_CUTTER_INSTALLED = 14059;
constexpr UINT IDS_MOVE_ORIGIN_TO_END = 14062;
constexpr UINT IDS_ERROR_ABORTING_CUT = 15087;

// The text of a string id; empty for an unknown id.
CString HobrandLoadString(UINT id);
// Shows the text under its string id (so a responder can answer by id); the button pressed.
int HobrandMessageBox(UINT stringId, const CString& text, UINT type);
