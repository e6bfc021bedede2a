// What one helper run learnt of the file loaded last: its page count and its first page
// already written as EPS. An import loads a file to check it and loads it again to convert it;
// both loads and the conversion are answered from one run of the helper while the file is
// unchanged on disk.
#pragma once

#include <cstdint>
#include <string>

class PreparedFile {
public:
    PreparedFile() = default;
    PreparedFile(const PreparedFile&) = delete;
    PreparedFile& operator=(const PreparedFile&) = delete;
    ~PreparedFile();

    // Removes the private folders of processes that ended without removing theirs (killed
    // during an import).
    static void RemoveAbandonedFolders();

    // A fresh path for the EPS of the next preparation, in a private folder of this process;
    // empty when that folder cannot be made.
    std::string NewEpsPath();
    // Remembers `path` as it is on disk now, with its page count and the EPS of its first page
    // (empty when writing it failed; `epsFailed` then says a second try would fail as well).
    void Remember(const std::string& path, int pages, const std::string& eps, bool epsFailed);
    // Forgets the file and removes its EPS.
    void Forget();

    // The remembered page count when `path` is the remembered file and is unchanged; else 0.
    int Pages(const std::string& path) const;
    // When `path` is the remembered, unchanged file: true when its first page is known not to
    // convert.
    bool EpsKnownToFail(const std::string& path) const;
    // Moves the remembered EPS of an unchanged `path` to `destination` (whole or not at all)
    // and forgets the file; false when there is none, and the caller converts the page itself.
    bool TakeEps(const std::string& path, const std::string& destination);

private:
    struct Identity {
        uint64_t device = 0, inode = 0, size = 0;
        int64_t modifiedNs = 0, changedNs = 0;
        bool operator==(const Identity&) const = default;
    };
    static bool IdentityOf(const std::string& path, Identity* id);
    bool Unchanged(const std::string& path) const;

    std::string m_path;
    Identity m_identity;
    int m_pages = 0;
    std::string m_eps;
    bool m_epsFailed = false;
};
