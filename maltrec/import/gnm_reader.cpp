#include "maltrec/import/gnm_reader.h"

#include "design/design_page.h"
#include "spline/spline_item.h"
#include "vector/vector_article.h"

#include "platform/core/file.h"
#include "platform/framework/wnd.h"
#include "platform/windowing/message_box.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kCorner = 0x200;
constexpr DWORD kSmooth = 0;
constexpr double kDegToRad = 0.017453292;
constexpr double kMaxCoordinate = 1e9;

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

int32_t ToData(double mm) {
    const double d = mm * 1000;
    if (!std::isfinite(d))
        return 0;
    return int32_t(std::clamp(d, -kMaxCoordinate, kMaxCoordinate));
}

CLpoint ClampPoint(double x, double y) {
    auto c = [](double v) {
        return LONG(
            std::lround(std::clamp(std::isfinite(v) ? v : 0.0, -kMaxCoordinate, kMaxCoordinate)));
    };
    return CLpoint(c(x), c(y));
}

} // namespace

CGnMReader::CGnMReader(CDesignView* view, CImportGroup& group, std::string_view text)
    : m_pView(view), m_group(group), m_text(text) {}

bool CGnMReader::NextLine(std::string_view text, size_t& pos, std::string_view& line) {
    while (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n'))
        ++pos;
    if (pos >= text.size())
        return false;
    const size_t start = pos;
    while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
        ++pos;
    line = Trim(text.substr(start, pos - start));
    return true;
}

int32_t CGnMReader::Field(std::string_view& text) {
    size_t end = 0;
    while (end < text.size() && text[end] != 'Y' && text[end] != 'C' && text[end] != 'F')
        ++end;
    const std::string field(text.substr(0, end));
    text.remove_prefix(end);
    return ToData(std::strtod(field.c_str(), nullptr));
}

void CGnMReader::EndItem() {
    if (m_pItem && m_pItem->VectCount() == 0) {
        // A tool-down with no motion after it leaves nothing to cut.
        m_group.DeleteArticle(m_pArticle);
    } else if (m_pItem) {
        CImportGroup::FinishItem(m_pItem);
        ++m_nKept;
    }
    m_pItem = nullptr;
    m_pArticle = nullptr;
}

void CGnMReader::Motion(int record, std::string_view rest) {
    if (!m_pItem)
        return;
    if (record == 1) {
        if (!rest.starts_with("X"))
            return;
        rest.remove_prefix(1);
        m_current.x = Field(rest);
        const size_t y = rest.find('Y');
        rest.remove_prefix(y == std::string_view::npos ? rest.size() : y + 1);
        m_current.y = LONG(std::clamp<int64_t>(int64_t(Field(rest)) + m_yOffset,
                                               -int64_t(kMaxCoordinate), int64_t(kMaxCoordinate)));
        if (!rest.empty()) {
            const size_t z = rest.find('Z');
            if (z != std::string_view::npos) {
                rest.remove_prefix(z + 1);
                m_yOffset = std::clamp<int64_t>(m_yOffset - Field(rest), -int64_t(kMaxCoordinate),
                                                int64_t(kMaxCoordinate));
                return;
            }
        }
        m_pItem->Vect(CSb(kCorner, m_current));
        // The filter's result depends on being run after every point.
        m_pItem->ApplySimpleFilter(kFilterLength, kFilterDeviation, 0);
        return;
    }
    if (record != 2 && record != 3)
        return;
    const size_t a = rest.find('A');
    if (a == std::string_view::npos)
        return;
    rest.remove_prefix(a + 1);
    const double angle = Field(rest) / 1000.0;
    if (!rest.starts_with("CX"))
        return;
    rest.remove_prefix(2);
    const double cx = Field(rest);
    if (!rest.starts_with("CY"))
        return;
    rest.remove_prefix(2);
    const double cy = Field(rest);
    const double dx = m_current.x - cx, dy = m_current.y - cy;
    const double radius = std::sqrt(dx * dx + dy * dy);
    const double start = std::atan2(dy, dx);
    const double end = start + (record == 3 ? angle : -angle) * kDegToRad;
    const double middle = (start + end) / 2;
    m_pItem->Vect(
        CSb(kSmooth, ClampPoint(cx + std::cos(middle) * radius, cy + std::sin(middle) * radius)));
    m_current = ClampPoint(cx + std::cos(end) * radius, cy + std::sin(end) * radius);
    m_pItem->Vect(CSb(kCorner, m_current));
}

int CGnMReader::Read() {
    size_t pos = 0;
    std::string_view line;
    while (NextLine(m_text, pos, line)) {
        if (line.empty())
            continue; // a line of blanks ends nothing
        const char kind = line.front();
        std::string_view rest = line.substr(1);
        if (kind == 'A') {
            if (rest == "bort -")
                break;
            continue;
        }
        if (kind != 'G' && kind != 'M')
            continue;
        const std::string number(rest.substr(0, 2));
        const int record = std::atoi(number.c_str());
        rest.remove_prefix(std::min<size_t>(2, rest.size()));
        if (kind == 'G') {
            Motion(record, rest);
        } else if (record == kToolUp) {
            m_nTool = 0;
        } else if (record == kToolDown) {
            m_nTool = 1;
            EndItem();
            m_pItem = m_group.NewPenArticle(1, &m_pArticle);
        }
    }
    EndItem();
    return m_nKept;
}

int FnImportGnMFile(CDesignView* view, CDesignPage* page, CFile* file, int) {
    if (!page || !file)
        return 0;
    std::string text;
    CString error;
    const CString path = file->GetFilePath();
    const bool read = FnReadImportFile(file, text, error);
    file->Abort();
    if (!read) {
        AfxMessageBox(error, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    CImportWaitCursor wait;
    FnShowImportingStatus(path);
    CImportGroup group(page, CImportGroup::kNone);
    CGnMReader reader(view, group, text);
    const int added = reader.Read();
    group.End(nullptr);
    FnShowIdleStatus();
    page->UpdateAllViews(nullptr);
    page->RecalcExtents(0);
    // An empty or garbage file added nothing: a failure for the caller.
    return added > 0 ? 1 : 0;
}
