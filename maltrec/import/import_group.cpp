#include "maltrec/import/import_group.h"

#include "design/design_page.h"
#include "design/imp_palette_undo.h"
#include "pivora/framework/app_params.h"
#include "qvutils/qv_utils.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"
#include "vector/vector_style_pb.h"

#include "platform/core/file.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/resources.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

constexpr UINT IDS_IMPORTING = 34065;
constexpr const wchar_t* kGroupEffect = L"Group";

// At load, so that a language library registering later replaces the text.
const bool kRegisteredAtLoad = [] {
    platform::RegisterStrings({{IDS_IMPORTING, L"Importing %s"}});
    return true;
}();

} // namespace

CImportGroup::CImportGroup(CDesignPage* page, unsigned kind) : m_pPage(page), m_nKind(kind) {
    (void)kRegisteredAtLoad;
    m_pStylesBefore = std::make_unique<CImpPaletteUndo>();
    m_pStylesBefore->SetVectorStylePB(CImpPaletteUndo::CopyPageStyles(page));
    if (page)
        m_ExtentsBefore = page->Extents();
    EnsureStyles(page, kMinStyles);
    if (kind == kOneGroup) {
        m_pGroup = new CArticle;
        m_pGroup->SetProperty(CArticle::kGroupBit, false);
    } else if (kind == kAutoGroup) {
        // The number is not given back by an undo: a name once used is not used again.
        const int n = page->GetLastAutoGroup();
        m_strGroupName.Format(L"G%d", n);
        page->SetLastAutoGroup(n);
    }
    m_bOpen = true;
}

CImportGroup::~CImportGroup() {
    End(nullptr);
}

int CImportGroup::ClampPen(int64_t pen) {
    return int(std::clamp<int64_t>(pen, 0, kMaxPen));
}

void CImportGroup::EnsureStyles(CJoxPage* page, int n) {
    CVectorStylePB* table = CVectorArticle::fnGetVectorStylePB(page);
    if (table && table->fnGetSize() < n)
        table->fnResize(n);
}

void CImportGroup::FinishItem(CSplineItem* item) {
    if (!item)
        return;
    item->MakeCurves();
    item->MakePktArray(CSplineItem::kCopyLevel);
}

CSplineItem* CImportGroup::NewPenArticle(int pen, CVectorArticle** article) {
    pen = ClampPen(pen);
    EnsureStyles(m_pPage, std::max(kMinStyles, pen + 1));
    auto* a = new CVectorArticle;
    auto* item = new CSplineItem;
    a->Item(item);
    a->SetPaletteIndex(pen);
    CArticle* parent = m_pPage->RootArticle();
    if (m_nKind == kOneGroup && m_bOpen && m_pGroup) {
        parent = m_pGroup;
    } else if (m_nKind == kAutoGroup && !m_strGroupName.IsEmpty()) {
        a->RemoveAllEffects(kGroupEffect);
        a->SetEffect(m_strGroupName, kGroupEffect, 0);
    }
    if (m_pLast && m_pLast->GetParent() == parent && !m_pLast->GetRsibling())
        m_pLast->InsertRsibling(a);
    else
        parent->AddChild(a);
    m_pLast = a;
    if (parent != m_pGroup)
        m_Top.push_back(a);
    a->InvExtents(1);
    ++m_nAdded;
    if (article)
        *article = a;
    return item;
}

void CImportGroup::DeleteArticle(CArticle* article) {
    if (!article)
        return;
    if (article == m_pLast)
        m_pLast = nullptr;
    // Almost always the newest one.
    for (auto it = m_Top.rbegin(); it != m_Top.rend(); ++it)
        if (*it == article) {
            m_Top.erase(std::next(it).base());
            break;
        }
    article->Detach();
    delete article;
    --m_nAdded;
}

void CImportGroup::SetPen(CVectorArticle* article, int64_t pen) {
    if (!article)
        return;
    const int p = ClampPen(pen);
    EnsureStyles(m_pPage, std::max(kMinStyles, p + 1));
    article->SetPaletteIndex(p);
}

void CImportGroup::End(CArticleList* list) {
    if (!m_bOpen)
        return;
    m_bOpen = false;
    m_pLast = nullptr;
    if (m_nKind == kOneGroup && m_pGroup) {
        CArticle* group = m_pGroup;
        m_pGroup = nullptr;
        auto* only = static_cast<CArticle*>(group->GetFirstChild());
        CArticle* top = nullptr;
        if (only && !only->GetRsibling()) {
            only->Detach();
            m_pPage->RootArticle()->AddChild(only);
            delete group;
            top = only;
        } else if (only) {
            m_pPage->RootArticle()->AddChild(group);
            group->InvExtents(1);
            top = group;
        } else {
            delete group; // nothing was imported into it
        }
        if (top)
            m_Top.push_back(top);
        if (top && list)
            list->AddHead(top);
    }
    m_strGroupName.Empty();
    WriteUndo();
}

void CImportGroup::WriteUndo() {
    if (m_Top.empty() || !m_pPage) {
        // Nothing was added: the styles grown for pens that drew nothing go back, so a failed
        // or cancelled import leaves the page as it was.
        if (m_pPage && m_pStylesBefore)
            m_pStylesBefore->DoUndo(m_pPage);
        m_pStylesBefore.reset();
        return;
    }
    m_pPage->StartUndoTransaction(-1);
    m_pPage->AddDesignSizeUndo(m_ExtentsBefore, 0);
    m_pPage->AddUndo(m_pStylesBefore.release(), 0);
    for (CArticle* a : m_Top)
        m_pPage->AddNewUndo(a, 0);
    m_Top.clear();
}

bool FnReadImportFile(CFile* file, std::string& out, CString& error) {
    out.clear();
    if (!file) {
        error = L"No file to import.";
        return false;
    }
    try {
        const ULONGLONG length = file->GetLength();
        if (length > CImportGroup::kMaxFileBytes) {
            error = L"The file is too large to import (over 1 GiB).";
            return false;
        }
        out.reserve(size_t(length));
        char buffer[65536];
        for (;;) {
            const UINT n = file->Read(buffer, sizeof buffer);
            if (n == 0)
                break;
            if (out.size() + n > CImportGroup::kMaxFileBytes) {
                error = L"The file is too large to import (over 1 GiB).";
                out.clear();
                return false;
            }
            out.append(buffer, n);
        }
    } catch (const CException& e) {
        error = e.GetMessageText();
        out.clear();
        return false;
    }
    return true;
}

bool FnParseSaturating(std::string_view text, size_t& pos, int64_t& value, bool& overflow) {
    size_t i = pos;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return false;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int d = text[i] - '0';
        if (v > (kMax - d) / 10) {
            v = kMax;
            overflow = true;
        } else {
            v = v * 10 + d;
        }
    }
    value = negative ? -v : v;
    pos = i;
    return true;
}

CImportWaitCursor::CImportWaitCursor()
    : m_previous(::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_WAIT)))) {}

CImportWaitCursor::~CImportWaitCursor() {
    ::SetCursor(m_previous);
}

void FnShowImportingStatus(const CString& path) {
    CString format, upper = path, text;
    if (!AfxLoadString(IDS_IMPORTING, format))
        format = L"Importing %s";
    upper.MakeUpper();
    text.Format(format, static_cast<const wchar_t*>(upper));
    QvSetStatusText(0, text);
}

void FnShowIdleStatus() {
    CString idle;
    AfxLoadString(AFX_IDS_IDLEMESSAGE, idle);
    QvSetStatusText(0, idle);
}
