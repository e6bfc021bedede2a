// The driver's string table: message ids and their texts.
#pragma once

#include "platform/core/cstring.h"

constexpr UINT IDS_FAILED_OPEN_DEVICE = 18621;
constexpr UINT IDS_DEVICE_WRITE_TIMEOUT = 18622;
// A network cutter that reset or closed the connection: no time-out, so no off-line question.
constexpr UINT IDS_CONNECTION_LOST = 18698;
constexpr UINT IDS_CUTTER_NOT_FOUND = 18636;
constexpr UINT IDS_NO_USB_DEVICE = 18655;
constexpr UINT IDS_FAILED_OPEN_SPOOLER = 18656;
constexpr UINT IDS_MEDIA_SIZE_FAILED = 18679;
constexpr UINT IDS_FAILED_OPEN_PORT = 18680;
constexpr UINT IDS_FAILED_TIMEOUT = 18681;
constexpr UINT IDS_FAILED_GET_INFO = 18682;
constexpr UINT IDS_CUTTER_BUSY = 18683;
constexpr UINT IDS_NO_DEVICE = 18684;
constexpr UINT IDS_CLOSE_HANDLE_FAILED = 18685;
constexpr UINT IDS_USB_LOAD_FAILED = 18693;
constexpr UINT IDS_QX3_LOAD_FAILED = 18694;
constexpr UINT IDS_USB_OPEN_PORT_FAILED = 18696;

// The text of a string id; empty for an unknown id.
CString FelgrinLoadString(UINT id);
