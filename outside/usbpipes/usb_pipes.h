// Named pipes of a USB cutter over a printer-class device: PIPE01 and PIPE03 write to the
// device, PIPE00 reads its replies, PIPE02 yields the free buffer space as decimal text.
#pragma once

#include <cstdint>

// The device of port n is <folder>/lp(n-1); the folder is read from the environment variable
// `folderVariable` (default /dev/usb). A file <folder>/status(n-1), when present (a FIFO fed by
// the device's helper), is the status pipe; else the device is taken to have room to spare.
// Returns a file descriptor, or -1.
intptr_t UsbOpenPipe(const char* folderVariable, int port, const char* pipeName);
