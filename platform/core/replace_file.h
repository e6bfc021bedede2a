// Replacing a file whole, so that its path always holds either the old or the new contents:
// the new bytes go to a temporary file beside it (".<name>.XXXXXX"), are flushed, renamed over
// the old file, and the folder is flushed so the rename survives a power cut.
#pragma once

#include "platform/core/types.h"

#include <functional>
#include <string>
#include <vector>

namespace platform {

// The points a replacement passes, in order; a test can stop there as a crash would.
enum class ReplaceStep {
    TemporaryCreated, // the temporary exists and is still empty
    TemporaryWritten, // the temporary holds every byte and is flushed
    ReadyToRename,    // whatever had to happen before the rename (a backup) is done
    Renamed,          // the new file is at the path; the folder is not flushed yet
};

// Writes `bytes` to a native path through a temporary file. Temporaries of the same path left
// by a crashed or killed writer are removed first; the temporary is locked while it is in use,
// so one that a running writer holds is kept. `onStep` is called at each step; what it throws
// abandons the replacement and leaves the old file. Returns 0, or the errno of the failing
// step with the old file untouched.
int ReplaceFile(const std::string& target, const std::vector<BYTE>& bytes,
                const std::function<void(ReplaceStep)>& onStep = {});

// Removes the temporaries of `target` that no running writer holds.
void RemoveStaleTemporaries(const std::string& target);
// The same in a native folder for every target whose file name `isTarget` accepts: after a
// crash the names written to are not known (recovery copies carry a new random part each run).
void RemoveStaleTemporariesIn(const std::string& folder,
                              const std::function<bool(const std::string& name)>& isTarget);

// Flushes the folder that holds a native path, so a rename or link in it is durable.
void SyncFolderOf(const std::string& path);

} // namespace platform
