// The walk that writes a design into a PDF document, and the document calls of the PDF library
// (load check and conversion to EPS or a raster picture).
#pragma once

#include "pivora/article.h"
#include "pivora/geometry/geometry_types.h"
#include "pivora/geometry/mat2d.h"
#include "platform/core/list.h"
#include "platform/core/map.h"
#include "platform/core/ob_list.h"
#include "platform/core/typed_ptr_list.h"

class CBezierItem;
class CItem;
class CJoxPage;
class CSplineItem;
class CVectorItem;

// The walk's state: the articles, the matrix, the first and last point of the path being
// written, and the flags and colours of the article being written. It calls no library.
class CPDFDoc {
public:
    CPDFDoc();
    virtual ~CPDFDoc() = default;

    virtual void Reset();
    // Takes the article's flags and marks it written; true when it is a path to write.
    virtual bool WriteArticle(CArticle* article, CItem* item);
    virtual void EndPath();
    // Remembers the path's first and last points; the library document writes it as well.
    virtual void WritePathItem(CVectorItem* item);
    virtual void WriteBezierItem(CBezierItem* item);

    // Data units (micrometres) to points.
    static constexpr double kUnitsToPoints = 0.00003937007874015748 * 72;
    // Marks an article as written while a design is written.
    static constexpr DWORD kWrittenBit = 0x02;

protected:
    CTypedPtrList<CObList, CArticle*> m_articles;
    CMat2d m_mat;
    CMap<UINT, UINT, UINT, UINT> m_map;
    CList<UINT, UINT> m_list;
    CLpoint m_firstPoint;
    CLpoint m_lastPoint;
    bool m_bDraw = false;
    bool m_bFillOn = false;
    bool m_bHasChildren = false;
    bool m_bCompound = false;
    CJoxPage* m_pPage = nullptr;
    int m_nLineWidth = 1;
    COLORREF m_lineColour = 0;
    COLORREF m_fillColour = 0;
};

struct StCMYK {
    double c, m, y, k;
};

// A colour's components (0..255) as CMYK fractions: black is K only, white nothing.
StCMYK FnRGBToCMYK(COLORREF colour);

class CDebenuPDF : public CPDFDoc {
public:
    // Flags of the load check.
    static constexpr UINT kCheckImport = 0x4;   // added by the import road
    static constexpr UINT kCheckContents = 0x8; // also read content streams and text

    // True when the library loads the file; every page is selected and, with kCheckContents,
    // its contents read (nothing read is used). The article list is not changed.
    virtual bool CheckDocument(const CString& path, CJoxPage* page, UINT flags);
    // Renders page 1 of `source` into "<home>\Temp\<name><extension>" (an older file of that
    // name deleted first) for ".EPS", ".bmp", ".jpg" or ".tiff"; another extension renders
    // nothing. `output` receives the path. False when the library is not loaded or the file
    // does not load.
    virtual bool ConvertToFile(const CString& source, CString* output, const wchar_t* extension);

    // Flag of WriteDesign: also render the written page as EPS beside the file.
    static constexpr UINT kWriteAlsoEps = 0x2;
    // Writes the page's path articles into a new one-page PDF at `path`, the page's extents
    // as the page; the design is left where it was. False when the library is not loaded or
    // the document cannot be made or saved.
    virtual bool WriteDesign(const CString& path, CJoxPage* page, UINT flags);
    bool WriteArticle(CArticle* article, CItem* item) override;
    void EndPath() override;
    void WritePathItem(CVectorItem* item) override;
    void WriteBezierItem(CBezierItem* item) override;
    virtual void SetLineColour(COLORREF colour);
    virtual void SetFillColour(COLORREF colour);

private:
    // The point in points, from data units.
    static double Pt(LONG v) { return v * kUnitsToPoints; }
    void StartAt(const CLpoint& p);
    void WriteSplineItem(CSplineItem* item);
    bool m_bCmyk = false;
};
