#include "design/document/vect_undo.h"

#include "design/design_page.h"
#include "pivora/geometry/mat2d.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cstring>
#include <vector>

IMPLEMENT_DYNAMIC(CVectUndo, CUndo)

CVectUndo::CVectUndo(int code, CVectorArticle* article, CMat2d* m, int selectedOnly) : CUndo(code) {
    m_Indices.SetSize(0, 30);
    m_Data.SetSize(0, 30);
    m_pArticle = article;
    if (m)
        SetTransform(*m);
    AddIndices(article, selectedOnly);
    CMat2d inverse;
    if (m && !m->fnInverse(&inverse))
        KeepListedData();
}

void CVectUndo::KeepListedData() {
    // A singular matrix has no inverse: the elements come back from their data instead.
    CVectorItem* item = m_pArticle ? static_cast<CVectorArticle*>(m_pArticle)->GetItem() : nullptr;
    if (!item)
        return;
    for (INT_PTR i = 0; i < m_Indices.GetSize(); ++i) {
        unsigned char* data = nullptr;
        int size = 0;
        if (!item->ElementData(int(m_Indices.GetAt(i)), &data, size) || !data || size <= 0 ||
            (m_nDataLength && size != m_nDataLength)) {
            m_Data.RemoveAll();
            return;
        }
        m_nDataLength = size;
        for (int k = 0; k < size; ++k)
            m_Data.Add(data[k]);
    }
}

CVectUndo::CVectUndo(int code, CVectorArticle* article, int selectedOnly) : CUndo(code) {
    m_Indices.SetSize(0, 30);
    m_Data.SetSize(0, 30);
    m_pArticle = article;
    if (code == kElemDeleted || code == kElemReplaced)
        AddElement(article, selectedOnly);
}

void CVectUndo::AddIndices(CVectorArticle* article, int selectedOnly) {
    CVectorItem* item = article ? article->GetItem() : nullptr;
    if (!item)
        return;
    if (selectedOnly) {
        const CUIntArray& sel = item->SelectedElements();
        for (INT_PTR i = sel.GetSize() - 1; i >= 0; --i)
            m_Indices.Add(sel.GetAt(i));
    } else {
        for (int i = 0, n = item->ElementCount(); i < n; ++i)
            m_Indices.Add(UINT(i));
    }
}

void CVectUndo::InitContents() {
    m_nAddCount = 0;
    m_Indices.RemoveAll();
    m_Data.RemoveAll();
    m_nDataLength = 0;
}

void CVectUndo::AddElement(int index) {
    m_Indices.Add(UINT(index));
}

void CVectUndo::AddElement(const UINT* values, int count, int reverse) {
    for (int i = 0; i < count; ++i)
        m_Indices.Add(values[reverse ? count - 1 - i : i]);
}

void CVectUndo::AddElement(const CUIntArray* values, int reverse) {
    if (values)
        AddElement(values->GetData(), int(values->GetSize()), reverse);
}

void CVectUndo::AddElement(int index, const BYTE* data, int length) {
    if (length > 0 && length != m_nDataLength) {
        // Blocks of another length cannot share the array: start it again.
        m_Data.RemoveAll();
        m_Indices.RemoveAll();
        m_nDataLength = length;
    }
    if (!data || m_nDataLength <= 0)
        return;
    m_Indices.Add(UINT(index));
    for (int i = 0; i < m_nDataLength; ++i)
        m_Data.Add(data[i]);
}

void CVectUndo::AddElement(CVectorArticle* article, int selectedOnly) {
    CVectorItem* item = article ? article->GetItem() : nullptr;
    if (!item)
        return;
    auto add = [&](int i) {
        unsigned char* data = nullptr;
        int size = 0;
        if (item->ElementData(i, &data, size) && data && size > 0)
            AddElement(i, data, size);
    };
    if (selectedOnly) {
        const CUIntArray& sel = item->SelectedElements();
        for (INT_PTR i = sel.GetSize() - 1; i >= 0; --i)
            add(int(sel.GetAt(i)));
    } else {
        for (int i = item->ElementCount() - 1; i >= 0; --i)
            add(i);
    }
}

int CVectUndo::GetElement(int pos, BYTE* out) const {
    if (pos < 0 || pos >= m_Indices.GetSize() || m_nDataLength <= 0 ||
        INT_PTR(pos + 1) * m_nDataLength > m_Data.GetSize())
        return 0;
    std::memcpy(out, m_Data.GetData() + INT_PTR(pos) * m_nDataLength, size_t(m_nDataLength));
    return 1;
}

void CVectUndo::ReplaceFromData(CVectorItem* item) {
    std::vector<BYTE> block(size_t(std::max(m_nDataLength, 1)));
    for (int i = 0; i < int(m_Indices.GetSize()); ++i) {
        const int at = int(m_Indices.GetAt(i));
        if (at < item->ElementCount() && GetElement(i, block.data())) {
            item->DeleteElement(at, 1);
            item->InsertElement(at, block.data(), 1);
        }
    }
}

void CVectUndo::DoUndo(CDesignPage* page) {
    auto* article = DynamicDowncast<CVectorArticle>(m_pArticle);
    CVectorItem* item = article ? article->GetItem() : nullptr;
    if (!item)
        return;
    const int n = int(m_Indices.GetSize());
    std::vector<BYTE> block(size_t(std::max(m_nDataLength, 1)));
    switch (GetOperation()) {
    case kElemAddedAtEnd: {
        const int count = std::min(m_nAddCount, item->ElementCount());
        if (count > 0)
            item->DeleteElement(item->ElementCount() - count, count);
        break;
    }
    case kElemAdded:
        for (int i = n - 1; i >= 0; --i)
            if (int(m_Indices.GetAt(i)) < item->ElementCount())
                item->DeleteElement(int(m_Indices.GetAt(i)), 1);
        break;
    case kElemDeleted:
        for (int i = n - 1; i >= 0; --i)
            if (GetElement(i, block.data()) && int(m_Indices.GetAt(i)) <= item->ElementCount())
                item->InsertElement(int(m_Indices.GetAt(i)), block.data(), 1);
        break;
    case kElemReplaced:
        ReplaceFromData(item);
        break;
    default:
        if (m_pTransform) {
            CMat2d inverse;
            if (m_pTransform->fnInverse(&inverse)) {
                for (int i = 0; i < n; ++i)
                    if (int(m_Indices.GetAt(i)) < item->ElementCount())
                        item->TransformElement(&inverse, int(m_Indices.GetAt(i)), 1);
            } else if (m_Data.GetSize() > 0) {
                ReplaceFromData(item);
            }
        }
        break;
    }
    item->InvExtents(1);
    m_pArticle->InvExtents(1);
    page->UpdateAllViews(nullptr, CDesignPage::kHintArticle, m_pArticle);
    SetArticle(nullptr, 0);
}

CBaseUndo* CVectUndo::CreateRedo(CDesignPage*) {
    auto* redo = new CUndo(kEdited);
    if (m_pArticle)
        redo->SetArticle(m_pArticle, 1);
    return redo;
}
