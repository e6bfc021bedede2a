// CEPSInterpreter: turns the path drawing of an EPS, PostScript or Illustrator file into vector
// articles of a design page. It is no PostScript implementation: it knows a fixed vocabulary of
// painting and graphics-state operators, treats every other word as noise and never executes a
// procedure, so every phase is a single pass over the file.
#pragma once

#include "pivora/article.h"
#include "pivora/geometry/mat2d.h"

#include "platform/core/cstring.h"
#include "platform/core/types.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CDesignView;
class CDesignPage;
class CImpPaletteUndo;
class CPercentageDlg;
class CSplineItem;

class CEPSInterpreter {
public:
    // File types found by sniffing.
    enum { kTypePostScript = 0, kTypeEPS = 1, kTypePDF = 2, kTypeUnknown = 3 };
    // Writers named on the "%%Creator" line.
    enum {
        kCreatorIllustrator = 0,
        kCreatorCorel = 1,
        kCreatorQuickPDF = 2,
        kCreatorSerif = 3,
        kCreatorOther = 4
    };
    // Results of Run.
    enum { kRunOk = 0, kRunFailed = -1, kRunPDF = -2, kRunCancelled = -3 };

    // Actions selected by the keywords.
    enum Action : int8_t {
        kEndPath = 0,
        kMoveTo,
        kLineTo,
        kCurveTo,
        kCurveToV,
        kCurveToY,
        kClosePath,
        kMarkStroked,
        kMarkFilled,
        kStrokeEnd,
        kStrokeCloseEnd,
        kFillEnd,
        kFillCloseEnd,
        kFillStrokeEnd,
        kFillStrokeCloseEnd,
        kBeginGroup,
        kEndGroup,
        kBeginGroup2,
        kEndGroup2,
        kStrokeRGB,
        kStrokeCMYK,
        kStrokeGrey,
        kStrokeCustom,
        kFillRGB,
        kFillCMYK,
        kFillGrey,
        kFillCustom,
        kBothRGB,
        kBothCMYK,
        kBothGrey,
        kCreateCMYK,
        kCreateRGB,
        kScale,
        kTranslate,
        kConcat,
        kSave,
        kRestore,
        kClip,
        kRectangle,
        kSetOutline,
        kSetSolidFill,
        kCurrentPoint,
        // Relative path operators, known in files read without a setup.
        kRMoveTo,
        kRLineTo,
        kRCurveTo,
        kActionCount
    };

    // Points (1/72 inch) to data units (micrometres).
    static constexpr double kPointsToData = 352.777;
    // Line segments this short in user space are dropped; line points this close in data units
    // to the previous point too.
    static constexpr double kMinUserSegment = 0.005;
    static constexpr double kMinLineDistance = 5.0;
    static constexpr int kColourSlots = 1024;
    static constexpr COLORREF kBlack = 0x000000;
    static constexpr COLORREF kRed = 0x0000FF;
    // Components summing above this are darkened by kDarken so they stay visible on white.
    static constexpr int kNearWhiteSum = 735;
    static constexpr int kDarken = 20;

    // Bounds that keep hostile files from exhausting memory or time.
    static constexpr size_t kMaxOperands = 1024;
    // Tokens room is made for before reading (128 MB); a larger file grows the row as it goes.
    static constexpr size_t kReservedTokens = size_t(1) << 24;
    static constexpr size_t kMaxSaves = 1000;
    static constexpr int kMaxGroupDepth = 64;
    static constexpr size_t kMaxCreatedColours = 1024;
    static constexpr ULONGLONG kMaxFileSize = 1ULL << 30;
    static constexpr ULONGLONG kDefaultPointBudget = 20000000;
    static constexpr double kDefaultTimeLimit = 120.0;

    // Messages and resources.
    static constexpr UINT IDS_CREATING_VECTOR_DATA = 34087;
    static constexpr const wchar_t* kCreatingVectorData = L"Creating vector data...";
    static constexpr const wchar_t* kReadingFile = L"Reading file...";

    // The keyword tables, in insertion order.
    struct Keyword {
        const char* text;
        Action action;
    };
    static const std::vector<Keyword>& KeywordTable();
    static const std::vector<Keyword>& PdfKeywordTable();
    // Plain PostScript's relative operators: files without a setup (written by programs that
    // draw with the language's own operators) add them to the vocabulary.
    static const std::vector<Keyword>& PlainKeywordTable();
    static int OperandCount(Action a);

    // The page is used through its tree and parameter blocks; flags and list are not used.
    CEPSInterpreter(CDesignView* view, CDesignPage* page, const CString& path, int flags = 0,
                    CArticleList* list = nullptr);
    ~CEPSInterpreter();
    CEPSInterpreter(const CEPSInterpreter&) = delete;
    CEPSInterpreter& operator=(const CEPSInterpreter&) = delete;

    // 1 when the file could be read whole; 0 without page or path, when it cannot be opened or
    // when it is over the size limit (StopReason says why).
    int ReadFile();
    // Takes the bytes as if read from the file (tests and fuzzing).
    int ReadBytes(std::vector<BYTE> bytes);
    // Sniff, header, setup skip, body, main loop, shift to the origin: kRun*.
    int Run();
    // Run in its two phases: reading and tokenizing (sniff, header, setup skip, body), then
    // executing the tokens and the shift to the origin. Execute only after Prepare gave 0.
    int Prepare();
    int Execute();
    size_t TokenCount() const { return m_Tokens.size(); }

    // Polled once per line or token; true cancels.
    void SetCancelCheck(std::function<bool()> cancel) { m_cancel = std::move(cancel); }
    // Backstops: past this many points, or this many seconds of the clock, the run stops as if
    // cancelled and StopReason says why.
    void SetPointBudget(ULONGLONG points) { m_pointBudget = points; }
    void SetTimeLimit(double seconds, std::function<double()> clock);
    // Why the run stopped, or why it imported nothing.
    const CString& StopReason() const { return m_strStopReason; }
    // The progress dialog of the phase running (reading, then executing), or null; its Cancel
    // stops the run as the cancel check does.
    CPercentageDlg* ProgressDialog() const { return m_pProgress; }
    // Batch runs without an operator (fuzzing) may do without the dialogs; shown by default.
    void SetProgressShown(bool shown) { m_bShowProgress = shown; }

    int FileType() const { return m_nFileType; }
    int Creator() const { return m_nCreator; }
    const CString& SourcePath() const { return m_strPath; }
    const CMat2d& CTM() const { return m_CTM; }
    int ColourCount() const { return int(m_Colours.size()); }
    COLORREF Colour(int i) const { return m_Colours[size_t(i)]; }

    // The tokens of one line as the body tokenizer finds them.
    static std::vector<std::string> TokenizeLine(std::string_view line);
    // The number rule: true for a number (value set); outOfRange for a number no float holds.
    static bool ParseNumber(std::string_view token, float& value, bool& outOfRange);
    // A colour from operands 0..1 with the near-white rule.
    static COLORREF MakeColour(double r, double g, double b);

private:
    struct Token {
        int8_t kind; // an Action, or kNumber / kBadNumber
        float value;
    };
    static constexpr int8_t kNumber = -1;
    static constexpr int8_t kBadNumber = -2;
    // A procedure the file defined itself: one that moves the drawing (its matrix), or one
    // that draws. Its constants are pushed as numbers.
    static constexpr int8_t kForeignPlacement = -3;
    static constexpr int8_t kForeignDrawing = -4;

    // Reader and phases.
    bool NextLine(std::string_view& line);
    bool Poll();
    void OpenProgress(const wchar_t* readout);
    void CloseProgress();
    // Moves the bar when the whole percentage changes; true when its Cancel was pressed.
    bool StepProgress();
    void AddLineTokens(std::string_view line);
    // Reads the file's own definitions ("/name {...}") in a file without a setup: a procedure
    // of one known operator makes its name that operator, any other takes the name out of the
    // vocabulary (procedures are not run) and is remembered as placing or drawing.
    void ScanDefinitions(std::string_view line);
    void FinishDefinition();
    void SetKeyword(std::string_view text, int8_t action);
    void BuildKeywordMap();
    static size_t ShortKeywordSlot(std::string_view t);
    // Sniff, header, setup skip and body.
    int ReadPhases();
    int Sniff();
    int ReadHeader(bool& setupEnded);
    int SkipSetup(bool setupEnded);
    int ReadBody();
    int MainLoop();

    // Actions.
    bool RunAction(Action a);
    void StartItem(bool withCurrentPoint);
    bool AddPoint(double x, double y, DWORD mode, double minDistance);
    bool TransformPoint(double x, double y, CLpoint& out);
    void EndPath();
    void MoveTo(double x, double y);
    bool LineTo(double x, double y);
    bool CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void ClosePath();
    // A clip path is never cut: the path is dropped, except the sub-paths painted before it.
    void Clip();
    bool Rectangle(double x, double y, double w, double h);
    void MarkPaint(bool stroked);
    void BeginGroup();
    void EndGroup();
    void AppendChild(CArticle* child);
    void ApplyMatrix(const CMat2d& m);
    void Flush();
    int ColourIndex(COLORREF c);
    int NewColourIndex(COLORREF c);
    void FreePending();
    // The shift to the origin and one undo transaction for the run (the styles before it, the
    // shift of what the page held, the articles added), in one walk of the tree.
    void ShiftAndWriteUndo(CImpPaletteUndo* stylesBefore, const CWindow& extentsBefore,
                           const std::vector<CArticle*>& before);
    // The extents of everything under the root before the shift.
    CWindow ExtentsBeforeShift(const std::vector<CArticle*>& before);
    void ShiftSubtree(CArticle* top, const CLpoint& shift, bool moves);
    void ShiftArticle(CArticle* a, const CLpoint& shift, bool moves);
    // A box the extents of a path's segments lie in; empty when none can be told cheaply.
    static CWindow BoxOfPath(CSplineItem* item);
    void WriteStyleTable();
    void PushOperand(float v);

    CDesignView* m_pView;
    CDesignPage* m_pPage;
    CString m_strPath;
    std::vector<BYTE> m_File;
    size_t m_nPos = 0;
    int m_nFileType = kTypeUnknown;
    int m_nCreator = kCreatorOther;
    std::vector<Token> m_Tokens;
    std::deque<float> m_Operands;
    std::unordered_map<std::string_view, Action> m_Keywords;
    // The actions of the keywords of one or two bytes by ShortKeywordSlot, else kNoKeyword.
    static constexpr size_t kShortKeywordSlots = 256 + 256 * 256;
    static constexpr int8_t kNoKeyword = -1;
    std::vector<int8_t> m_ShortKeywords;
    // Read without a setup (the file's own definitions are followed).
    bool m_bNoSetup = false;
    struct DefinitionScan {
        int depth = 0;              // procedure braces, across lines
        int stringDepth = 0;        // string parentheses, across lines
        std::string_view candidate; // "/name" at the top level, before its "{"
        std::string_view name;      // the procedure being read
        int words = 0;
        std::string_view firstWord;
        bool placement = false;
        bool drawing = false;
        // A procedure of a few numbers only is a constant ("/black {0 0 0} def").
        std::vector<float> numbers;
        bool onlyNumbers = true;
    };
    DefinitionScan m_Def;
    struct Foreign {
        bool placement;
        bool drawing;
    };
    std::unordered_map<std::string_view, Foreign> m_Foreign;
    std::unordered_map<std::string_view, std::vector<float>> m_Constants;
    bool m_bForeignDrawing = false;
    bool m_bEncodedData = false;
    std::vector<CSplineItem*> m_Pending;
    std::vector<CMat2d> m_Saves; // top at the back
    std::deque<COLORREF> m_CreatedColours;
    float m_Args[6] = {};
    CArticle* m_pParent = nullptr;
    std::unordered_map<CTree*, CTree*> m_LastChild;
    // The parent appended to last and its entry in m_LastChild.
    CTree* m_pLastParent = nullptr;
    CTree** m_pLastChildEntry = nullptr;
    int m_nGroupDepth = 0;
    int m_nSwallowedGroups = 0;
    CSplineItem* m_pItem = nullptr;
    double m_curX = 0.0;
    double m_curY = 0.0;
    CMat2d m_CTM;
    // The articles the run made, each with a box its extents lie in (or its extents, exact).
    struct MadeBox {
        CArticle* article;
        CWindow box;
        bool exact;
    };
    std::vector<MadeBox> m_MadeBoxes;
    std::vector<COLORREF> m_Colours;
    // The index ColourIndex gave each colour met so far: its own entry or, once the table is
    // full, the nearest one.
    std::unordered_map<COLORREF, int> m_ColourIndex;
    // Colours asked for lately with their indices, by a hash of the colour (index -1: empty).
    struct RecentColour {
        COLORREF colour = 0;
        int index = -1;
    };
    static constexpr int kRecentColourBits = 6;
    RecentColour m_RecentColours[1 << kRecentColourBits];
    COLORREF m_strokeColour = kBlack;
    COLORREF m_fillColour = kBlack;
    COLORREF m_pathColour = kBlack;
    int m_nPathColourIndex = 0;
    bool m_bPaint = false;
    bool m_bStroked = false;
    bool m_bFilled = false;
    bool m_bPrevCurve = false;
    // The path was painted by a painting operator (not only by a rectangle), and how many of
    // its sub-paths there were then.
    bool m_bPaintedByOperator = false;
    size_t m_nPaintedSubPaths = 0;
    bool m_bFault = false;
    bool m_bStopped = false;
    bool m_bWroteStyles = false;
    ULONGLONG m_nPoints = 0;
    ULONGLONG m_pointBudget = kDefaultPointBudget;
    double m_timeLimit = kDefaultTimeLimit;
    double m_startTime = 0.0;
    std::function<double()> m_clock;
    std::function<bool()> m_cancel;
    unsigned m_nPollCount = 0;
    CPercentageDlg* m_pProgress = nullptr;
    bool m_bShowProgress = true;
    int m_nProgressPos = -1;
    // The count of bytes or tokens done at which the bar's percentage next changes.
    ULONGLONG m_nNextProgressAt = 0;
    bool m_bExecuting = false;
    size_t m_nToken = 0;
    CString m_strStopReason;
};
