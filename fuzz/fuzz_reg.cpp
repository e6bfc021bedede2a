// Arbitrary bytes read as a registry export: reading never touches the settings, and every
// value it yields is whole.
#include "platform/system/reg_file.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto content =
        platform::ParseRegText(std::string(reinterpret_cast<const char*>(data), size));
    if (!content.recognised && !content.operations.empty())
        __builtin_trap();
    for (const auto& op : content.operations) {
        if (op.root != HKEY_CURRENT_USER && op.root != HKEY_LOCAL_MACHINE)
            __builtin_trap();
        if (op.type == REG_DWORD && op.data.size() != 4)
            __builtin_trap();
        if (op.type == REG_SZ && op.data.size() % sizeof(wchar_t) != 0)
            __builtin_trap();
    }
    return 0;
}
