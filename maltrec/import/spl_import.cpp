#include "maltrec/import/spl_import.h"

#include "maltrec/import/cutter_job_reader.h"
#include "maltrec/import/gnm_reader.h"
#include "maltrec/import/import_failure.h"
#include "maltrec/import/import_group.h"
#include "maltrec/import/import_hpgl.h"

#include "design/design_page.h"

#include "platform/core/file.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/message_box.h"

#include <string>
#include <string_view>

namespace {

// Reads the rest of the file and closes it; false (reported) on failure.
bool ReadAll(CFile* file, std::string& text, CString& path) {
    CString error;
    path = file ? file->GetFilePath() : CString();
    const bool read = FnReadImportFile(file, text, error);
    if (file)
        file->Abort();
    if (!read)
        AfxMessageBox(error, MB_OK | MB_ICONEXCLAMATION);
    return read;
}

enum class Reader { eSpool, eOquen };

int RunReader(CDesignView* view, CDesignPage* page, CFile* file, UINT kind, CArticleList* list,
              Reader which) {
    std::string text;
    CString path;
    if (!page || !ReadAll(file, text, path))
        return 0;
    CImportWaitCursor wait;
    CImportGroup group(page, kind);
    CCutterJobReader reader(view, group, text, path);
    const bool progress = CCutterJobReader::ProgressShown();
    if (which == Reader::eSpool)
        reader.ReadSpool(progress);
    else
        reader.ReadOquen(progress);
    group.End(list);
    if (reader.Kept() == 0) {
        // The page is as it was: nothing to redraw or measure.
        FnSetImportFailure(L"The file holds no cuts that can be imported.");
        return 0;
    }
    page->UpdateAllViews(nullptr);
    page->RecalcExtents(0);
    return 1;
}

// ";:" switches a cutter into DM/PL; what follows is one of the spool reader's commands
// (";:HAL0EC1", ";:ECN A L0"). HP-GL has no ":" command.
bool StartsDmpl(std::string_view head) {
    size_t i = 0;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    if (head.substr(i, 2) != ";:")
        return false;
    for (i += 2; i < head.size() && head[i] == ' '; ++i) {
    }
    constexpr std::string_view kCommands = "\x1b@ABCDEFHILPRSUVdpu";
    return i == head.size() || kCommands.find(head[i]) != std::string_view::npos;
}

} // namespace

ECutterFileKind FnSniffCutterFile(const uint8_t* bytes, size_t count) {
    const std::string_view head(reinterpret_cast<const char*>(bytes),
                                std::min(count, kCutterSniffBytes));
    auto has = [&](std::string_view s) { return head.find(s) != std::string_view::npos; };
    // A job-language header ("@") or "ER" in an HP-GL file sends it to the spool reader too.
    if (has("@") || has("ER") || has("HOA") || has("ECN") || StartsDmpl(head))
        return ECutterFileKind::eSpool;
    if (head.starts_with("M33") || head.starts_with("!Ss"))
        return ECutterFileKind::eGnM;
    if (has("FileStart"))
        return ECutterFileKind::eOquen;
    return ECutterFileKind::eHpgl;
}

int FnImportSPLFile(CDesignView* view, CDesignPage* page, CFile* file, UINT kind,
                    CArticleList* list) {
    if (!page || !file)
        return 0;
    CImportWaitCursor wait;
    uint8_t head[kCutterSniffBytes] = {};
    UINT n = 0;
    try {
        n = file->Read(head, sizeof head);
        file->SeekToBegin();
    } catch (const CException& e) {
        AfxMessageBox(e.GetMessageText(), MB_OK | MB_ICONEXCLAMATION);
        file->Abort();
        return 0;
    }
    switch (FnSniffCutterFile(head, n)) {
    case ECutterFileKind::eSpool:
        return RunReader(view, page, file, kind, list, Reader::eSpool);
    case ECutterFileKind::eGnM:
        return FnImportGnMFile(view, page, file, 0);
    case ECutterFileKind::eOquen:
        return RunReader(view, page, file, kind, list, Reader::eOquen);
    case ECutterFileKind::eHpgl:
        break;
    }
    return CImportHPGL::ImportHPGLDesign(view, page, file, kind, list);
}

int FnImportPNLFile(CDesignView* view, CDesignPage* page, CFile* file) {
    if (!page || !file)
        return 0;
    uint8_t header[kPanelHeaderBytes];
    try {
        if (file->Read(header, sizeof header) < sizeof header) {
            file->Abort();
            return 0; // a panel file holds at least its header
        }
    } catch (const CException& e) {
        AfxMessageBox(e.GetMessageText(), MB_OK | MB_ICONEXCLAMATION);
        file->Abort();
        return 0;
    }
    return CImportHPGL::ImportHPGLDesign(view, page, file, 0, nullptr);
}

int FnImportOquenFile(CDesignView* view, CDesignPage* page, CFile* file) {
    return RunReader(view, page, file, 0, nullptr, Reader::eOquen);
}
