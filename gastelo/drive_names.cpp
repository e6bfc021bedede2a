#include "gastelo/drive_names.h"

#include "platform/system/paths.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char kMountTable[] = "/proc/self/mounts";
const char kLabelFolder[] = "/dev/disk/by-label";
const char kBlockClass[] = "/sys/class/block/";
const wchar_t kLocalDiskName[] = L"[]";

BrowserMountTableReader g_reader = nullptr;

bool IsNetworkType(const CString& type) {
    static const std::set<std::wstring> kTypes = {L"nfs",       L"nfs4",  L"cifs",       L"smb3",
                                                  L"smbfs",     L"ncpfs", L"afs",        L"ceph",
                                                  L"glusterfs", L"9p",    L"fuse.sshfs", L"davfs"};
    return kTypes.count(type.str()) != 0;
}

// Mount lines escape space, tab, newline and backslash as three octal digits.
std::string UnescapeOctal(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() &&
            std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += char(((s[i + 1] - '0') << 6) | ((s[i + 2] - '0') << 3) | (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Labels under /dev/disk/by-label escape unsafe bytes as "\xHH".
std::string UnescapeHex(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += char(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string ReadFirstLine(const fs::path& p) {
    std::ifstream in(p);
    std::string line;
    std::getline(in, line);
    return line;
}

// A disk is removable when its block device says so; a partition asks its disk.
bool IsRemovableDevice(const std::string& device) {
    std::error_code ec;
    const fs::path node = fs::canonical(device, ec);
    if (ec)
        return false;
    const fs::path sys = fs::canonical(fs::path(kBlockClass) / node.filename(), ec);
    if (ec)
        return false;
    for (const fs::path& dir : {sys, sys.parent_path()}) {
        if (fs::exists(dir / "removable", ec))
            return ReadFirstLine(dir / "removable") == "1";
    }
    return false;
}

std::map<std::string, std::string> LabelsByDevice() {
    std::map<std::string, std::string> labels;
    std::error_code ec;
    for (fs::directory_iterator it(kLabelFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        const fs::path target = fs::canonical(it->path(), ec2);
        if (!ec2)
            labels[target.string()] = UnescapeHex(it->path().filename().string());
    }
    return labels;
}

bool ReadSystemMountTable(BrowserMountTable& table) {
    std::ifstream in(kMountTable);
    if (!in)
        return false;
    std::stringstream text;
    text << in.rdbuf();
    table = BrowserParseMountLines(text.str());
    std::map<std::string, std::string> labels;
    bool labelsRead = false;
    for (BrowserMount& m : table) {
        const std::string source = m.source.ToUtf8();
        if (source.rfind("/dev/", 0) != 0 || !IsRemovableDevice(source))
            continue;
        m.removable = true;
        if (!labelsRead) {
            labels = LabelsByDevice();
            labelsRead = true;
        }
        std::error_code ec;
        auto it = labels.find(fs::canonical(source, ec).string());
        if (!ec && it != labels.end())
            m.label = CString::FromUtf8(it->second);
    }
    return true;
}

// The mount holding the path: the longest mount point that is the path or one of its folders.
const BrowserMount* MountOf(const BrowserMountTable& table, const CString& path) {
    std::error_code ec;
    fs::path native = fs::absolute(platform::MapPath(path), ec);
    if (ec)
        return nullptr;
    const fs::path resolved = fs::weakly_canonical(native, ec);
    const std::string p = (ec ? native : resolved).lexically_normal().string();
    const BrowserMount* best = nullptr;
    size_t bestLength = 0;
    for (const BrowserMount& m : table) {
        std::string point = m.mountPoint.ToUtf8();
        while (point.size() > 1 && point.back() == '/')
            point.pop_back();
        if (point.empty() || p.rfind(point, 0) != 0)
            continue;
        const bool holds = p.size() == point.size() || point == "/" || p[point.size()] == '/';
        // Later mounts over the same point hide earlier ones.
        if (holds && point.size() >= bestLength) {
            best = &m;
            bestLength = point.size();
        }
    }
    return best;
}

bool ReadMounts(BrowserMountTable& table) {
    return g_reader ? g_reader(table) : BrowserReadMountTable(table);
}

} // namespace

BrowserMountTable BrowserParseMountLines(const std::string& text) {
    BrowserMountTable table;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string source, target, type;
        if (!(fields >> source >> target >> type))
            continue;
        BrowserMount m;
        m.source = CString::FromUtf8(UnescapeOctal(source));
        m.mountPoint = CString::FromUtf8(UnescapeOctal(target));
        m.fsType = CString::FromUtf8(UnescapeOctal(type));
        table.push_back(m);
    }
    return table;
}

bool BrowserReadMountTable(BrowserMountTable& table) {
    return ReadSystemMountTable(table);
}

void BrowserSetMountTableReader(BrowserMountTableReader reader) {
    g_reader = reader;
}

int GetUniversalName(CString& out, const CString& path) {
    BrowserMountTable table;
    if (!ReadMounts(table))
        return 0;
    const BrowserMount* m = MountOf(table, path);
    if (!m || !IsNetworkType(m->fsType))
        return 0;
    out = m->source;
    return 1;
}

CString BrowserGetDriveName(CString path) {
    BrowserMountTable table;
    if (!ReadMounts(table))
        return kLocalDiskName;
    const BrowserMount* m = MountOf(table, path);
    if (!m)
        return kLocalDiskName;
    if (m->removable)
        return L"<" + m->label.Left(kVolumeLabelChars) + L">";
    if (IsNetworkType(m->fsType)) {
        CString remote;
        GetUniversalName(remote, path);
        return remote;
    }
    return kLocalDiskName;
}
