// Entry points of the vanterusb library: open_file for port 1, open_file<n> for port n.
#include "usb_pipes.h"

#define OPEN_FILE(name, port)                                                                      \
    extern "C" __attribute__((visibility("default"))) intptr_t name(const char* pipe, void*) {     \
        return UsbOpenPipe("VANTERUSB_DIR", port, pipe);                                           \
    }

OPEN_FILE(open_file, 1)
OPEN_FILE(open_file2, 2)
OPEN_FILE(open_file3, 3)
OPEN_FILE(open_file4, 4)
OPEN_FILE(open_file5, 5)
OPEN_FILE(open_file6, 6)
OPEN_FILE(open_file7, 7)
OPEN_FILE(open_file8, 8)
OPEN_FILE(open_file9, 9)
