#include "maltrec/import/import_hpgl.h"

#include "design/design_page.h"
#include "maltrec/import/import_failure.h"
#include "pivora/framework/app_params.h"
#include "spline/spline_item.h"

#include "platform/core/decimal_parse.h"
#include "platform/core/file.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/message_box.h"
#include "platform/windowing/resources.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr DWORD kCorner = 0x200;
constexpr double kDegToRad = 0.017453292;
constexpr int kMaxSweep = 360;
constexpr char kETX = 3;

struct CommandRow {
    const char* mnemonic;
    int code;
};

// Searched in order; "!PG" is an alias of "PG".
constexpr std::array<CommandRow, 85> kCommands = {{
    {"DF", 1},  {"IN", 2},  {"IM", 3},  {"NR", 4},  {"IP", 5},   {"SC", 6},  {"IW", 7},  {"RO", 8},
    {"SP", 9},  {"PA", 10}, {"PR", 11}, {"PU", 12}, {"PD", 13},  {"AP", 14}, {"VS", 15}, {"FS", 16},
    {"GP", 17}, {"SG", 18}, {"EA", 19}, {"ER", 20}, {"RA", 21},  {"RR", 22}, {"CI", 23}, {"AA", 24},
    {"AR", 25}, {"EW", 26}, {"WG", 27}, {"FT", 28}, {"PT", 29},  {"LT", 30}, {"UF", 31}, {"CT", 32},
    {"TL", 33}, {"XT", 34}, {"YT", 35}, {"PM", 36}, {"EP", 37},  {"FP", 38}, {"GM", 39}, {"LB", 40},
    {"SI", 41}, {"SR", 42}, {"DI", 43}, {"DR", 44}, {"DV", 45},  {"SL", 46}, {"ES", 47}, {"LO", 48},
    {"BL", 49}, {"PB", 50}, {"UC", 51}, {"SM", 52}, {"DT", 53},  {"CC", 54}, {"CP", 55}, {"CM", 56},
    {"DS", 57}, {"IV", 58}, {"CS", 59}, {"SS", 60}, {"CA", 61},  {"SA", 62}, {"DL", 63}, {"WD", 64},
    {"OA", 65}, {"OC", 66}, {"OP", 67}, {"OW", 68}, {"OH", 69},  {"OF", 70}, {"OI", 71}, {"OK", 72},
    {"OL", 73}, {"OO", 74}, {"OT", 75}, {"OE", 76}, {"OS", 77},  {"DP", 78}, {"OD", 79}, {"DC", 80},
    {"PG", 81}, {"PW", 82}, {"WU", 83}, {"IR", 84}, {"!PG", 81},
}};

// Codes by their two letters, built once: the table is searched in order, so the first row wins.
const std::array<short, 65536>& TwoLetterCodes() {
    static const std::array<short, 65536> codes = [] {
        std::array<short, 65536> c;
        c.fill(short(CImportHPGL::kNoCommand));
        for (auto it = kCommands.rbegin(); it != kCommands.rend(); ++it) {
            const std::string_view m = it->mnemonic;
            if (m.size() == 2)
                c[size_t(uint8_t(m[0])) << 8 | uint8_t(m[1])] = short(it->code);
        }
        return c;
    }();
    return codes;
}

// Reader state for one import.
struct State {
    int errors = 0;
    CSb pen{kCorner, CLpoint(0, 0)};
    CDpoint base{0, 0};
    // The pen position before rounding (data units): relative moves run on from it.
    CDpoint exact{0, 0};
    // The unrounded last pair BuildPointArray read.
    CDpoint lastExact{0, 0};
    CSplineItem* item = nullptr;
    bool newItem = true;
    bool penDown = false;
    bool absolute = true;
    int penNumber = 0;
    double resolution = CImportHPGL::kDefaultResolution;
    // Ranges in thousandths of a unit, as IP and SC numbers are taken at resolution 1.
    double p1p2X = CImportHPGL::kDefaultP1P2X * 1000, p1p2Y = CImportHPGL::kDefaultP1P2Y * 1000;
    double userX = 1000, userY = 1000;
    int previous = CImportHPGL::kNoCommand;
    std::string upper;       // scratch: the upper-cased command
    std::vector<int> values; // scratch: numbers of one command

    void Reset() {
        *this = State();
        resolution = QvGetSetAppParam(L"Hpgl Import Res", CImportHPGL::kDefaultResolution);
        if (!(resolution > 0))
            resolution = CImportHPGL::kDefaultResolution;
    }
};

State& S() {
    static State state;
    return state;
}

const bool kRegisteredAtLoad = [] {
    platform::RegisterStrings(
        {{CImportHPGL::IDS_HPGL_ERROR, L"Error Reading HPGL File\nPlease report this to your "
                                       L"distributor"}});
    return true;
}();

int ClampCoordinate(int64_t v) {
    if (v > CImportHPGL::kMaxCoordinate || v < -CImportHPGL::kMaxCoordinate) {
        ++S().errors;
        return int(
            std::clamp<int64_t>(v, -CImportHPGL::kMaxCoordinate, CImportHPGL::kMaxCoordinate));
    }
    return int(v);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Commands whose parameter is text or encoded data (labels, comments, polyline encoding,
// terminators, symbols): their letters are no mnemonics.
bool TakesText(char a, char b) {
    const char u[2] = {char(a & ~0x20), char(b & ~0x20)};
    const std::string_view m(u, 2);
    return m == "LB" || m == "BL" || m == "WD" || m == "DT" || m == "SM" || m == "PE" || m == "CO";
}

// A piece without a mnemonic: numbers running on from the previous command's line.
bool IsContinuation(std::string_view piece) {
    if (piece.empty())
        return false;
    const char c = piece.front();
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ',';
}

// The decimal number of a term, 0 (counted) when it holds none; false for a blank term.
bool TermValue(std::string_view term, double& value) {
    term = TrimBlanks(term);
    if (term.empty())
        return false;
    size_t used = 0;
    switch (platform::ParseDecimalPrefix(term, value, used)) {
    case platform::DecimalParse::Ok:
        break;
    case platform::DecimalParse::OutOfRange:
        value = term.front() == '-' ? -1e300 : 1e300;
        ++S().errors;
        break;
    case platform::DecimalParse::None:
        value = 0;
        ++S().errors;
        break;
    }
    return true;
}

// Data units from a scaled value: 0.49 toward the larger magnitude, then truncated; values
// past the limit are clamped and counted.
int RoundData(double r) {
    r += r < 0 ? -0.49 : 0.49;
    if (!std::isfinite(r) || r > double(CImportHPGL::kMaxCoordinate) ||
        r < -double(CImportHPGL::kMaxCoordinate)) {
        ++S().errors;
        return r < 0 ? int(-CImportHPGL::kMaxCoordinate) : int(CImportHPGL::kMaxCoordinate);
    }
    return int(r);
}

// Every number of the text, cut into terms.
void ReadTerms(std::string_view text, std::vector<double>& out) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = CImportHPGL::FindTerm(text, start);
        double v;
        if (TermValue(text.substr(start, end - start), v))
            out.push_back(v);
        start = end + 1;
    }
}

void EndPath() {
    State& s = S();
    CImportGroup::FinishItem(s.item);
    s.item = nullptr;
    s.newItem = true;
}

// The current item, starting a new article at the pen position when one is needed.
CSplineItem* DrawingItem(CImportGroup& group) {
    State& s = S();
    if (s.newItem || !s.item) {
        EndPath();
        s.item = group.NewPenArticle(s.penNumber);
        s.item->Vect(s.pen);
        s.newItem = false;
    }
    return s.item;
}

void MovePenTo(const std::vector<int>& values) {
    State& s = S();
    if (values.size() >= 2)
        s.pen = CSb(kCorner, CLpoint(values[values.size() - 2], values.back()));
}

// The unrounded pen after coordinates: the last pair read, or the pen where a lone x left it.
void FollowExact(size_t count) {
    State& s = S();
    if (count >= 2 && count % 2 == 0)
        s.exact = s.lastExact;
    else if (count)
        s.exact = CDpoint(s.pen.pt.x, s.pen.pt.y);
}

// Coordinates of PU, PD, PA and PR (and their continuations).
void Coordinates(std::string_view command, CImportGroup& group) {
    State& s = S();
    s.values.clear();
    CImportHPGL::BuildPointArray(command, s.values, s.absolute, s.base, s.resolution);
    const size_t count = s.values.size();
    if (!count)
        return;
    if (s.penDown) {
        CImportHPGL::AddHPGLPoints(s.values, DrawingItem(group), s.pen);
    } else {
        MovePenTo(s.values);
        s.values.clear();
    }
    FollowExact(count);
}

void InputWindow(std::string_view command, bool scale) {
    State& s = S();
    std::vector<double> v;
    ReadTerms(command.substr(std::min<size_t>(2, command.size())), v);
    // Numbers are taken at resolution 1: thousandths of a unit, unrounded.
    for (double& d : v)
        d *= 1000;
    if (!scale) {
        if (v.size() >= 4) {
            s.p1p2X = v[2] - v[0];
            s.p1p2Y = v[3] - v[1];
        }
        return;
    }
    if (v.size() < 2)
        return;
    s.userX = v[1] - v[0];
    if (v.size() >= 4)
        s.userY = v[3] - v[2];
    // A zero P1-P2 range or a scale that turns the resolution non-positive keeps the old one.
    const double next = s.p1p2X != 0 ? s.resolution * s.userX / s.p1p2X : 0.0;
    if (std::isfinite(next) && next > 0)
        s.resolution = next;
    else
        ++s.errors;
}

int Execute(std::string_view command, int code, CImportGroup& group) {
    State& s = S();
    switch (code) {
    case CImportHPGL::kIP:
    case CImportHPGL::kSC:
        InputWindow(command, code == CImportHPGL::kSC);
        break;
    case CImportHPGL::kSP: {
        std::vector<double> v;
        ReadTerms(command.substr(2), v);
        s.penNumber =
            CImportGroup::ClampPen(v.empty() ? 0 : int64_t(std::clamp(v.front(), -1e9, 1e9)));
        EndPath();
        break;
    }
    case CImportHPGL::kPA:
        s.absolute = true;
        Coordinates(command, group);
        break;
    case CImportHPGL::kPR:
        // Coordinates on PR itself move or draw as on PA, relative to the pen.
        s.absolute = false;
        s.base = s.exact;
        Coordinates(command.substr(2), group);
        break;
    case CImportHPGL::kPU:
        s.penDown = false;
        EndPath();
        s.base = s.exact;
        Coordinates(command, group);
        break;
    case CImportHPGL::kPD:
        s.penDown = true;
        s.base = s.exact;
        Coordinates(command, group);
        break;
    case CImportHPGL::kAA:
    case CImportHPGL::kAR:
        s.values.clear();
        CImportHPGL::BuildArcPointArray(command, s.values, s.resolution);
        if (!s.values.empty()) {
            CImportHPGL::AddHPGLPoints(s.values, DrawingItem(group), s.pen);
            s.exact = CDpoint(s.pen.pt.x, s.pen.pt.y);
        }
        break;
    case CImportHPGL::kLT:
    case CImportHPGL::kLB:
    case CImportHPGL::kSI:
    case CImportHPGL::kDI:
    case CImportHPGL::kLO:
    case CImportHPGL::kPG:
    case CImportHPGL::kPW:
        break;
    default:
        // Numbers that run on after PU or PD belong to it; a command with a mnemonic of its
        // own (PM, EP, FP, IN ...) never does.
        if ((s.previous == CImportHPGL::kPU || s.previous == CImportHPGL::kPD) &&
            IsContinuation(command)) {
            Execute(command, s.previous, group);
            return s.previous;
        }
        break;
    }
    return code;
}

} // namespace

int CImportHPGL::ErrorCount() {
    return S().errors;
}

int CImportHPGL::ConvertPoint(double value, double resolution) {
    return RoundData(value * 1000.0 / resolution);
}

size_t CImportHPGL::FindTerm(std::string_view text, size_t start) {
    size_t at = text.find(',', start);
    if (at == std::string_view::npos)
        at = text.find(' ', start);
    return at == std::string_view::npos ? text.size() : at;
}

int CImportHPGL::SearchHpglCmdDict(std::string_view text) {
    for (const CommandRow& row : kCommands)
        if (text.find(row.mnemonic) != std::string_view::npos)
            return row.code;
    return kNoCommand;
}

int CImportHPGL::CommandCode(std::string_view command) {
    if (command.size() < 2)
        return kNoCommand;
    return TwoLetterCodes()[size_t(uint8_t(command[0])) << 8 | uint8_t(command[1])];
}

void CImportHPGL::BuildHpglArray(std::string& text, std::vector<std::string_view>& commands) {
    commands.clear();
    auto separator = [](char c) { return c == ';' || c == '\r' || c == '\n' || c == kETX; };
    if (text.find(';') != std::string::npos && QvGetSetAppParam(L"Remove HPGL CRLF", 0) != 0)
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == kETX; });
    // A piece between separators holds one command or more written without one.
    auto pushPiece = [&](std::string_view piece) {
        size_t start = 0;
        for (size_t i = 0; i + 1 < piece.size();) {
            if (!IsLetter(piece[i]) || !IsLetter(piece[i + 1])) {
                ++i;
                continue;
            }
            if (const std::string_view before = TrimBlanks(piece.substr(start, i - start));
                !before.empty())
                commands.push_back(before);
            start = i;
            if (TakesText(piece[i], piece[i + 1]))
                break;
            i += 2;
        }
        if (const std::string_view rest = TrimBlanks(piece.substr(start)); !rest.empty())
            commands.push_back(rest);
    };
    const std::string_view all = text;
    size_t start = 0;
    for (size_t i = 0; i <= all.size(); ++i) {
        if (i == all.size() || separator(all[i])) {
            if (i > start)
                pushPiece(all.substr(start, i - start));
            start = i + 1;
        }
    }
}

void CImportHPGL::BuildPointArray(std::string_view command, std::vector<int>& out, bool absolute,
                                  CDpoint base, double resolution) {
    State& s = S();
    std::string& up = s.upper;
    up.assign(command);
    for (char& c : up)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    std::string_view rest = up;
    for (const char* m : {"PU", "PD", "PA", "IP", "SC"}) {
        if (rest.find(m) != std::string_view::npos) {
            rest.remove_prefix(std::min<size_t>(2, rest.size()));
            break;
        }
    }
    std::vector<double> values;
    ReadTerms(rest, values);
    double running[2] = {base.x, base.y};
    for (size_t i = 0; i < values.size(); ++i) {
        const double scaled = values[i] * 1000.0 / resolution;
        double& r = running[i % 2];
        r = absolute ? scaled : r + scaled;
        const int v = RoundData(r);
        // A clamped value runs on from the clamp.
        if (std::fabs(r) > double(kMaxCoordinate))
            r = v;
        out.push_back(v);
    }
    s.lastExact = CDpoint(running[0], running[1]);
    if (values.size() % 2)
        ++s.errors;
}

void CImportHPGL::BuildArcPointArray(std::string_view command, std::vector<int>& out,
                                     double resolution) {
    State& s = S();
    const bool relative = command.size() >= 2 && command[1] == 'R';
    std::vector<double> v;
    ReadTerms(command.substr(std::min<size_t>(2, command.size())), v);
    if (v.size() < 3) {
        ++s.errors;
        return;
    }
    int64_t cx = ConvertPoint(v[0], resolution), cy = ConvertPoint(v[1], resolution);
    if (relative) {
        cx = ClampCoordinate(cx + s.pen.pt.x);
        cy = ClampCoordinate(cy + s.pen.pt.y);
    }
    // Angles are whole degrees.
    auto degrees = [](double d) {
        return int64_t(std::clamp(d, -double(kMaxSweep), double(kMaxSweep)));
    };
    const int64_t sweep = degrees(v[2]);
    // A zero chord would never end; a negative one is taken by its size.
    int64_t chord = v.size() >= 4 ? std::abs(degrees(v[3])) : kDefaultChord;
    if (chord == 0)
        chord = kDefaultChord;
    const double dx = double(s.pen.pt.x - cx), dy = double(s.pen.pt.y - cy);
    const double radius = std::sqrt(dx * dx + dy * dy);
    double angle = std::atan2(dy, dx);
    const int64_t steps = std::abs(sweep / chord);
    const double turn = (sweep < 0 ? -1.0 : 1.0) * double(chord) * kDegToRad;
    for (int64_t i = 0; i < steps; ++i) {
        angle += turn;
        out.push_back(ClampCoordinate(cx + int64_t(std::cos(angle) * radius)));
        out.push_back(ClampCoordinate(cy + int64_t(std::sin(angle) * radius)));
    }
}

int CImportHPGL::AddHPGLPoints(std::vector<int>& points, CSplineItem* item, CSb& pen) {
    const int count = int(points.size());
    if (count % 2) {
        points.push_back(0);
        ++S().errors;
    }
    for (size_t i = 0; i + 1 < points.size(); i += 2)
        item->Vect(CSb(kCorner, CLpoint(points[i], points[i + 1])));
    if (item->VectCount() > 0)
        pen = item->Vect(item->VectCount() - 1);
    pen.flags = kCorner;
    points.clear();
    return count;
}

int CImportHPGL::GetHPGLcommands(CDesignView*, const std::vector<std::string_view>& commands,
                                 CImportGroup& group) {
    State& s = S();
    CImportGroup::EnsureStyles(group.Page(), CImportGroup::kMinStyles);
    for (std::string_view command : commands)
        s.previous = Execute(command, CommandCode(command), group);
    EndPath();
    return 1;
}

int CImportHPGL::ImportHPGLDesign(CDesignView* view, CDesignPage* page, CFile* file, UINT kind,
                                  CArticleList* list) {
    std::string text;
    CString error;
    const CString path = file ? file->GetFilePath() : CString();
    const bool read = FnReadImportFile(file, text, error);
    if (file)
        file->Abort();
    if (!read) {
        AfxMessageBox(error, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return ImportHPGLText(view, page, text, path, kind, list);
}

int CImportHPGL::ImportHPGLText(CDesignView* view, CDesignPage* page, std::string& text,
                                const CString& path, UINT kind, CArticleList* list) {
    (void)kRegisteredAtLoad;
    if (!page)
        return 0;
    S().Reset();
    CImportWaitCursor wait;
    CImportGroup group(page, kind);
    FnShowImportingStatus(path);
    std::vector<std::string_view> commands;
    BuildHpglArray(text, commands);
    int result = 0;
    if (GetHPGLcommands(view, commands, group)) {
        page->UpdateAllViews(nullptr);
        page->RecalcExtents(0);
        FnShowIdleStatus();
        // A file that drew nothing is no design: the caller then says so.
        result = group.Added() > 0 ? 1 : 0;
        if (!result)
            FnSetImportFailure(L"The file holds no HP-GL strokes that can be imported.");
    }
    if (S().errors > 0)
        AfxMessageBox(IDS_HPGL_ERROR, MB_OK | MB_ICONEXCLAMATION);
    group.End(list);
    FnShowIdleStatus();
    S().item = nullptr;
    return result;
}
