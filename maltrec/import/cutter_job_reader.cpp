#include "maltrec/import/cutter_job_reader.h"

#include "design/design_page.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/percentage_dlg.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include "platform/framework/wnd.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr DWORD kCorner = 0x200;
constexpr DWORD kSmooth = 0;
constexpr char kESC = 0x1B;
constexpr double kDegToRad = 0.017453292;
constexpr int64_t kMaxCoordinate = 1000000000;
// The progress dialog moves once per this share of the file.
constexpr size_t kProgressSteps = 200;

int Clamp(int64_t v) {
    return int(std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate));
}

int64_t ToData(int64_t v) {
    return std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate) * 1000 /
           CCutterJobReader::kUnitsPerMm;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// The integer at i (0 when there is none), i moved past it; clamped so that sums and scales
// of a few of them cannot overflow.
int64_t Integer(std::string_view s, size_t& i) {
    int64_t v = 0;
    bool overflow = false;
    if (!FnParseSaturating(s, i, v, overflow))
        return 0;
    return std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate);
}

// The text from i up to the first of the stops (or the end); i moves to that stop.
std::string_view Token(std::string_view s, size_t& i, std::string_view stops) {
    const size_t start = i;
    while (i < s.size() && stops.find(s[i]) == std::string_view::npos)
        ++i;
    return s.substr(start, i - start);
}

double Real(std::string_view token) {
    std::string t(Trim(token));
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    return std::isfinite(v) ? v : 0.0;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(uint8_t(a[i])) != std::toupper(uint8_t(b[i])))
            return false;
    return true;
}

} // namespace

struct CCutterJobReader::Spool {
    bool relative = false;
    bool down = false;
    int pen = 1;
    int previousPen = -1;
    int64_t iValue = 0;
    bool xFlag = false, yFlag = false, bothAxes = false, singleAxis = false;
    bool afterB = false;
    bool arcNext = false;
    bool feedOffsets = false;
    int64_t xOffset = 0, yOffset = 0;
    int conveyor = 1;
    int rotaryScale = kDefaultRotaryScale;

    int Shifted(int p) const { return CImportGroup::ClampPen(int64_t(p) + (iValue ? 4 : 0)); }
};

CCutterJobReader::CCutterJobReader(CDesignView* view, CImportGroup& group, std::string_view text,
                                   const CString& path)
    : m_pView(view), m_group(group), m_text(text), m_strPath(path) {}

CCutterJobReader::~CCutterJobReader() {
    if (m_pProgress) {
        m_pProgress->DestroyWindow();
        delete m_pProgress;
    }
}

bool CCutterJobReader::NextLine(std::string_view text, size_t& pos, std::string_view& line) {
    while (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n'))
        ++pos;
    if (pos >= text.size())
        return false;
    const size_t start = pos++;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n' && text[pos] != 'D' &&
           text[pos] != 'U')
        ++pos;
    line = Trim(text.substr(start, pos - start));
    return true;
}

void CCutterJobReader::OpenProgress(const wchar_t* title) {
    m_pProgress = new CPercentageDlg(0, CPercentageDlg::IDD_PERCENTAGE);
    if (!m_pProgress->Create(AfxGetMainWnd())) {
        delete m_pProgress;
        m_pProgress = nullptr;
        return;
    }
    m_pProgress->SetReadout(title, 0);
    m_pProgress->SetRange(0, int(std::min<size_t>(m_text.size(), INT32_MAX)));
}

bool CCutterJobReader::Progress() {
    if (!m_pProgress)
        return true;
    if (m_pos - m_lastProgress >= m_text.size() / kProgressSteps + 1) {
        m_lastProgress = m_pos;
        m_pProgress->SetPos(int(std::min<size_t>(m_pos, INT32_MAX)));
    }
    return !m_pProgress->HasCancelled();
}

CSplineItem* CCutterJobReader::StartPen(int pen) {
    EndItem();
    m_pItem = m_group.NewPenArticle(pen, &m_pArticle);
    m_articles.push_back(m_pArticle);
    return m_pItem;
}

void CCutterJobReader::Append(const CLpoint& p, DWORD mode) {
    if (m_pItem)
        m_pItem->Vect(CSb(mode, p));
}

void CCutterJobReader::EndItem() {
    CImportGroup::FinishItem(m_pItem);
    m_pItem = nullptr;
}

void CCutterJobReader::DropLonePoint() {
    if (m_pItem && m_pItem->VectCount() == 1)
        m_pItem->DelVect(0, 1);
}

void CCutterJobReader::RemoveEmptyArticles() {
    // Pen changes and lone points leave articles with nothing to cut: no one wants them.
    for (CVectorArticle* a : m_articles) {
        auto* item = DynamicDowncast<CSplineItem>(a->GetItem());
        if (item && item->VectCount() == 0) {
            m_group.DeleteArticle(a);
        } else {
            ++m_nKept;
        }
    }
    m_articles.clear();
    m_pArticle = nullptr;
}

// Spool ------------------------------------------------------------------------------------------

void CCutterJobReader::ReadSpool(bool progress) {
    if (progress)
        OpenProgress(L"Read Cutter SPL File");
    FnShowImportingStatus(m_strPath);
    Spool s;
    s.conveyor = QvGetSetAppParam(L"ImportSPL Conveyor", 1);
    s.rotaryScale = QvGetSetAppParam(L"LMS Rotary Scale", kDefaultRotaryScale);
    std::string_view line;
    while (NextLine(m_text, m_pos, line)) {
        if (!line.starts_with("Abort"))
            SpoolLine(line, s);
        if (!Progress())
            break;
    }
    DropLonePoint();
    EndItem();
    RemoveEmptyArticles();
    FnShowIdleStatus();
}

void CCutterJobReader::SpoolLine(std::string_view line, Spool& s) {
    size_t i = 0;
    auto skipComma = [&] {
        if (i < line.size() && line[i] == ',')
            ++i;
    };
    auto skipTo = [&](std::string_view stops) { Token(line, i, stops); };
    while (i < line.size()) {
        const char c = line[i];
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        switch (c) {
        case kESC:
        case 'L':
        case 'S':
            if (line.substr(i + 1, 2) == "ET") {
                if (line.back() != '.') {
                    // The command was cut before a "D" or "U": its rest follows unsplit.
                    size_t j = m_pos;
                    while (j < m_text.size() && m_text[j] != ',' && m_text[j] != '\r' &&
                           m_text[j] != '\n')
                        ++j;
                    const std::string_view rest = Trim(m_text.substr(m_pos, j - m_pos));
                    m_pos = j;
                    if (!EqualsNoCase(rest, "UT OFF."))
                        m_current = CLpoint(0, 0);
                }
                return;
            }
            ++i;
            skipTo(",");
            break;
        case ' ':
        case ',':
        case '.':
        case ':':
        case ';':
        case '@':
        case 'Q':
            ++i;
            break;
        case 'A':
            s.relative = false;
            ++i;
            break;
        case 'R':
            s.relative = true;
            ++i;
            break;
        case 'D':
            s.down = true;
            ++i;
            skipComma();
            break;
        case 'U':
            s.down = false;
            ++i;
            skipComma();
            if (m_pItem && m_pItem->VectCount() == 1) {
                if (s.iValue)
                    m_group.SetPen(m_pArticle, int64_t(s.pen) + 3);
                else
                    m_pItem->DelVect(0, 1);
            } else if (m_pItem && m_pItem->VectCount() > 1) {
                EndItem();
            }
            s.xFlag = s.yFlag = s.singleAxis = false;
            break;
        case 'P':
        case 'p': {
            const bool pw = c == 'P' && next == 'W';
            if (c == 'P' && !pw) {
                ++i;
                skipTo(",");
                s.bothAxes = false;
                break;
            }
            i += pw ? 2 : 1;
            const int64_t n = Integer(line, i);
            s.pen = CImportGroup::ClampPen(kPenBase - n / 4);
            if (m_pArticle) {
                auto* item = DynamicDowncast<CSplineItem>(m_pArticle->GetItem());
                if (item && item->VectCount() > 1) {
                    StartPen(s.pen);
                    Append(m_current);
                }
                m_group.SetPen(m_pArticle, s.pen);
            }
            if (c == 'P') {
                s.bothAxes = false;
            } else {
                s.bothAxes = true;
                s.singleAxis = false;
            }
            break;
        }
        case 'd':
            s.down = true;
            ++i;
            if (!m_pItem || m_pItem->VectCount() > 0)
                StartPen(1);
            Append(m_current);
            break;
        case 'u':
            s.down = true;
            ++i;
            if (s.afterB && m_pArticle) {
                m_group.SetPen(m_pArticle, kKnifePen);
            } else {
                StartPen(kKnifePen);
                Append(m_current);
            }
            s.afterB = false;
            break;
        case 'B':
            ++i;
            s.xFlag = s.yFlag = false;
            for (; i < line.size() && line[i] != ' '; ++i) {
                if (line[i] == 'X')
                    s.xFlag = true;
                else if (line[i] == 'Y')
                    s.yFlag = true;
                else if (line[i] == 'B')
                    s.bothAxes = true;
            }
            s.singleAxis = !s.bothAxes;
            s.afterB = true;
            break;
        case 'C':
            if (next == 'A') {
                s.arcNext = true;
                i += 2;
            } else {
                SpoolPair(line, i, s, false);
            }
            break;
        case 'E':
            if (next == 'S') {
                i += line.substr(i + 2, 1) == "B" ? 3 : 2;
                s.singleAxis = s.yFlag = false;
            } else if (line.substr(i, 3) == "ECN") {
                i += 3;
            } else if (next == 'R') {
                i += 2;
            } else if (next == 'N') {
                skipTo(",");
            } else if (next == 'P' || next == 'Q') {
                s.feedOffsets = true;
                i += 2;
                skipTo(",");
            } else {
                ++i;
            }
            break;
        case 'F': {
            i += next == 'R' ? 2 : 1;
            int64_t v = Integer(line, i);
            skipTo(",");
            if (s.feedOffsets) {
                if (s.conveyor == 1 || s.relative)
                    v /= 5;
                if (v > kFeedLimit || v < -kFeedLimit)
                    v /= 2;
                s.yOffset = std::clamp<int64_t>(s.yOffset - v, -kMaxCoordinate, kMaxCoordinate);
                if (s.relative)
                    m_current.y = Clamp(
                        int64_t(std::clamp(m_current.y + double(ToData(v)) * s.rotaryScale / 1000,
                                           -double(kMaxCoordinate), double(kMaxCoordinate))));
            } else {
                s.xOffset = std::clamp<int64_t>(s.xOffset + v, -kMaxCoordinate, kMaxCoordinate);
            }
            break;
        }
        case 'H':
            i += line.substr(i, 3) == "HOA" ? 3 : 1;
            break;
        case 'I':
            ++i;
            s.iValue = Integer(line, i);
            break;
        case 'V':
            ++i;
            skipTo(", ");
            break;
        default:
            SpoolPair(line, i, s, s.arcNext);
            s.arcNext = false;
            break;
        }
    }
}

void CCutterJobReader::SpoolPair(std::string_view line, size_t& i, Spool& s, bool arc) {
    const size_t start = i;
    bool number = false;
    auto value = [&](bool read) -> int64_t {
        if (!read)
            return 0;
        const std::string_view t = Token(line, i, ", ud");
        if (i < line.size() && (line[i] == ',' || line[i] == ' '))
            ++i;
        size_t k = 0;
        int64_t v = 0;
        bool overflow = false;
        if (!FnParseSaturating(t, k, v, overflow))
            return 0;
        number = true;
        return std::clamp<int64_t>(v, -kMaxCoordinate, kMaxCoordinate);
    };
    const bool readX = s.xFlag || !((s.bothAxes && s.yFlag) || (s.singleAxis && !s.yFlag));
    const bool readY = s.yFlag || !((s.bothAxes && s.xFlag) || (s.singleAxis && !s.xFlag));
    const int64_t x = value(readX), y = value(readY);
    if (i == start)
        ++i; // nothing read: never stay on one character
    // Text without a number is no point: a command this reader does not know, such as the
    // feed and deselect ("e@") the cutter driver ends every job with, would else cut a line
    // back to the origin.
    if (!number)
        return;
    const int pen = s.Shifted(s.pen);
    if (!m_pItem)
        StartPen(pen);
    else if (s.iValue)
        m_group.SetPen(m_pArticle, pen);
    CLpoint p;
    if (s.relative)
        p = CLpoint(Clamp(ToData(x) + m_current.x), Clamp(ToData(y) + m_current.y));
    else
        p = CLpoint(Clamp(ToData(x + s.xOffset)), Clamp(ToData(y + s.yOffset)));

    if (arc) {
        // The pair is the centre; the sweep in degrees follows, turning clockwise.
        const double sweep = Real(Token(line, i, ", udE"));
        if (i < line.size() && (line[i] == ',' || line[i] == ' '))
            ++i;
        if (m_pItem->VectCount() == 0)
            Append(m_current);
        const double dx = double(m_current.x) - p.x, dy = double(m_current.y) - p.y;
        const double radius = std::sqrt(dx * dx + dy * dy);
        const double a0 = std::atan2(dy, dx);
        auto at = [&](double a) {
            return CLpoint(Clamp(int64_t(std::round(p.x + std::cos(a) * radius))),
                           Clamp(int64_t(std::round(p.y + std::sin(a) * radius))));
        };
        Append(at(a0 - sweep / 2 * kDegToRad), kSmooth);
        m_current = at(a0 - sweep * kDegToRad);
        Append(m_current, kCorner);
    } else if (!s.down) {
        if (m_pItem->VectCount() == 1)
            m_pItem->DelVect(0, 1);
        else if (m_pItem->VectCount() > 1)
            StartPen(pen);
        Append(p);
        m_current = p;
    } else {
        Append(p);
        if ((s.previousPen >= 0 && s.pen != s.previousPen) || s.afterB) {
            StartPen(pen);
            Append(p);
        }
        m_current = p;
    }
    s.previousPen = s.pen;
    s.pen = 1;
    s.afterB = false;
}

// The maker's cutter files -----------------------------------------------------------------------

bool CCutterJobReader::OquenPoint(std::string_view text, size_t& i, CLpoint& p) const {
    double v[2];
    for (double& field : v) {
        const std::string_view t = Token(text, i, ", P");
        if (Trim(t).empty())
            return false;
        field = Real(t);
        if (i < text.size() && (text[i] == ',' || text[i] == ' '))
            ++i;
    }
    auto data = [](double mm) {
        const double d = mm * 1000;
        return int(std::clamp<double>(d, -double(kMaxCoordinate), double(kMaxCoordinate)));
    };
    p = CLpoint(data(v[0]), data(v[1]));
    return true;
}

void CCutterJobReader::OquenLine(std::string_view line) {
    if (line.starts_with("LE,") || line.starts_with("FR("))
        return;
    if (const size_t u = line.find("U,"); u != std::string_view::npos) {
        size_t i = u + 2;
        CLpoint p;
        EndItem();
        if (OquenPoint(line, i, p)) {
            StartPen(1);
            Append(p);
            m_current = p;
        }
        return;
    }
    const size_t d = line.find("D,");
    if (d == std::string_view::npos)
        return;
    size_t i = d + 2;
    if (i < line.size() && line[i] == 'P') {
        // Each "P" entry is one two-point line in its pen.
        while (i < line.size() && line[i] == 'P') {
            ++i;
            const int64_t pen = Integer(line, i);
            if (i < line.size() && (line[i] == ',' || line[i] == ' '))
                ++i;
            CLpoint p;
            if (!OquenPoint(line, i, p))
                break;
            if (!m_pItem) {
                StartPen(CImportGroup::ClampPen(pen + 1));
                Append(m_current);
            }
            Append(p);
            EndItem();
            m_current = p;
        }
        return;
    }
    CLpoint p;
    while (i < line.size() && OquenPoint(line, i, p)) {
        if (!m_pItem)
            StartPen(1);
        Append(p);
        m_current = p;
    }
}

void CCutterJobReader::ReadOquen(bool progress) {
    if (progress)
        OpenProgress(L"Read Cutter Oquen File");
    FnShowImportingStatus(m_strPath);
    std::string_view line;
    while (NextLine(m_text, m_pos, line)) {
        OquenLine(line);
        if (!Progress())
            break;
    }
    DropLonePoint();
    EndItem();
    RemoveEmptyArticles();
    FnShowIdleStatus();
}
