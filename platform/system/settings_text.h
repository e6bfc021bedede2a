// The hive's text form: UTF-8 lines of keys and typed values.
#pragma once

#include "platform/system/settings_tree.h"

namespace platform::settings {

std::string Serialize(const Key& root);

// Loads what is sound; every line that is not is reported (with `file` and its line number)
// and skipped.
void Parse(const std::string& text, Key& root, std::vector<CString>& problems,
           const std::string& file);

} // namespace platform::settings
