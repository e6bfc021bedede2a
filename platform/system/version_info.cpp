#include "platform/system/version_info.h"

#include "platform/system/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr char kSectionName[] = "kelvane_version";
constexpr DWORD kBlockMagic = 0x4B564249; // marks a block filled by GetFileVersionInfo

uint64_t Le(const unsigned char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

class File {
public:
    explicit File(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat st;
        if (m_fd >= 0 && fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode))
            m_size = uint64_t(st.st_size);
    }
    ~File() {
        if (m_fd >= 0)
            close(m_fd);
    }
    // Reads exactly `n` bytes at `offset`, all inside the file.
    bool Read(uint64_t offset, uint64_t n, std::vector<unsigned char>& out) const {
        if (m_fd < 0 || offset > m_size || n > m_size - offset || n > (64u << 20))
            return false;
        out.resize(size_t(n));
        size_t done = 0;
        while (done < n) {
            ssize_t r = pread(m_fd, out.data() + done, size_t(n) - done, off_t(offset + done));
            if (r <= 0)
                return false;
            done += size_t(r);
        }
        return true;
    }

private:
    int m_fd;
    uint64_t m_size = 0;
};

// The section's contents; only little-endian ELF files, 32 or 64 bits, are read.
bool FindSection(const File& f, std::vector<unsigned char>& data) {
    std::vector<unsigned char> h;
    if (!f.Read(0, 52, h) ||
        std::memcmp(h.data(),
                    "\x7F"
                    "ELF",
                    4) != 0 ||
        h[5] != 1)
        return false;
    bool wide = h[4] == 2;
    if (!wide && h[4] != 1)
        return false;
    if (wide && !f.Read(0, 64, h))
        return false;
    uint64_t shoff = wide ? Le(&h[0x28], 8) : Le(&h[0x20], 4);
    unsigned entSize = unsigned(Le(&h[wide ? 0x3A : 0x2E], 2));
    unsigned count = unsigned(Le(&h[wide ? 0x3C : 0x30], 2));
    unsigned strIndex = unsigned(Le(&h[wide ? 0x3E : 0x32], 2));
    unsigned minEnt = wide ? 64 : 40;
    if (entSize < minEnt || count == 0 || strIndex >= count)
        return false;
    std::vector<unsigned char> table;
    if (!f.Read(shoff, uint64_t(entSize) * count, table))
        return false;
    auto field = [&](unsigned i, unsigned off64, unsigned off32, int bytes64, int bytes32) {
        const unsigned char* e = &table[size_t(i) * entSize];
        return wide ? Le(e + off64, bytes64) : Le(e + off32, bytes32);
    };
    std::vector<unsigned char> names;
    if (!f.Read(field(strIndex, 24, 16, 8, 4), field(strIndex, 32, 20, 8, 4), names))
        return false;
    for (unsigned i = 0; i < count; ++i) {
        uint64_t nameAt = field(i, 0, 0, 4, 4);
        if (nameAt >= names.size())
            continue;
        size_t left = names.size() - size_t(nameAt);
        if (strnlen(reinterpret_cast<const char*>(&names[size_t(nameAt)]), left) ==
                sizeof kSectionName - 1 &&
            left >= sizeof kSectionName &&
            std::memcmp(&names[size_t(nameAt)], kSectionName, sizeof kSectionName) == 0)
            return f.Read(field(i, 24, 16, 8, 4), field(i, 32, 20, 8, 4), data);
    }
    return false;
}

} // namespace

bool ReadVersionRecord(const wchar_t* file, WORD parts[4]) {
    if (!file || !*file)
        return false;
    File f(MapPath(file));
    std::vector<unsigned char> data;
    if (!FindSection(f, data) || data.size() < 16 || std::memcmp(data.data(), "KVVR", 4) != 0)
        return false;
    // The stored length must cover the fields and lie inside the section.
    uint64_t length = Le(&data[4], 4);
    if (length < 16 || length > data.size())
        return false;
    for (int i = 0; i < 4; ++i)
        parts[i] = WORD(Le(&data[8 + 2 * size_t(i)], 2));
    return true;
}

} // namespace platform

namespace {

struct Block {
    DWORD magic;
    VS_FIXEDFILEINFO info;
};

} // namespace

DWORD GetFileVersionInfoSize(const wchar_t* file, DWORD* handle) {
    if (handle)
        *handle = 0;
    WORD parts[4];
    return platform::ReadVersionRecord(file, parts) ? DWORD(sizeof(Block)) : 0;
}

BOOL GetFileVersionInfo(const wchar_t* file, DWORD, DWORD bytes, void* block) {
    WORD parts[4];
    if (!block || bytes < sizeof(Block) || !platform::ReadVersionRecord(file, parts))
        return FALSE;
    Block b{};
    b.magic = platform::kBlockMagic;
    b.info.dwSignature = 0xFEEF04BD;
    b.info.dwStrucVersion = 0x00010000;
    b.info.dwFileVersionMS = DWORD(parts[0]) << 16 | parts[1];
    b.info.dwFileVersionLS = DWORD(parts[2]) << 16 | parts[3];
    b.info.dwProductVersionMS = b.info.dwFileVersionMS;
    b.info.dwProductVersionLS = b.info.dwFileVersionLS;
    std::memcpy(block, &b, sizeof b);
    return TRUE;
}

BOOL VerQueryValue(const void* block, const wchar_t* subBlock, void** value, UINT* bytes) {
    if (!block || !subBlock || !value || std::wcscmp(subBlock, L"\\") != 0)
        return FALSE;
    auto* b = static_cast<const Block*>(const_cast<void*>(block));
    if (b->magic != platform::kBlockMagic)
        return FALSE;
    *value = const_cast<VS_FIXEDFILEINFO*>(&b->info);
    if (bytes)
        *bytes = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}
