// CVectUndo: element changes of one path: elements added at the end (0), listed elements
// added (1), listed elements deleted (2, their data kept), listed elements replaced (4, their
// data kept) or, for any other code, listed elements transformed by a matrix.
#pragma once
#include "design/document/undo.h"
#include "platform/core/byte_array.h"
#include "platform/core/uint_array.h"

class CVectorArticle;
class CVectorItem;

class CVectUndo : public CUndo {
    DECLARE_DYNAMIC(CVectUndo)
public:
    static constexpr int kElemAddedAtEnd = 0;
    static constexpr int kElemAdded = 1;
    static constexpr int kElemDeleted = 2;
    static constexpr int kElemReplaced = 4;

    // Indices: the item's selected elements in reverse order, or every element.
    CVectUndo(int code, CVectorArticle* article, CMat2d* m, int selectedOnly);
    // For codes 2 and 4 the data of the selected elements, or of all, from the last.
    CVectUndo(int code, CVectorArticle* article, int selectedOnly);

    void InitContents();
    int IsEmpty() const { return m_nAddCount == 0 && m_Indices.GetSize() == 0; }
    void IncAddCount(int n) { m_nAddCount += n; }
    int GetCount() const { return int(m_Indices.GetSize()); }
    int GetDataLength() const { return m_nDataLength; }

    void AddElement(int index);
    void AddElement(const UINT* values, int count, int reverse);
    void AddElement(const CUIntArray* values, int reverse);
    // A non-zero length unlike the current one becomes the data length.
    void AddElement(int index, const BYTE* data, int length);
    // Each element's data, selected ones only or all, from the last.
    void AddElement(CVectorArticle* article, int selectedOnly);
    // Copies the data block of entry pos; 0 past the last index.
    int GetElement(int pos, BYTE* out) const;

    void DoUndo(CDesignPage* page) override;
    CBaseUndo* CreateRedo(CDesignPage* page) override;
    CArticle* TreeArticle() const override { return m_pArticle; }

private:
    void AddIndices(CVectorArticle* article, int selectedOnly);
    void KeepListedData();
    void ReplaceFromData(CVectorItem* item);

    int m_nAddCount = 0;
    // Indices in full width: a path may hold more elements than a 16-bit index reaches.
    CUIntArray m_Indices;
    int m_nDataLength = 0;
    CByteArray m_Data;
};
