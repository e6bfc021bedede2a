// CImportHPGL: reads an HP-GL plot file into a design: every pen-down stroke and arc becomes a
// spline item of its own vector article, coloured by the pen number. The reader state lives in
// static storage and is reset at the start of each import.
#pragma once

#include "maltrec/import/import_group.h"

#include "pivora/geometry/sb.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CDesignView;
class CFile;
class CDesignPage;
class CSplineItem;

class CImportHPGL {
public:
    static constexpr UINT IDS_HPGL_ERROR = 34071;
    static constexpr int kNoCommand = 999;
    static constexpr int kDefaultResolution = 40; // plotter units per millimetre
    static constexpr int kDefaultChord = 5;       // degrees
    // P1-P2 before any IP, in plotter units: the A4 and A landscape default of the classic
    // desktop pen plotters. Programs that write SC without IP scale for it.
    static constexpr double kDefaultP1P2X = 10000;
    static constexpr double kDefaultP1P2Y = 7200;
    // Imported coordinates are clamped to this magnitude (data units), counted as errors.
    static constexpr int64_t kMaxCoordinate = 1000000000;
    // Command codes the reader acts on.
    enum : int {
        kIP = 5,
        kSC = 6,
        kSP = 9,
        kPA = 10,
        kPR = 11,
        kPU = 12,
        kPD = 13,
        kAA = 24,
        kAR = 25,
        kLT = 30,
        kLB = 40,
        kSI = 41,
        kDI = 43,
        kLO = 48,
        kPG = 81,
        kPW = 82
    };

    CImportHPGL() = delete;

    // Reads the file (closing it) and imports it; 1 when at least one article was added.
    static int ImportHPGLDesign(CDesignView* view, CDesignPage* page, CFile* file, UINT kind,
                                CArticleList* list);
    // The same over text already read; path names the file in the status bar.
    static int ImportHPGLText(CDesignView* view, CDesignPage* page, std::string& text,
                              const CString& path, UINT kind, CArticleList* list);

    // Cuts the text into commands (views into text, which the CRLF rule may rewrite): at the
    // separators, and before every two-letter mnemonic written without one ("PUPA4,4"). A
    // label's text and encoded data are never cut at letters.
    static void BuildHpglArray(std::string& text, std::vector<std::string_view>& commands);
    // The code of the first table row whose mnemonic occurs in the text; 999 for none.
    static int SearchHpglCmdDict(std::string_view text);
    // The code of a command by its first two characters, exactly as written.
    static int CommandCode(std::string_view command);
    // Executes the commands into the group's page; returns 1.
    static int GetHPGLcommands(CDesignView* view, const std::vector<std::string_view>& commands,
                               CImportGroup& group);
    // Terms are decimal numbers, rounded once after scaling; relative values run on from the
    // unrounded base (data units), so steps do not gather rounding.
    static void BuildPointArray(std::string_view command, std::vector<int>& out, bool absolute,
                                CDpoint base, double resolution);
    static void BuildArcPointArray(std::string_view command, std::vector<int>& out,
                                   double resolution);
    // Appends the pairs as corner points; the pen takes the last one. Empties the array and
    // returns how many numbers it held.
    static int AddHPGLPoints(std::vector<int>& points, CSplineItem* item, CSb& pen);
    static int ConvertPoint(double value, double resolution);
    static size_t FindTerm(std::string_view text, size_t start);
    // Errors counted by the last import.
    static int ErrorCount();
};
