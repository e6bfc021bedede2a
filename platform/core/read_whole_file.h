// Reads a file whole into memory in one pass, refusing files over a size limit before reading.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/types.h"

#include <vector>

namespace platform {

enum class ReadWholeFileResult { Ok, CannotOpen, TooLarge, ReadError };

ReadWholeFileResult ReadWholeFile(const wchar_t* path, ULONGLONG limit, std::vector<BYTE>& out);

} // namespace platform
