// A one-page PDF of paths, as the PDF library's document calls build it: colours (RGB or CMYK
// kept as given), line width and join, paths of lines, curves and arcs, drawn or filled.
#pragma once

#include <string>

class PdfWriter {
public:
    void SetPageSize(double width, double height);
    void SetLineWidth(double width);
    void SetLineJoin(int join);
    void SetStrokeRgb(double r, double g, double b);
    void SetFillRgb(double r, double g, double b);
    void SetStrokeCmyk(double c, double m, double y, double k);
    void SetFillCmyk(double c, double m, double y, double k);

    void StartPath(double x, double y);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    // From the current point round the centre by `sweep` degrees (counter-clockwise positive).
    void ArcTo(double centreX, double centreY, double sweep);
    void ClosePath();
    // 0 outline, 1 fill, 2 fill and outline; even-odd or non-zero filling.
    void DrawPath(int option, bool evenOdd);
    void DrawLine(double x1, double y1, double x2, double y2);

    // The whole file; false when it could not be written (nothing is left half-written).
    bool Save(const std::string& path) const;
    const std::string& Content() const { return m_content; }

private:
    void Op(const std::string& text);

    double m_width = 612, m_height = 792; // US Letter until told
    std::string m_content;
    double m_x = 0, m_y = 0; // current point
    bool m_inPath = false;
};
