#include "maltrec/import/eps_interpreter.h"

#include "design/design_page.h"
#include "design/imp_palette_undo.h"
#include "pivora/framework/percentage_dlg.h"
#include "spline/spline_item.h"

#include "platform/core/decimal_parse.h"
#include "platform/core/read_whole_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace {

// White space of the line reader; 0, line feed, form feed and carriage return also end a line.
bool IsSpace(BYTE b) {
    return b == 0 || b == 9 || b == 10 || b == 12 || b == 13 || b == 32;
}
bool IsLineEnd(BYTE b) {
    return b == 0 || b == 10 || b == 12 || b == 13;
}
bool Has(std::string_view line, std::string_view what) {
    return line.find(what) != std::string_view::npos;
}
// A comment line: "%" without "%%" (a lone "%" before a setup marker does not count).
bool IsPlainComment(std::string_view line) {
    return Has(line, "%") && !Has(line, "%%");
}

// Bytes stand for themselves (Latin-1): every keyword and number is ASCII, so tokens are cut
// from the bytes without widening. Strings and procedures are skipped with their depth, which
// starts at 0 on every line.
template <class F> void ForEachToken(std::string_view line, std::string& token, F&& emit) {
    // A token is a view of the line until a bracket inside it is dropped; from then on its
    // characters are gathered in token.
    constexpr size_t kNone = std::string_view::npos;
    int depth = 0;
    size_t start = kNone;
    bool gathered = false;
    token.clear();
    auto reset = [&] {
        start = kNone;
        gathered = false;
        token.clear();
    };
    auto flush = [&](size_t end) {
        if (gathered && !token.empty())
            emit(std::string_view(token));
        else if (!gathered && start != kNone)
            emit(line.substr(start, end - start));
        reset();
    };
    size_t i = 0;
    for (; i < line.size(); ++i) {
        const char ch = line[i];
        if (depth > 0) {
            if (ch == ')' || ch == '}')
                --depth;
            else if (ch == '(' || ch == '{')
                ++depth;
            continue;
        }
        if (ch == '(' || ch == '{') {
            ++depth;
            reset();
            continue;
        }
        if (ch == '\0' || ch == '%')
            break;
        if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f') {
            flush(i);
            continue;
        }
        if (ch == '[' || ch == ']') {
            if (!gathered && start != kNone)
                token.assign(line.substr(start, i - start));
            gathered = true;
            continue;
        }
        if (gathered)
            token.push_back(ch);
        else if (start == kNone)
            start = i;
    }
    if (depth == 0)
        flush(i);
    reset();
}

// Bytes as the plain-line cutter sees them: white space between tokens, a byte that needs the
// full reader (strings, procedures, brackets, comments, NUL), or a byte of a token.
enum ByteClass : uint8_t { kPlainByte, kSpaceByte, kSpecialByte };
constexpr auto kByteClass = [] {
    std::array<ByteClass, 256> c{};
    for (unsigned char b : {' ', '\t', '\n', '\r', '\f'})
        c[b] = kSpaceByte;
    for (unsigned char b : {'(', '{', '[', ']', '%', '\0'})
        c[b] = kSpecialByte;
    return c;
}();

// Plain lines are cut at white space. From the first string, procedure, bracket or comment on,
// the full reader takes the rest of the line: it starts there in the state it is in between
// tokens, so it cuts what is left exactly as it would the whole line.
template <class F> void ForEachLineToken(std::string_view line, F&& emit) {
    const char* const text = line.data();
    const size_t n = line.size();
    size_t i = 0;
    for (;;) {
        while (i < n && kByteClass[BYTE(text[i])] == kSpaceByte)
            ++i;
        if (i == n)
            return;
        const size_t start = i;
        while (i < n && kByteClass[BYTE(text[i])] == kPlainByte)
            ++i;
        if (i < n && kByteClass[BYTE(text[i])] == kSpecialByte) {
            std::string token;
            ForEachToken(line.substr(start), token, emit);
            return;
        }
        emit(line.substr(start, i - start));
    }
}

} // namespace

using A = CEPSInterpreter::Action;

const std::vector<CEPSInterpreter::Keyword>& CEPSInterpreter::KeywordTable() {
    static const std::vector<Keyword> table = {
        {"*", kEndPath},
        {"n", kEndPath},
        {"N", kEndPath},
        {"&", kEndPath},
        {"newpath", kEndPath},
        {"np", kEndPath},
        {"m", kMoveTo},
        {"moveto", kMoveTo},
        {"mo", kMoveTo},
        {"l", kLineTo},
        {"L", kLineTo},
        {"lineto", kLineTo},
        {"li", kLineTo},
        {"ln", kLineTo},
        {"LI", kLineTo},
        {"LN", kLineTo},
        {"c", kCurveTo},
        {"C", kCurveTo},
        {"curveto", kCurveTo},
        {"CV", kCurveTo},
        {"cv", kCurveTo},
        {"v", kCurveToV},
        {"V", kCurveToV},
        {"y", kCurveToY},
        {"Y", kCurveToY},
        {"closepath", kClosePath},
        {"cp", kClosePath},
        {"@c", kClosePath},
        {"stroke", kMarkStroked},
        {"@", kMarkStroked},
        {"fill", kMarkFilled},
        {"eofill", kMarkFilled},
        {"S", kStrokeEnd},
        {"s", kStrokeCloseEnd},
        {"F", kFillEnd},
        {"ef", kFillEnd},
        {"f", kFillCloseEnd},
        {"B", kFillStrokeEnd},
        {"b", kFillStrokeCloseEnd},
        {"u", kBeginGroup},
        {"U", kEndGroup},
        {"*u", kBeginGroup2},
        {"*U", kEndGroup2},
        {"XA", kStrokeRGB},
        {"K", kStrokeCMYK},
        {"G", kStrokeGrey},
        {"X", kStrokeCustom},
        {"Xa", kFillRGB},
        {"k", kFillCMYK},
        {"g", kFillGrey},
        {"x", kFillCustom},
        {"setrgbcolor", kBothRGB},
        {"setcmykcolor", kBothCMYK},
        {"cmyk", kBothCMYK},
        {"nzopmsc", kBothCMYK},
        {"create_cmyk_color", kCreateCMYK},
        {"create_rgb_color", kCreateRGB},
        {"scale", kScale},
        {"translate", kTranslate},
        {"concat", kConcat},
        {"ct", kConcat},
        {"cm", kConcat},
        {"gsave", kSave},
        {"q", kSave},
        {"grestore", kRestore},
        {"Q", kRestore},
        {"clip", kClip},
        {"clp", kClip},
        {"eclp", kClip},
        {"eoclip", kClip},
        {"W", kClip},
        {"W*", kClip},
        {"re", kRectangle},
        {"set_outline", kSetOutline},
        {"set_solid_fill", kSetSolidFill},
        {"currentpoint", kCurrentPoint},
    };
    return table;
}

const std::vector<CEPSInterpreter::Keyword>& CEPSInterpreter::PdfKeywordTable() {
    static const std::vector<Keyword> table = {
        {"n", kEndPath},   {"m", kMoveTo},      {"l", kLineTo},     {"c", kCurveTo},
        {"h", kClosePath}, {"s", kMarkStroked}, {"f", kMarkFilled}, {"f*", kMarkFilled},
        {"cm", kConcat},   {"q", kSave},        {"Q", kRestore},    {"cp", kCurrentPoint},
    };
    return table;
}

const std::vector<CEPSInterpreter::Keyword>& CEPSInterpreter::PlainKeywordTable() {
    static const std::vector<Keyword> table = {
        {"rmoveto", kRMoveTo},
        {"rlineto", kRLineTo},
        {"rcurveto", kRCurveTo},
    };
    return table;
}

int CEPSInterpreter::OperandCount(Action a) {
    switch (a) {
    case kMoveTo:
    case kLineTo:
    case kRMoveTo:
    case kRLineTo:
    case kScale:
    case kTranslate:
        return 2;
    case kCurveTo:
    case kRCurveTo:
    case kConcat:
        return 6;
    case kCurveToV:
    case kCurveToY:
    case kStrokeCMYK:
    case kFillCMYK:
    case kBothCMYK:
    case kCreateCMYK:
    case kRectangle:
        return 4;
    case kStrokeRGB:
    case kFillRGB:
    case kBothRGB:
    case kCreateRGB:
        return 3;
    case kStrokeGrey:
    case kFillGrey:
    case kBothGrey:
        return 1;
    case kStrokeCustom:
    case kFillCustom:
        return 5;
    default:
        return 0;
    }
}

CEPSInterpreter::CEPSInterpreter(CDesignView* view, CDesignPage* page, const CString& path, int,
                                 CArticleList*)
    : m_pView(view), m_pPage(page), m_strPath(path) {}

CEPSInterpreter::~CEPSInterpreter() {
    CloseProgress();
    FreePending();
    delete m_pItem;
}

void CEPSInterpreter::SetTimeLimit(double seconds, std::function<double()> clock) {
    m_timeLimit = seconds;
    m_clock = std::move(clock);
}

int CEPSInterpreter::ReadFile() {
    if (!m_pPage || m_strPath.IsEmpty())
        return 0;
    std::vector<BYTE> bytes;
    switch (platform::ReadWholeFile(m_strPath.GetString(), kMaxFileSize, bytes)) {
    case platform::ReadWholeFileResult::Ok:
        return ReadBytes(std::move(bytes));
    case platform::ReadWholeFileResult::TooLarge:
        m_strStopReason = L"The file is too large to import.";
        return 0;
    default:
        m_strStopReason = L"The file cannot be opened.";
        return 0;
    }
}

int CEPSInterpreter::ReadBytes(std::vector<BYTE> bytes) {
    if (!m_pPage)
        return 0;
    m_File = std::move(bytes);
    m_nPos = 0;
    return 1;
}

bool CEPSInterpreter::NextLine(std::string_view& line) {
    const size_t n = m_File.size();
    while (m_nPos < n && IsSpace(m_File[m_nPos]))
        ++m_nPos;
    if (m_nPos >= n)
        return false;
    const size_t start = m_nPos;
    while (m_nPos < n && !IsLineEnd(m_File[m_nPos]))
        ++m_nPos;
    line = std::string_view(reinterpret_cast<const char*>(m_File.data()) + start, m_nPos - start);
    if (m_nPos < n)
        ++m_nPos; // the end byte is consumed
    return true;
}

bool CEPSInterpreter::Poll() {
    if (m_bStopped)
        return true;
    if (m_cancel && m_cancel()) {
        m_strStopReason = L"Cancelled.";
        m_bStopped = true;
        return true;
    }
    if (m_clock && (++m_nPollCount & 1023) == 0 && m_clock() - m_startTime > m_timeLimit) {
        m_strStopReason = L"The import took too long and was stopped.";
        m_bStopped = true;
        return true;
    }
    if (StepProgress()) {
        m_strStopReason = L"Cancelled.";
        m_bStopped = true;
        return true;
    }
    return false;
}

void CEPSInterpreter::OpenProgress(const wchar_t* readout) {
    CloseProgress();
    if (!m_bShowProgress)
        return;
    m_pProgress = new CPercentageDlg(0, CPercentageDlg::IDD_PERCENTAGE);
    if (!m_pProgress->Create(AfxGetMainWnd())) {
        delete m_pProgress;
        m_pProgress = nullptr;
        return;
    }
    m_pProgress->SetReadout(readout, 0);
    m_nProgressPos = -1;
    m_nNextProgressAt = 0;
}

void CEPSInterpreter::CloseProgress() {
    if (!m_pProgress)
        return;
    m_pProgress->SetPos(100);
    m_pProgress->DestroyWindow();
    delete m_pProgress;
    m_pProgress = nullptr;
}

bool CEPSInterpreter::StepProgress() {
    if (!m_pProgress)
        return false;
    const ULONGLONG done = m_bExecuting ? m_nToken : m_nPos;
    // Asked once per token: below the count that makes the next whole percentage nothing can
    // have changed, so no division is made.
    if (done < m_nNextProgressAt)
        return false;
    const ULONGLONG total = m_bExecuting ? m_Tokens.size() : m_File.size();
    const int pos = total ? int(done * 100 / total) : 100;
    m_nNextProgressAt = total ? ((ULONGLONG(pos) + 1) * total + 99) / 100 : 0;
    if (pos == m_nProgressPos)
        return false;
    // Setting the bar pumps the window messages, so a press of Cancel is seen here.
    m_nProgressPos = pos;
    m_pProgress->SetPos(pos);
    return m_pProgress->HasCancelled() != 0;
}

std::vector<std::string> CEPSInterpreter::TokenizeLine(std::string_view line) {
    std::vector<std::string> out;
    ForEachLineToken(line, [&](std::string_view t) { out.emplace_back(t); });
    return out;
}

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

enum class Quick { Number, NotNumber, Undecided };

// The plain decimals files are made of ("-12.375", "1900", ".5"), read without the general
// parser: digits up to 2^53 and at most 22 after the point make an exact integer and an exact
// power of ten, so one division rounds as the correctly rounded parse does. Anything else (an
// exponent, more digits, no digit at all) is left to the general rule.
Quick QuickNumber(std::string_view token, double& value) {
    const char* p = token.data();
    const char* const end = p + token.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    for (; p < end && unsigned(*p - '0') < 10; ++p, ++digits)
        mantissa = mantissa * 10 + unsigned(*p - '0');
    if (p < end && *p == '.') {
        for (++p; p < end && unsigned(*p - '0') < 10; ++p, ++digits, ++decimals)
            mantissa = mantissa * 10 + unsigned(*p - '0');
    }
    // Without a digit before any other character there is no number (keywords end here).
    if (digits == 0)
        return Quick::NotNumber;
    if (digits > 19 || decimals > 22 || mantissa > (uint64_t(1) << 53) ||
        (p < end && (*p == 'e' || *p == 'E')))
        return Quick::Undecided;
    // A leading number counts (as "12abc"), except a zero that does not fill the token ("0x").
    if (mantissa == 0 && p != end)
        return Quick::NotNumber;
    const double v = double(mantissa) / kExactPowers[decimals];
    value = negative ? -v : v;
    return Quick::Number;
}

inline bool NumberRule(std::string_view token, float& value, bool& outOfRange) {
    outOfRange = false;
    value = 0.0f;
    double quick = 0.0;
    switch (QuickNumber(token, quick)) {
    case Quick::Number:
        // At most 2^53: always within float range.
        value = float(quick);
        return true;
    case Quick::NotNumber:
        return false;
    case Quick::Undecided:
        break;
    }
    double v = 0.0;
    size_t used = 0;
    switch (platform::ParseDecimalPrefix(token, v, used)) {
    case platform::DecimalParse::None:
        return false;
    case platform::DecimalParse::OutOfRange:
        outOfRange = true;
        return true;
    case platform::DecimalParse::Ok:
        break;
    }
    // A leading number counts (as "12abc"), except a zero that does not fill the token ("0x").
    if (v == 0.0 && used != token.size())
        return false;
    if (std::fabs(v) > double(std::numeric_limits<float>::max())) {
        outOfRange = true;
        return true;
    }
    value = float(v);
    return true;
}

} // namespace

bool CEPSInterpreter::ParseNumber(std::string_view token, float& value, bool& outOfRange) {
    return NumberRule(token, value, outOfRange);
}

void CEPSInterpreter::BuildKeywordMap() {
    m_Keywords.clear();
    for (const Keyword& k : KeywordTable())
        m_Keywords[k.text] = k.action;
    if (m_nCreator == kCreatorQuickPDF) {
        for (const Keyword& k : PdfKeywordTable())
            m_Keywords[k.text] = k.action;
    }
    if (m_bNoSetup) {
        for (const Keyword& k : PlainKeywordTable())
            m_Keywords[k.text] = k.action;
    }
    // Most operators are one or two characters: those are found by their bytes.
    m_ShortKeywords.assign(kShortKeywordSlots, kNoKeyword);
    for (const auto& [text, action] : m_Keywords) {
        if (text.size() <= 2)
            m_ShortKeywords[ShortKeywordSlot(text)] = action;
    }
}

size_t CEPSInterpreter::ShortKeywordSlot(std::string_view t) {
    // One byte b: slot b; two bytes: 256 + 256 * first + second.
    const size_t a = BYTE(t[0]);
    return t.size() == 1 ? a : 256 + 256 * a + BYTE(t[1]);
}

void CEPSInterpreter::AddLineTokens(std::string_view line) {
    auto emit = [&](std::string_view t) {
        float v = 0.0f;
        bool bad = false;
        if (NumberRule(t, v, bad)) {
            m_Tokens.push_back(Token{bad ? kBadNumber : kNumber, v});
            return;
        }
        if (!t.empty() && t.size() <= 2) {
            const int8_t a = m_ShortKeywords[ShortKeywordSlot(t)];
            if (a != kNoKeyword) {
                m_Tokens.push_back(Token{a, 0.0f});
                return;
            }
        } else if (const auto it = m_Keywords.find(t); it != m_Keywords.end()) {
            m_Tokens.push_back(Token{it->second, 0.0f});
            return;
        }
        if (!m_Constants.empty()) {
            if (const auto k = m_Constants.find(t); k != m_Constants.end()) {
                for (float number : k->second)
                    m_Tokens.push_back(Token{kNumber, number});
                return;
            }
        }
        if (m_Foreign.empty())
            return;
        if (const auto f = m_Foreign.find(t); f != m_Foreign.end())
            m_Tokens.push_back(
                Token{f->second.placement ? kForeignPlacement : kForeignDrawing, 0.0f});
    };
    ForEachLineToken(line, emit);
}

int CEPSInterpreter::Sniff() {
    std::string_view line;
    while (NextLine(line)) {
        if (Poll())
            return kRunCancelled;
        if (Has(line, "%!PS-Adobe")) {
            m_nFileType = Has(line, "EPSF") ? kTypeEPS : kTypePostScript;
            return kRunOk;
        }
        if (Has(line, "%PDF")) {
            m_nFileType = kTypePDF;
            return kRunPDF;
        }
    }
    m_nFileType = kTypeUnknown;
    return kRunFailed;
}

int CEPSInterpreter::ReadHeader(bool& setupEnded) {
    setupEnded = false;
    std::string_view line;
    while (NextLine(line)) {
        if (Poll())
            return kRunCancelled;
        if (IsPlainComment(line))
            continue;
        if (Has(line, "%%Creator")) {
            if (Has(line, "Adobe Illustrator"))
                m_nCreator = kCreatorIllustrator;
            else if (Has(line, "Corel"))
                m_nCreator = kCreatorCorel;
            else if (Has(line, "Quick PDF Library"))
                m_nCreator = kCreatorQuickPDF;
            else if (Has(line, "Serif Affinity"))
                m_nCreator = kCreatorSerif;
            else
                m_nCreator = kCreatorOther;
        } else if (Has(line, "%%EndComments")) {
            return kRunOk;
        } else if (Has(line, "%%EndSetup")) {
            setupEnded = true;
            return kRunOk;
        }
    }
    return kRunFailed;
}

int CEPSInterpreter::SkipSetup(bool setupEnded) {
    std::string_view line;
    m_bNoSetup = false;
    if (m_nCreator == kCreatorQuickPDF) {
        while (NextLine(line)) {
            if (Poll())
                return kRunCancelled;
            if (Has(line, "%%DebenuPDFLibrary-End"))
                break;
        }
    } else if (!setupEnded && m_nCreator != kCreatorSerif) {
        // Only a file that has a setup has one skipped: without one, the drawing starts
        // where the header ends.
        const size_t headerEnd = m_nPos;
        bool found = false;
        while (NextLine(line)) {
            if (Poll())
                return kRunCancelled;
            if (!IsPlainComment(line) && Has(line, "%%EndSetup")) {
                found = true;
                break;
            }
        }
        if (!found) {
            m_nPos = headerEnd;
            m_bNoSetup = true;
        }
    }
    return kRunOk;
}

void CEPSInterpreter::SetKeyword(std::string_view text, int8_t action) {
    if (action == kNoKeyword)
        m_Keywords.erase(text);
    else
        m_Keywords[text] = Action(action);
    if (!text.empty() && text.size() <= 2)
        m_ShortKeywords[ShortKeywordSlot(text)] = action;
}

namespace {

bool IsDelimiter(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '\f':
    case '\0':
    case '(':
    case ')':
    case '{':
    case '}':
    case '[':
    case ']':
    case '<':
    case '>':
    case '/':
    case '%':
        return true;
    default:
        return false;
    }
}

// The most numbers a constant procedure holds (a CMYK colour and a spare).
constexpr int kMaxConstantNumbers = 6;

// Operators that move the drawing, also outside the vocabulary.
bool IsPlacementWord(std::string_view w) {
    return w == "rotate" || w == "setmatrix" || w == "concat" || w == "scale" || w == "translate";
}

} // namespace

void CEPSInterpreter::ScanDefinitions(std::string_view line) {
    DefinitionScan& d = m_Def;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (d.stringDepth > 0) {
            if (c == '\\')
                ++i;
            else if (c == '(')
                ++d.stringDepth;
            else if (c == ')')
                --d.stringDepth;
            continue;
        }
        if (c == '%')
            return;
        if (c == '(') {
            d.stringDepth = 1;
            d.candidate = {};
            continue;
        }
        if (c == '{') {
            if (d.depth == 0) {
                d.name = d.candidate;
                d.words = 0;
                d.firstWord = {};
                d.placement = d.drawing = false;
                d.numbers.clear();
                d.onlyNumbers = true;
            }
            ++d.depth;
            d.candidate = {};
            continue;
        }
        if (c == '}') {
            if (d.depth > 0 && --d.depth == 0)
                FinishDefinition();
            continue;
        }
        if (IsDelimiter(c) && c != '/')
            continue;
        const size_t start = i;
        for (++i; i < line.size() && !IsDelimiter(line[i]); ++i) {
        }
        const std::string_view word = line.substr(start, i - start);
        --i;
        if (d.depth == 0) {
            d.candidate = word.size() > 1 && word[0] == '/' ? word.substr(1) : std::string_view();
            continue;
        }
        if (d.name.empty())
            continue;
        if (++d.words == 1)
            d.firstWord = word;
        float value = 0.0f;
        bool outOfRange = false;
        if (d.onlyNumbers && d.words <= kMaxConstantNumbers && d.depth == 1 &&
            NumberRule(word, value, outOfRange) && !outOfRange) {
            d.numbers.push_back(value);
            continue;
        }
        d.onlyNumbers = false;
        if (word[0] == '/')
            continue;
        if (const auto k = m_Keywords.find(word); k != m_Keywords.end()) {
            d.drawing = true;
            d.placement |= k->second == kScale || k->second == kTranslate || k->second == kConcat;
        } else if (const auto f = m_Foreign.find(word); f != m_Foreign.end()) {
            d.drawing |= f->second.drawing;
            d.placement |= f->second.placement;
        }
        d.placement |= IsPlacementWord(word);
    }
}

void CEPSInterpreter::FinishDefinition() {
    DefinitionScan& d = m_Def;
    const std::string_view name = d.name;
    d.name = {};
    if (name.empty())
        return;
    m_Foreign.erase(name);
    m_Constants.erase(name);
    if (d.onlyNumbers && d.words > 0 && d.words <= kMaxConstantNumbers) {
        SetKeyword(name, kNoKeyword);
        m_Constants.emplace(name, d.numbers);
        return;
    }
    if (d.words == 1 && d.firstWord[0] != '/') {
        if (const auto k = m_Keywords.find(d.firstWord); k != m_Keywords.end()) {
            SetKeyword(name, k->second);
            return;
        }
    }
    SetKeyword(name, kNoKeyword);
    if (d.placement || d.drawing)
        m_Foreign.emplace(name, Foreign{d.placement, d.drawing});
}

int CEPSInterpreter::ReadBody() {
    bool on = true;
    // Without a setup: inside the prolog and resources, which only define.
    bool defining = false;
    std::string_view line;
    while (NextLine(line)) {
        if (Poll())
            return kRunCancelled;
        // Every marker holds "%": most body lines have none and skip the searches.
        if (line.find('%') != std::string_view::npos) {
            if (Has(line, "%%PageTrailer") || Has(line, "%%Trailer") || Has(line, "%%EOF"))
                break;
            if (Has(line, "%%BeginPageSetup"))
                on = false;
            else if (Has(line, "%%EndPageSetup"))
                on = true;
            if (m_bNoSetup) {
                if (Has(line, "%%BeginProlog") || Has(line, "%%BeginProcSet") ||
                    Has(line, "%%BeginResource"))
                    defining = true;
                else if (Has(line, "%%EndProlog") || Has(line, "%%EndProcSet") ||
                         Has(line, "%%EndResource"))
                    defining = false;
            }
        }
        if (!m_bNoSetup) {
            if (on)
                AddLineTokens(line);
            continue;
        }
        if (Has(line, "currentfile") && Has(line, "filter"))
            m_bEncodedData = true;
        // The inside of a procedure is not run, nor is anything while the file defines.
        const bool inProcedure = m_Def.depth > 0;
        ScanDefinitions(line);
        if (on && !defining && !inProcedure)
            AddLineTokens(line);
    }
    return kRunOk;
}

int CEPSInterpreter::Run() {
    const int r = Prepare();
    return r == kRunOk ? Execute() : r;
}

int CEPSInterpreter::Prepare() {
    if (!m_pPage)
        return kRunFailed;
    if (m_clock)
        m_startTime = m_clock();
    m_nPos = 0;
    m_Tokens.clear();
    m_Def = DefinitionScan();
    m_Foreign.clear();
    m_Constants.clear();
    m_bForeignDrawing = false;
    m_bEncodedData = false;
    // Tokens with their separators average four bytes or more in the files met in practice:
    // room for them without copies on growth (pages never written cost nothing), up to a
    // bound that keeps a huge file from asking for a huge block at once.
    m_Tokens.reserve(std::min(m_File.size() / 4, kReservedTokens));
    m_bExecuting = false;
    OpenProgress(kReadingFile);
    const int r = ReadPhases();
    CloseProgress();
    return r;
}

int CEPSInterpreter::ReadPhases() {
    int r = Sniff();
    if (r != kRunOk)
        return r;
    bool setupEnded = false;
    r = ReadHeader(setupEnded);
    if (r != kRunOk)
        return r;
    r = SkipSetup(setupEnded);
    if (r != kRunOk)
        return r;
    // The creator is known here, so the body is classified against the final keyword map as it
    // is cut: a token is kept as an action or a number, never as a copy of its text.
    BuildKeywordMap();
    return ReadBody();
}

int CEPSInterpreter::Execute() {
    if (!m_pPage)
        return kRunFailed;
    auto stylesBefore = std::make_unique<CImpPaletteUndo>();
    stylesBefore->SetVectorStylePB(CImpPaletteUndo::CopyPageStyles(m_pPage));
    const CWindow extentsBefore = m_pPage->Extents();
    std::vector<CArticle*> before;
    for (CTree* t = m_pPage->RootArticle()->GetFirstChild(); t; t = t->GetRsibling())
        before.push_back(static_cast<CArticle*>(t));
    m_bExecuting = true;
    m_nToken = 0;
    OpenProgress(kCreatingVectorData);
    const int r = MainLoop();
    CloseProgress();
    ShiftAndWriteUndo(stylesBefore.release(), extentsBefore, before);
    return r;
}

void CEPSInterpreter::PushOperand(float v) {
    m_Operands.push_back(v);
    // No operator takes more than six operands, so only the newest matter.
    if (m_Operands.size() > kMaxOperands)
        m_Operands.pop_front();
}

int CEPSInterpreter::MainLoop() {
    m_Operands.clear();
    m_MadeBoxes.clear();
    FreePending();
    delete m_pItem;
    m_pItem = nullptr;
    m_pParent = m_pPage->RootArticle();
    m_LastChild.clear();
    m_pLastParent = nullptr;
    m_pLastChildEntry = nullptr;
    m_nGroupDepth = 0;
    m_nSwallowedGroups = 0;
    m_curX = m_curY = 0.0;
    m_bPaint = m_bStroked = m_bFilled = m_bPaintedByOperator = false;
    m_Saves.clear();
    m_CreatedColours.clear();
    m_Colours = {kBlack, kRed};
    // The indices met belong to this run's table.
    m_ColourIndex.clear();
    for (RecentColour& r : m_RecentColours)
        r = RecentColour();
    m_strokeColour = m_fillColour = kBlack;

    for (const Token& t : m_Tokens) {
        ++m_nToken;
        if (Poll())
            return kRunCancelled;
        if (t.kind == kNumber) {
            PushOperand(t.value);
            continue;
        }
        if (t.kind == kBadNumber) {
            m_strStopReason = L"A number is out of range.";
            return kRunFailed;
        }
        if (t.kind == kForeignPlacement) {
            m_strStopReason = L"The file places its drawing through procedures of its own, "
                              L"which cannot be imported.";
            return kRunFailed;
        }
        if (t.kind == kForeignDrawing) {
            m_bForeignDrawing = true;
            continue;
        }
        const Action a = Action(t.kind);
        const int n = OperandCount(a);
        if (m_Operands.size() < size_t(n)) {
            m_strStopReason = L"An operator is short of operands.";
            return kRunFailed;
        }
        for (int i = n - 1; i >= 0; --i) {
            m_Args[i] = m_Operands.back();
            m_Operands.pop_back();
        }
        if (!RunAction(a))
            return m_bStopped ? kRunCancelled : kRunFailed;
    }
    EndPath();
    if (m_bFault)
        return kRunFailed;
    WriteStyleTable();
    if (m_MadeBoxes.empty()) {
        if (m_bEncodedData)
            m_strStopReason = L"The drawing is stored compressed, which cannot be imported.";
        else if (m_bForeignDrawing)
            m_strStopReason = L"The file draws through procedures of its own, which cannot be "
                              L"imported.";
        else
            m_strStopReason = L"The file holds no paths that can be imported.";
    }
    return kRunOk;
}
