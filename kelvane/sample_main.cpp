// Writes the sample sign design to the path it is given (run by the build).
#include "kelvane/app/sample_design.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-sample OUTPUT.kdx\n");
        return 2;
    }
    if (!WriteSampleDesign(CString::FromUtf8(argv[1]))) {
        std::fprintf(stderr, "kelvane-sample: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
