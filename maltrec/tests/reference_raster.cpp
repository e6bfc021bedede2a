#include "reference_raster.h"

#include "pivora/article.h"
#include "vector/vector_article.h"
#include "vector/vector_item.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

constexpr double kDataPerInch = 25400.0;

// The next header number of a Netpbm file, comments skipped.
bool HeaderNumber(const std::string& bytes, size_t& pos, int& value) {
    for (;;) {
        while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos])))
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '#') {
            while (pos < bytes.size() && bytes[pos] != '\n')
                ++pos;
            continue;
        }
        break;
    }
    const size_t start = pos;
    value = 0;
    while (pos < bytes.size() && bytes[pos] >= '0' && bytes[pos] <= '9' && value < 100000)
        value = value * 10 + (bytes[pos++] - '0');
    return pos > start;
}

// Samples about every quarter pixel along the lines.
std::vector<CDpoint> Samples(const std::vector<PixelLine>& lines) {
    std::vector<CDpoint> out;
    for (const PixelLine& line : lines) {
        if (line.size() == 1)
            out.push_back(line[0]);
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const CDpoint a = line[i], b = line[i + 1];
            const int n = std::max(1, int(std::hypot(b.x - a.x, b.y - a.y) * 4));
            for (int k = 0; k <= n; ++k)
                out.push_back(CDpoint(a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n));
        }
    }
    return out;
}

} // namespace

bool ToolInstalled(const std::string& program) {
    return RunQuietly("command -v " + program);
}

bool RunQuietly(const std::string& command) {
    return std::system((command + " > /dev/null 2>&1").c_str()) == 0;
}

bool ReadNetpbm(const std::string& path, InkImage& out) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '4' && bytes[1] != '5'))
        return false;
    const bool bitmap = bytes[1] == '4';
    size_t pos = 2;
    int w = 0, h = 0, maxValue = 1;
    if (!HeaderNumber(bytes, pos, w) || !HeaderNumber(bytes, pos, h) ||
        (!bitmap && !HeaderNumber(bytes, pos, maxValue)) || w <= 0 || h <= 0 || maxValue <= 0 ||
        maxValue > 255)
        return false;
    ++pos; // the single white-space byte before the raster
    const size_t rowBytes = bitmap ? size_t(w + 7) / 8 : size_t(w);
    if (bytes.size() < pos + rowBytes * size_t(h))
        return false;
    out.width = w;
    out.height = h;
    out.ink.assign(size_t(w) * size_t(h), false);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(bytes.data() + pos) + rowBytes * y;
        for (int x = 0; x < w; ++x)
            out.ink[size_t(y) * size_t(w) + size_t(x)] =
                bitmap ? (row[x / 8] >> (7 - x % 8)) & 1 : row[x] < maxValue;
    }
    return true;
}

std::vector<PixelLine> ArticlePaths(CArticle* root) {
    std::vector<PixelLine> out;
    CArticleList list;
    root->GetArticleList(&list, nullptr, nullptr);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* item = DynamicDowncast<CVectorItem>(list.GetNext(pos)->GetItem());
        if (!item || item->Pkt()->IsEmpty())
            continue;
        PixelLine line;
        for (int i = 0; i < int(item->Pkt()->GetSize()); ++i) {
            CPkt e = item->Pkt(i);
            if (line.empty())
                line.push_back(CDpoint(e.start));
            if (e.mode == CPkt::kArc) {
                const CArc& a = e.Arc();
                const int n = std::clamp(int(std::fabs(a.angDiff()) * a.r / 50.0), 2, 10000);
                for (int k = 1; k < n; ++k)
                    line.push_back(a.locus(a.a0 + a.angDiff() * k / n));
            }
            line.push_back(CDpoint(e.end));
        }
        out.push_back(std::move(line));
    }
    return out;
}

std::vector<PixelLine> ToPixels(const std::vector<PixelLine>& paths, double dpi) {
    std::vector<PixelLine> out = paths;
    for (PixelLine& line : out)
        for (CDpoint& p : line)
            p = CDpoint(p.x * dpi / kDataPerInch, -p.y * dpi / kDataPerInch);
    return out;
}

OutlineFit CompareOutlines(const InkImage& image, const std::vector<PixelLine>& paths, int reach) {
    OutlineFit fit;
    std::vector<CDpoint> samples = Samples(paths);
    int x1 = image.width, y1 = image.height, x2 = -1, y2 = -1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y)) {
                x1 = std::min(x1, x), y1 = std::min(y1, y), x2 = std::max(x2, x),
                y2 = std::max(y2, y);
                ++fit.inkPixels;
            }
    if (samples.empty() || fit.inkPixels == 0) {
        fit.inkToPaths = fit.pathsToInk = reach + 1;
        return fit;
    }
    double sx1 = samples[0].x, sy1 = samples[0].y, sx2 = sx1, sy2 = sy1;
    for (const CDpoint& p : samples) {
        sx1 = std::min(sx1, p.x), sy1 = std::min(sy1, p.y);
        sx2 = std::max(sx2, p.x), sy2 = std::max(sy2, p.y);
    }
    // The box of the ink runs from the first inked pixel's edge to the last one's far edge.
    const double dx = (x1 + x2 + 1) / 2.0 - (sx1 + sx2) / 2.0;
    const double dy = (y1 + y2 + 1) / 2.0 - (sy1 + sy2) / 2.0;
    // Samples by the pixel they fall in, for the search from the ink.
    std::vector<std::vector<CDpoint>> cells(size_t(image.width) * size_t(image.height));
    for (CDpoint& p : samples) {
        p = CDpoint(p.x + dx, p.y + dy);
        const int cx = int(std::floor(p.x)), cy = int(std::floor(p.y));
        if (cx >= 0 && cy >= 0 && cx < image.width && cy < image.height)
            cells[size_t(cy) * size_t(image.width) + size_t(cx)].push_back(p);
    }
    const double none = reach + 1;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (!image.At(x, y))
                continue;
            double best = none;
            for (int v = std::max(0, y - reach); v <= std::min(image.height - 1, y + reach); ++v)
                for (int u = std::max(0, x - reach); u <= std::min(image.width - 1, x + reach); ++u)
                    for (const CDpoint& p : cells[size_t(v) * size_t(image.width) + size_t(u)])
                        best = std::min(best, std::hypot(p.x - (x + 0.5), p.y - (y + 0.5)));
            fit.inkToPaths = std::max(fit.inkToPaths, best);
        }
    for (const CDpoint& p : samples) {
        double best = none;
        const int cx = int(std::floor(p.x)), cy = int(std::floor(p.y));
        for (int v = std::max(0, cy - reach); v <= std::min(image.height - 1, cy + reach); ++v)
            for (int u = std::max(0, cx - reach); u <= std::min(image.width - 1, cx + reach); ++u)
                if (image.At(u, v))
                    best = std::min(best, std::hypot(p.x - (u + 0.5), p.y - (v + 0.5)));
        fit.pathsToInk = std::max(fit.pathsToInk, best);
    }
    return fit;
}
