// Comparing imported paths with what an independent renderer makes of the same file: the
// renderer's picture (binary PBM or PGM) is read back as ink, the paths are sampled at the same
// scale, the two are placed on each other by their ink boxes, and the farthest ink from the
// paths and the farthest path from the ink are measured in pixels.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <string>
#include <vector>

class CArticle;

struct InkImage {
    int width = 0;
    int height = 0;
    std::vector<bool> ink; // row by row, true for a dark pixel
    bool At(int x, int y) const { return ink[size_t(y) * size_t(width) + size_t(x)]; }
};

using PixelLine = std::vector<CDpoint>;

struct OutlineFit {
    double inkToPaths = 0.0; // farthest ink pixel (centre) from the paths
    double pathsToInk = 0.0; // farthest sample of the paths from an ink pixel
    int inkPixels = 0;
};

// True when the program is on the PATH.
bool ToolInstalled(const std::string& program);
// Runs a command with its output thrown away; true on exit status 0.
bool RunQuietly(const std::string& command);
// Binary PBM (P4) or PGM (P5, any pixel short of white is ink); false for anything else.
bool ReadNetpbm(const std::string& path, InkImage& out);
// The vector articles under root as polylines in data units (arcs cut into short pieces).
std::vector<PixelLine> ArticlePaths(CArticle* root);
// Data units (micrometres, y up) to pixels at dpi (y down).
std::vector<PixelLine> ToPixels(const std::vector<PixelLine>& paths, double dpi);
// Distances beyond `reach` pixels count as reach + 1.
OutlineFit CompareOutlines(const InkImage& image, const std::vector<PixelLine>& paths,
                           int reach = 6);
