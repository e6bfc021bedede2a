#include "hobrand/hobrand_strings.h"

#include "platform/windowing/message_box.h"

CString HobrandLoadString(UINT id) {
    switch (id) {
    case IDS_CUTTER_IN_USE:
        return L"The cutter is already in use.";
    case IDS_DESIGN_TOO_BIG:
        return L"Design Too Big To Fit !";
    case IDS_DATA_TOO_BIG_NEW_PAGE:
        return L"Data is too big to fit on the current page\nContinue on a new page";
    case IDS_NOT_ALL_COPIES_FIT:
        return L"Not all copies fit on this page\n%d remain uncut of %d requested\nContinue on a "
               L"new page.";
    case IDS_CANT_DELETE_BUSY:
        return L"Cant delete a Busy cutter";
    case IDS_JOB_CANCELLED_AT_COPY:
        return L"Job cancelled during the %d copy\non this page";
    case IDS_COPIES_FITTED:
        return L"%d copies fitted on this page.\n\n(Close this form to finish the cut)";
    case IDS_MEDIA_SIZE_ZERO:
        return L"The media size is ZERO in width and/or in height\n Width %ld Height %ld";
    case IDS_LENGTH_TOO_LONG:
        return L"Specified length too long for cutter.";
    case IDS_WIDTH_TOO_WIDE:
        return L"Specified width too wide for cutter";
    case IDS_NO_CUTTER_INSTALLED:
        return L"No Cutter has been installed.\nPlease see you user manual to install a new "
               L"cutter.";
    case IDS_MOVE_ORIGIN_TO_END:
        return L"Move Origin to end of Jobs?";
    case IDS_ERROR_ABORTING_CUT:
        return L"Error <%d> - Aborting Cutting";
    default:
        return CString();
    }
}

int HobrandMessageBox(UINT stringId, const CString& text, UINT type) {
    return platform::ShowMessageBox(nullptr, text, L"", type, stringId);
}
