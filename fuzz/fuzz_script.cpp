// Arbitrary bytes read as a script file: every line gives no command or a sound one.
#include "design/script_parser.h"

#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const SC_COMMAND_REC kTable[] = {
    {1, L"CUT", L"IIS", 0},
    {2, L"Name", L"SSIS", 0},
    {3, L"$", L"SI", 0},
    {-1, nullptr, nullptr, 0},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = memfd_create("script", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        CScriptParser parser(kTable);
        parser.fnParseFromFile(CString(("/proc/self/fd/" + std::to_string(fd)).c_str()));
        for (int i = 0; CScriptCommand* command = parser.fnGetCommand(i); ++i) {
            for (int k = 0; k < command->fnGetStringCount(); ++k) {
                if (CString(command->fnGetString(k)).GetLength() >= kScriptTextSize)
                    __builtin_trap();
            }
        }
    }
    close(fd);
    return 0;
}
