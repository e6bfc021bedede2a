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

class CJoxPage;

// The walk's state: the articles, the matrix, the first and last point of the path being
// written, and the flags and colours of the article being written. It calls no library.
class CPDFDoc {
public:
    CPDFDoc();
    virtual ~CPDFDoc() = default;

    virtual void Reset();

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
};
