#include "maltrec/import/import_draw.h"

#include "maltrec/import/import_eps.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"
#include "design/design_view.h"
#include "pivora/framework/app_params.h"
#include "pivora/geometry/mat2d.h"
#include "platform/core/file.h"
#include "platform/framework/wait_cursor.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/resources.h"

#include <cstdint>
#include <memory>

namespace {

constexpr int kExtensionChars = 4;

const bool kRegisteredAtLoad = [] {
    platform::RegisterStrings({{CImportDraw::IDS_FORMAT_NOT_SUPPORTED, L"Format Not Supported"}});
    return true;
}();

CString LoadText(UINT id) {
    wchar_t buffer[256] = {};
    LoadStringW(nullptr, id, buffer, 256);
    return buffer;
}

bool IsNewPageExtents(const CWindow& w) {
    return int64_t(w.x2) - w.x1 == CImportDraw::kNewPageExtent &&
           int64_t(w.y2) - w.y1 == CImportDraw::kNewPageExtent;
}

void CentreOnOrigin(CArticle* root) {
    const CWindow e = root->Extents(0);
    // The sum of two far coordinates does not fit 32 bits.
    const int64_t cx = (int64_t(e.x1) + e.x2) / 2, cy = (int64_t(e.y1) + e.y2) / 2;
    if (cx == 0 && cy == 0)
        return;
    CMat2d m(CDpoint(-double(cx), -double(cy)));
    root->DoTransform(m, 1);
}

} // namespace

int CImportDraw::ImportVectorDesign(CDesignPage* page, CFile* file, UINT flags,
                                    CArticleList* list) {
    if (!page || !file)
        return 0;
    CWaitCursor wait;
    page->RemoveAllObjectSelection();
    const CWindow extents = page->Extents();
    const bool hadArticles = page->RootArticle()->GetFirstChild() != nullptr;

    const CString path = file->GetFilePath();
    const CString extension = path.Right(kExtensionChars);
    auto* view = DynamicDowncast<CDesignView>(page->FirstView(RUNTIME_CLASS(CDesignView)));

    int result = 0;
    if (extension.Right(3).CompareNoCase(L".ai") == 0) {
        file->Close();
        result = CPDFManager::ReadPDFDocument(path, page, flags, list) ? 1 : 0;
        if (!result) {
            // The interpreter reads an Illustrator file the library could not.
            auto fallback = std::make_unique<CFile>();
            if (fallback->Open(path, CFile::modeRead | CFile::shareDenyWrite))
                result =
                    CImportEPS::ImportIllustratorFile(view, page, fallback.get(), 1, flags, list);
        }
    } else if (extension.CompareNoCase(L".EPS") == 0 || extension.CompareNoCase(L".pdf") == 0) {
        file->Close();
        result = CPDFManager::ReadPDFDocument(path, page, flags, list) ? 1 : 0;
    } else {
        AfxMessageBox(LoadText(IDS_FORMAT_NOT_SUPPORTED) + L" " + extension, MB_OK);
        return 0;
    }

    if (result) {
        if (QvGetSetAppParam(L"Auto Centre Vector Import", 0))
            CentreOnOrigin(page->RootArticle());
        page->SetModifiedFlag();
        page->RecalcExtents(0);
        if (hadArticles || !IsNewPageExtents(extents))
            page->Extents(extents);
    }
    return result;
}
