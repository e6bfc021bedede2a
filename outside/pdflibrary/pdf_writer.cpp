#include "pdf_writer.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::string Number(double v) {
    if (!std::isfinite(v))
        v = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    std::string s = buf;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Numbers(std::initializer_list<double> values) {
    std::string s;
    for (double v : values)
        s += Number(v) + " ";
    return s;
}

double Unit(double v) {
    return std::isfinite(v) ? std::fmin(1.0, std::fmax(0.0, v)) : 0.0;
}

} // namespace

void PdfWriter::Op(const std::string& text) {
    m_content += text;
    m_content += '\n';
}

void PdfWriter::SetPageSize(double width, double height) {
    m_width = std::isfinite(width) && width > 0 ? width : 1;
    m_height = std::isfinite(height) && height > 0 ? height : 1;
}

void PdfWriter::SetLineWidth(double width) {
    Op(Numbers({std::fabs(width)}) + "w");
}

void PdfWriter::SetLineJoin(int join) {
    Op(std::to_string(join >= 0 && join <= 2 ? join : 0) + " j");
}

void PdfWriter::SetStrokeRgb(double r, double g, double b) {
    Op(Numbers({Unit(r), Unit(g), Unit(b)}) + "RG");
}

void PdfWriter::SetFillRgb(double r, double g, double b) {
    Op(Numbers({Unit(r), Unit(g), Unit(b)}) + "rg");
}

void PdfWriter::SetStrokeCmyk(double c, double m, double y, double k) {
    Op(Numbers({Unit(c), Unit(m), Unit(y), Unit(k)}) + "K");
}

void PdfWriter::SetFillCmyk(double c, double m, double y, double k) {
    Op(Numbers({Unit(c), Unit(m), Unit(y), Unit(k)}) + "k");
}

void PdfWriter::StartPath(double x, double y) {
    m_inPath = true;
    MoveTo(x, y);
}

void PdfWriter::MoveTo(double x, double y) {
    m_inPath = true;
    m_x = x;
    m_y = y;
    Op(Numbers({x, y}) + "m");
}

void PdfWriter::LineTo(double x, double y) {
    m_x = x;
    m_y = y;
    Op(Numbers({x, y}) + "l");
}

void PdfWriter::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    m_x = x3;
    m_y = y3;
    Op(Numbers({x1, y1, x2, y2, x3, y3}) + "c");
}

void PdfWriter::ArcTo(double cx, double cy, double sweep) {
    if (!std::isfinite(sweep) || sweep == 0)
        return;
    const double r = std::hypot(m_x - cx, m_y - cy);
    double a = std::atan2(m_y - cy, m_x - cx);
    const double total = sweep * kPi / 180;
    const int parts = int(std::ceil(std::fabs(total) / (kPi / 2)));
    const double step = total / parts;
    const double k = 4.0 / 3.0 * std::tan(step / 4); // control distance of a cubic quarter arc
    for (int i = 0; i < parts; ++i) {
        double b = a + step;
        double x0 = cx + r * std::cos(a), y0 = cy + r * std::sin(a);
        double x3 = cx + r * std::cos(b), y3 = cy + r * std::sin(b);
        CurveTo(x0 - k * r * std::sin(a), y0 + k * r * std::cos(a), x3 + k * r * std::sin(b),
                y3 - k * r * std::cos(b), x3, y3);
        a = b;
    }
}

void PdfWriter::ClosePath() {
    Op("h");
}

void PdfWriter::DrawPath(int option, bool evenOdd) {
    if (!m_inPath)
        return;
    m_inPath = false;
    if (option == 1)
        Op(evenOdd ? "f*" : "f");
    else if (option == 2)
        Op(evenOdd ? "B*" : "B");
    else
        Op("S");
}

void PdfWriter::DrawLine(double x1, double y1, double x2, double y2) {
    Op(Numbers({x1, y1}) + "m " + Numbers({x2, y2}) + "l S");
}

bool PdfWriter::Save(const std::string& path) const {
    std::string file = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    auto object = [&](const std::string& body) {
        offsets.push_back(file.size());
        file += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(m_width) + " " +
           Number(m_height) + "] /Contents 4 0 R /Resources << >> >>");
    object("<< /Length " + std::to_string(m_content.size()) + " >>\nstream\n" + m_content +
           "endstream");
    const size_t xref = file.size();
    file += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        file += line;
    }
    file += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) +
            " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";

    std::string part = path + ".part";
    FILE* f = std::fopen(part.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size() && std::fflush(f) == 0 &&
              fsync(fileno(f)) == 0;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(part.c_str(), path.c_str()) != 0) {
        std::remove(part.c_str());
        return false;
    }
    return true;
}
