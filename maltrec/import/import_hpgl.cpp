#include "maltrec/import/import_hpgl.h"

#include "design/design_page.h"
#include "pivora/framework/app_params.h"
#include "spline/spline_item.h"

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
    CLpoint base{0, 0};
    CSplineItem* item = nullptr;
    bool newItem = true;
    bool penDown = false;
    bool absolute = true;
    int penNumber = 0;
    double resolution = CImportHPGL::kDefaultResolution;
    int64_t p1p2X = 1000, p1p2Y = 1000;
    int64_t userX = 1000, userY = 1000;
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

// The integer of a term: its leading number, 0 when it has none (a blank term is none).
bool TermValue(std::string_view term, int64_t& value) {
    size_t i = 0;
    while (i < term.size() && IsBlank(term[i]))
        ++i;
    if (i == term.size())
        return false;
    bool overflow = false;
    if (!FnParseSaturating(term, i, value, overflow))
        value = 0;
    if (overflow)
        ++S().errors;
    return true;
}

// Every number of the text, cut into terms.
void ReadTerms(std::string_view text, std::vector<int64_t>& out) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = CImportHPGL::FindTerm(text, start);
        int64_t v;
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

// Coordinates of PU, PD, PA and PR (and their continuations).
void Coordinates(std::string_view command, CImportGroup& group) {
    State& s = S();
    s.values.clear();
    CImportHPGL::BuildPointArray(command, s.values, s.absolute, s.base, s.resolution);
    if (s.values.empty())
        return;
    if (s.penDown) {
        CImportHPGL::AddHPGLPoints(s.values, DrawingItem(group), s.pen);
    } else {
        MovePenTo(s.values);
        s.values.clear();
    }
}

// IP and SC numbers are taken at resolution 1.
int Unit(int64_t v) {
    return CImportHPGL::ConvertPoint(v, 1);
}

void InputWindow(std::string_view command, bool scale) {
    State& s = S();
    std::vector<int64_t> v;
    ReadTerms(command.substr(std::min<size_t>(2, command.size())), v);
    if (!scale) {
        if (v.size() >= 4) {
            s.p1p2X = int64_t(Unit(v[2])) - Unit(v[0]);
            s.p1p2Y = int64_t(Unit(v[3])) - Unit(v[1]);
        }
        return;
    }
    if (v.size() < 2)
        return;
    s.userX = int64_t(Unit(v[1])) - Unit(v[0]);
    if (v.size() >= 4)
        s.userY = int64_t(Unit(v[3])) - Unit(v[2]);
    // A zero P1-P2 range or a scale that turns the resolution non-positive keeps the old one.
    const double next = s.p1p2X ? s.resolution * double(s.userX) / double(s.p1p2X) : 0.0;
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
        std::vector<int64_t> v;
        ReadTerms(command.substr(2), v);
        s.penNumber = CImportGroup::ClampPen(v.empty() ? 0 : v.front());
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
        s.base = s.pen.pt;
        Coordinates(command.substr(2), group);
        break;
    case CImportHPGL::kPU:
        s.penDown = false;
        EndPath();
        s.base = s.pen.pt;
        Coordinates(command, group);
        break;
    case CImportHPGL::kPD:
        s.penDown = true;
        s.base = s.pen.pt;
        Coordinates(command, group);
        break;
    case CImportHPGL::kAA:
    case CImportHPGL::kAR:
        s.values.clear();
        CImportHPGL::BuildArcPointArray(command, s.values, s.resolution);
        if (!s.values.empty())
            CImportHPGL::AddHPGLPoints(s.values, DrawingItem(group), s.pen);
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
        // Numbers that run on after PU or PD belong to it.
        if (s.previous == CImportHPGL::kPU || s.previous == CImportHPGL::kPD) {
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

int CImportHPGL::ConvertPoint(int64_t value, double resolution) {
    double r = double(value) * 1000.0 / resolution;
    r += r < 0 ? -0.49 : 0.49;
    if (!std::isfinite(r) || r > double(kMaxCoordinate) || r < -double(kMaxCoordinate)) {
        ++S().errors;
        return r < 0 ? int(-kMaxCoordinate) : int(kMaxCoordinate);
    }
    return int(r);
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
    const std::string_view all = text;
    size_t start = 0;
    for (size_t i = 0; i <= all.size(); ++i) {
        if (i == all.size() || separator(all[i])) {
            if (i > start)
                commands.push_back(all.substr(start, i - start));
            start = i + 1;
        }
    }
}

void CImportHPGL::BuildPointArray(std::string_view command, std::vector<int>& out, bool absolute,
                                  CLpoint base, double resolution) {
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
    std::vector<int64_t> values;
    ReadTerms(rest, values);
    int64_t running[2] = {base.x, base.y};
    for (size_t i = 0; i < values.size(); ++i) {
        const int v = ConvertPoint(values[i], resolution);
        if (absolute) {
            out.push_back(v);
        } else {
            int64_t& r = running[i % 2];
            r = ClampCoordinate(r + v);
            out.push_back(int(r));
        }
    }
    if (values.size() % 2)
        ++s.errors;
}

void CImportHPGL::BuildArcPointArray(std::string_view command, std::vector<int>& out,
                                     double resolution) {
    State& s = S();
    const bool relative = command.size() >= 2 && command[1] == 'R';
    std::vector<int64_t> v;
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
    const int64_t sweep = std::clamp<int64_t>(v[2], -kMaxSweep, kMaxSweep);
    // A zero chord would never end; a negative one is taken by its size.
    int64_t chord = v.size() >= 4
                        ? std::min<int64_t>(
                              std::abs(std::clamp<int64_t>(v[3], -kMaxSweep, kMaxSweep)), kMaxSweep)
                        : kDefaultChord;
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
    }
    if (S().errors > 0)
        AfxMessageBox(IDS_HPGL_ERROR, MB_OK | MB_ICONEXCLAMATION);
    group.End(list);
    FnShowIdleStatus();
    S().item = nullptr;
    return result;
}
