// CVectorArticle: the tree node that holds one path item and gives it its line and fill style.
// Styles are indices into the page's vector style table (block 14), whose entries name colours
// of the page's palette. It draws its item through one path, so fill and stroke cover the
// whole outline, honours the ".Vector" drawing properties and the cut-output marks "CutNext"
// and "CutDone", and merges its style when it moves between designs.
#pragma once

#include "pivora/article.h"
#include "pivora/colour.h"
#include "pivora/param_blk.h"

#include "platform/core/map.h"

class CJoxDC;
class CJoxPage;
class CJoxView;
class CVectorItem;
class CVectorStylePB;

// The drawing properties of one article, read from its named values.
struct VECTOR_PROPERTIES_TYPE {
    int32_t nLinePaletteIndex = 0;
    int32_t nLineStyle = 0;
    int32_t nLinePenStyle = 0;
    int32_t nFillOn = 0;
    int32_t nFillColour = 1;
    int32_t nLineThickness = 0;
    int32_t nDoNotPrint = 0;
    int32_t nDashOn = 0;
    int32_t nDashLineStyle = 0;
    int32_t nDashPenStyle = 0;
    int32_t nDashLineThickness = 0;
    int32_t nDashMarkLength = 1000;
    int32_t nDashSpaceLength = 1000;
    int32_t nDashContinuousMode = 1;
};

// String resources of the library.
constexpr UINT IDS_VECTOR_OBJECT = 8015;
constexpr UINT IDS_VECTOR_SHAPE = 8016;
constexpr UINT IDS_VECTOR_UNASSIGNED = 8017;
constexpr UINT IDS_LINE_STYLE_SOLID = 8018;
constexpr UINT IDS_LINE_STYLE_DASHED = 8019;
constexpr UINT IDS_LINE_STYLE_DOTTED = 8020;
constexpr UINT IDS_LINE_STYLE_DASH_DOT = 8021;
constexpr UINT IDS_LINE_STYLE_DASH_DOT_DOT = 8022;

// The text of a string of the library; empty for an unknown id.
CString VectorLoadString(UINT id);

// Use counts per line style, as GetUsedColour fills them.
using CStyleUseMap = CMap<int, int, int, int>;

class CVectorArticle : public CArticle {
    DECLARE_SERIAL(CVectorArticle)
public:
    // Record ids of the article's group (there is no id 1).
    static constexpr WORD kRecLineIndex = 0;
    static constexpr WORD kRecFillIndex = 2;
    static constexpr WORD kRecVersion = 3;
    static constexpr WORD kRecPenWidth = 4;
    static constexpr int32_t kRecordVersion = 3;

    // Named values read while drawing.
    static constexpr const wchar_t* kLineStyle = L".Vector Line Style";
    static constexpr const wchar_t* kFillOn = L".Vector Fill ON";
    static constexpr const wchar_t* kFillColour = L".Vector Fill Colour";
    static constexpr const wchar_t* kLineThickness = L".Vector Line Thickness";
    static constexpr const wchar_t* kDoNotPrint = L".Vector Do Not Print";
    static constexpr const wchar_t* kDashOn = L".Vector Dash ON";
    static constexpr const wchar_t* kDashLineStyle = L".Vector Dash Line Style";
    static constexpr const wchar_t* kDashLineThickness = L".Vector Dash Line Thickness";
    static constexpr const wchar_t* kDashMarkLength = L".Vector Dash Mark Length";
    static constexpr const wchar_t* kDashSpaceLength = L".Vector Dash Space Length";
    static constexpr const wchar_t* kDashContinuousMode = L".Vector Dash Continuous Mode";
    // The application parameter that fills closed paths on drawing (on by default).
    static constexpr const wchar_t* kAutoFillMode = L"Auto Fill Mode";
    static constexpr int kAutoFillModeDefault = 1;
    static constexpr const wchar_t* kCutNext = L"CutNext";
    static constexpr const wchar_t* kCutDone = L"CutDone";

    // Line widths on screen and on paper (without the exact-output option).
    static constexpr int kMaxScreenWidth = 5;
    static constexpr int kMaxPrintWidth = 300;
    // Draw option of exact output (no thickening, spots shown).
    static constexpr int kDrawOptionExact = 0x10;

    CVectorArticle();
    ~CVectorArticle() override;

    CVectorItem* GetItem() const;
    // The page's style table, made and added to the page when it has none; null without page.
    static CVectorStylePB* fnGetVectorStylePB(CJoxPage* page);
    void SetTreeColour(int index);
    int HitTestPoint(CItemHitTest* ht);
    void Bolden(int on, int recurse);
    int MergeAdjustRGBColour(CJoxPage* page, CParamBlkArray& blocks);
    int fnGetDistance(CLpoint& p, double& dist, int recurse);
    int fnGetPenWidth() const { return m_nPenWidth; }
    void fnSetPenWidth(int width) { m_nPenWidth = width; }

    static void GetVectorProperties(CVectorArticle* a, VECTOR_PROPERTIES_TYPE* props);
    // Tree-walk callbacks: used is an int array indexed by style; map a CStyleUseMap.
    static int CalcColourUsage(CTree* node, void* used);
    static int GetUsedColour(CTree* node, void* map);
    static void fnSetRightClickMenu(int id) { s_nRightClickMenu = id; }
    // Test seam: forgets the parameters cached per process.
    static void fnResetCachedParams();

    // Overrides of CArticle.
    void Serialize(CArchive& ar) override;
    CObject* CopyObject(CObject* target) override;
    CString InfoStr(unsigned int flags) override;
    void OnDraw(CJoxView* view, CJoxDC* dc) override;
    void MergeAdjust(CParamBlkArray& blocks) override;
    int GetInfo(CString& kind, CString& count, CString& extra) override;
    void fnGetInventoryDescription(CString& out, bool full) override;
    int GetDefaultToolId() override;
    int fnGetRightClickMenu() override;

    // Own operations, in slot order.
    virtual int PaletteIndex();
    virtual int GetPaletteIndex(int& out);
    virtual int SetPaletteIndex(int index);
    virtual int FillPaletteIndex();
    virtual int GetFillPaletteIndex(int& out);
    virtual int SetFillPaletteIndex(int index);
    virtual int GetLineColourIndex(int& out);
    virtual int SetLineColourIndex(int entry);
    virtual int GetLineColour(COLORREF& rgb);
    virtual int SetLineColour(COLORREF rgb, int& style);
    virtual int GetLineStyle(int& style);
    virtual int SetLineStyle(int style);
    virtual int GetFillColourIndex(int& index);
    virtual int SetFillColourIndex(int index);
    virtual int GetFillColour(COLORREF& rgb);
    virtual int SetFillColour(COLORREF rgb, int& style);
    virtual int GetShadeColour(COLORREF& rgb);
    virtual int fnCanInsertXformLines();
    virtual int fnCanInsertXformArcs();
    virtual int fnMoveStart();
    virtual CVectorArticle* fnNotifyStartMoved();
    virtual void* PtModeAssignNewCallback() const;
    virtual void* PtModeDrawCallback() const;

    static int s_nRightClickMenu;
    // Counts constructions; nothing reads it.
    static int s_nConstructed;

protected:
    void DrawFillMode(CJoxView* view, CJoxDC* dc);
    int _IsCVectorArticle(bool exact) const override;

    int m_nLinePaletteIndex = 0;
    int m_nFillPaletteIndex = -1;
    int m_nPenWidth = 0;
};
