// The autosave timer's interval and the names the recovery at start uses.
#pragma once

#include "platform/core/types.h"

#include <filesystem>
#include <vector>

namespace kelvane {

constexpr UINT kAutoSaveTimerId = 13131;
// Nothing sets it; it is killed when it arrives.
constexpr UINT kSpareTimerId = 13132;
constexpr int kDefaultAutoSaveMinutes = 5;
constexpr int kMaxAutoSaveMinutes = 1440;
constexpr UINT kMillisecondsPerMinute = 60000;
// "AutoSaveMethod": the active design only, or every design.
constexpr int kAutoSaveActive = 1;
constexpr int kAutoSaveAll = 2;

// "AutoSaveInterval" in milliseconds: 0 or below counts as 5 minutes, more than a day as a day.
UINT AutoSaveIntervalMs(int minutes);

// Whether the name ends in ".KDR" (any case): a recovery copy.
bool IsRecoveryFile(const std::filesystem::path& file);
// The recovery copies in the folder, by name; none when it cannot be read.
std::vector<std::filesystem::path> FindRecoveryFiles(const std::filesystem::path& folder);
// The file's name in the folder with only its extension changed to ".KDX"; when a file of that
// name exists, " (2)", " (3)"... is added before the extension, so nothing is replaced.
std::filesystem::path FreeDesignName(const std::filesystem::path& folder,
                                     const std::filesystem::path& file);

// Removes the parts of recovery copies that a killed autosave left in the folder (no running
// writer holds them).
void RemoveAbandonedRecoveryParts(const std::filesystem::path& folder);
// Notes with the copy (an extended attribute of the file, where the file system keeps them)
// the design it was written for.
void RecordRecoveryOwner(const std::filesystem::path& copy, const std::filesystem::path& design);
// The saved design a recovery copy belongs to: the one noted with it, else the design of its
// name in the design folder ("Sign-4243.KDR" belongs to "Sign.KDX").
std::filesystem::path RecoveryOwner(const std::filesystem::path& copy,
                                    const std::filesystem::path& designFolder);
// Whether the copy holds nothing newer than that design: the design was saved after the copy
// was written (a kill then kept the close from removing the copy).
bool IsSupersededRecoveryCopy(const std::filesystem::path& copy,
                              const std::filesystem::path& designFolder);

} // namespace kelvane
