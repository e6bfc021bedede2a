#include "content_plan.h"

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// Deepest nesting of arrays and dictionaries followed; deeper content is read whole.
constexpr size_t kMaxNesting = 64;
// Longest operator taken as one (the reader splits longer ones): such content is read whole.
constexpr size_t kMaxKeyword = 100;
// Longest replay a part is given (content setting colours over and over would otherwise have
// every part hold most of it).
constexpr size_t kMaxReplayBytes = 16u << 20;

enum CharClass : unsigned char { kRegular, kWhite, kDelimiter };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> classes{};
    for (unsigned char c : {'\0', '\t', '\n', '\f', '\r', ' '})
        classes[c] = kWhite;
    for (unsigned char c : {'%', '(', ')', '/', '<', '>', '[', ']', '{', '}'})
        classes[c] = kDelimiter;
    return classes;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

enum class Op {
    kOther,
    kState,
    kPaint,
    kPath,
    kSave,
    kRestore,
    kBeginText,
    kEndText,
    kBeginMarked,
    kEndMarked,
    kBeginCompat,
    kEndCompat,
    kInlineImage
};

bool Is(const char* p, const char* name) {
    return std::memcmp(p, name, std::strlen(name)) == 0;
}

Op Classify(const char* p, size_t n) {
    if (n == 1) {
        switch (p[0]) {
        case 'q':
            return Op::kSave;
        case 'Q':
            return Op::kRestore;
        case 'S':
        case 's':
        case 'f':
        case 'F':
        case 'B':
        case 'b':
        case 'n':
            return Op::kPaint;
        case 'G':
        case 'g':
        case 'K':
        case 'k':
            return Op::kState;
        case 'm':
        case 'l':
        case 'c':
        case 'v':
        case 'y':
        case 'h':
            return Op::kPath;
        default:
            return Op::kOther;
        }
    }
    if (n == 2) {
        if (Is(p, "cm") || Is(p, "gs") || Is(p, "CS") || Is(p, "cs") || Is(p, "SC") ||
            Is(p, "sc") || Is(p, "RG") || Is(p, "rg"))
            return Op::kState;
        if (Is(p, "f*") || Is(p, "B*") || Is(p, "b*"))
            return Op::kPaint;
        if (Is(p, "re"))
            return Op::kPath;
        if (Is(p, "BT"))
            return Op::kBeginText;
        if (Is(p, "ET"))
            return Op::kEndText;
        if (Is(p, "BX"))
            return Op::kBeginCompat;
        if (Is(p, "EX"))
            return Op::kEndCompat;
        if (Is(p, "BI"))
            return Op::kInlineImage;
        return Op::kOther;
    }
    if (n == 3) {
        if (Is(p, "SCN") || Is(p, "scn"))
            return Op::kState;
        if (Is(p, "BMC") || Is(p, "BDC"))
            return Op::kBeginMarked;
        if (Is(p, "EMC"))
            return Op::kEndMarked;
    }
    return Op::kOther;
}

} // namespace

bool PlanContentParts(const std::string& content, int parts,
                      const std::function<void(ContentPart&&)>& ready) {
    const size_t n = content.size();
    const unsigned char* s = reinterpret_cast<const unsigned char*>(content.data());
    if (parts < 2 || n == 0)
        return false;

    std::vector<char> containers; // 'a' array, 'd' dictionary
    int compat = 0;
    bool inText = false;
    // The saved states open here, the outermost first: the state operators given at each since
    // its q (those of q ... Q pairs closed since are undone), and whether a path is open there.
    struct Level {
        std::string ops;
        bool pathOpen = false;
    };
    std::vector<Level> levels(1);
    // Marked content open at this point, as byte ranges (operands and operator).
    std::vector<std::pair<size_t, size_t>> openMarks;
    // The part being scanned, and what it replays first.
    size_t partBegin = 0;
    std::string partPreamble, partMarks;
    int handed = 0;
    // Parts of about equal size (on a busy machine the readers run at about the same pace).
    std::vector<size_t> targets;
    for (int k = 1; k < parts; ++k)
        targets.push_back(n / size_t(parts) * size_t(k));
    size_t nextTarget = targets[0];
    size_t opStart = std::string::npos;

    for (size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        const unsigned char kind = kClasses[c];
        if (kind == kWhite) {
            ++i;
            continue;
        }
        if (c == '%') {
            while (i < n && s[i] != '\r' && s[i] != '\n')
                ++i;
            continue;
        }
        const size_t start = i;
        if (opStart == std::string::npos)
            opStart = start;
        bool keyword = false;
        if (kind == kRegular) {
            if (IsDigit(c) || c == '+' || c == '-' || c == '.') {
                // A number as the reader takes it: it ends at the first other character, which
                // may start an operator.
                bool fraction = c == '.';
                ++i;
                while (!fraction && i < n && (IsDigit(s[i]) || s[i] == '.')) {
                    fraction = s[i] == '.';
                    ++i;
                }
                while (fraction && i < n && (IsDigit(s[i]) || s[i] == '-'))
                    ++i;
                continue;
            }
            while (i < n && kClasses[s[i]] == kRegular)
                ++i;
            if (i - start >= kMaxKeyword)
                return false;
            if (!containers.empty())
                continue;
            keyword = true;
        } else if (c == '(') {
            int depth = 1;
            ++i;
            while (i < n && depth > 0) {
                if (s[i] == '\\')
                    ++i;
                else if (s[i] == '(')
                    ++depth;
                else if (s[i] == ')')
                    --depth;
                ++i;
            }
            if (depth > 0)
                return false;
        } else if (c == '<' && i + 1 < n && s[i + 1] == '<') {
            containers.push_back('d');
            i += 2;
        } else if (c == '<') {
            while (i < n && s[i] != '>')
                ++i;
            if (i == n)
                return false;
            ++i;
        } else if (c == '>' && i + 1 < n && s[i + 1] == '>') {
            i += 2;
            if (!containers.empty() && containers.back() == 'd')
                containers.pop_back();
            else if (containers.empty())
                keyword = true;
        } else if (c == '[') {
            containers.push_back('a');
            ++i;
        } else if (c == ']') {
            ++i;
            if (!containers.empty() && containers.back() == 'a')
                containers.pop_back();
            else if (containers.empty())
                keyword = true;
        } else if (c == '{' || c == '}') {
            ++i;
            keyword = containers.empty();
        } else if (c == '/') {
            ++i;
            while (i < n && kClasses[s[i]] == kRegular)
                ++i;
        } else {
            ++i; // a stray ')' or '>': an operand the reader will not like
        }
        if (containers.size() > kMaxNesting)
            return false;
        if (!keyword)
            continue;

        // A cut where no path is open at any level (Q brings back the path of its q).
        bool cut = false;
        switch (Classify(content.data() + start, i - start)) {
        case Op::kInlineImage:
            return false;
        case Op::kSave:
            levels.push_back({std::string(), levels.back().pathOpen});
            break;
        case Op::kRestore:
            // Unmatched, it would undo the page's own saved state: read whole.
            if (levels.size() == 1)
                return false;
            levels.pop_back();
            cut = true;
            break;
        case Op::kBeginText:
            inText = true;
            break;
        case Op::kEndText:
            inText = false;
            break;
        case Op::kBeginMarked:
            openMarks.emplace_back(opStart, i);
            break;
        case Op::kEndMarked:
            if (!openMarks.empty())
                openMarks.pop_back();
            break;
        case Op::kBeginCompat:
            ++compat;
            break;
        case Op::kEndCompat:
            compat -= compat > 0;
            break;
        case Op::kState:
            levels.back().ops.append(content, opStart, i - opStart);
            levels.back().ops += '\n';
            break;
        case Op::kPath:
            levels.back().pathOpen = true;
            break;
        case Op::kPaint:
            levels.back().pathOpen = false;
            cut = true;
            break;
        case Op::kOther:
            break;
        }
        opStart = std::string::npos;
        if (!cut || compat != 0 || inText || i < nextTarget || i >= n || handed + 1 >= parts)
            continue;
        bool pathOpen = false;
        size_t replay = 0;
        for (const Level& level : levels) {
            pathOpen = pathOpen || level.pathOpen;
            replay += level.ops.size();
        }
        // A part whose replay would be too long to hold stays with the part before.
        if (pathOpen || replay > kMaxReplayBytes)
            continue;
        ready(ContentPart{partBegin, i, std::move(partPreamble), std::move(partMarks)});
        partBegin = i;
        // The state of each open level after its q, then the marked content open here (it is
        // not part of the state), so that optional content is shown or hidden as in the whole
        // reading.
        partPreamble = levels.front().ops;
        for (size_t level = 1; level < levels.size(); ++level) {
            partPreamble += "q\n";
            partPreamble += levels[level].ops;
        }
        partMarks.clear();
        for (const auto& [from, to] : openMarks) {
            partMarks.append(content, from, to - from);
            partMarks += '\n';
        }
        ++handed;
        nextTarget = size_t(handed) < targets.size() ? targets[size_t(handed)] : n;
    }
    if (!containers.empty() || handed == 0)
        return false;
    ready(ContentPart{partBegin, n, std::move(partPreamble), std::move(partMarks)});
    return true;
}
