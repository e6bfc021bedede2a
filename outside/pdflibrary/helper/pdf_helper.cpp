// The PDF work of the PDF library stand-in, run as a process of its own so that a damaged or
// hostile file can crash or hang only this helper:
//   pdflibrary-helper info <pdf>               prints "pages <n>"
//   pdflibrary-helper load <pdf> <out>         prints "pages <n>", then writes page 1 as EPS
//   pdflibrary-helper eps <pdf> <page> <out>   the page's paths as EPS
//   pdflibrary-helper serve                    started ahead: reads one of the commands above
//                                              from standard input (each word ended by a NUL)
//                                              and runs it; end of input with none runs none
// With PDFLIBRARY_REPORT_PEAK naming a file it writes "peak_kb <n>", its peak resident memory,
// there at the end (for measurements: a child's own figure, which the parent's rusage cannot
// give; kept off the output the library reads).
// Pages as pictures are drawn by pdflibrary-raster, which alone loads the imaging libraries:
// they would double this helper's start. Exit code 0 on success; the output file appears
// whole or not at all.
#include "eps_output_dev.h"
#include "page_parts.h"
#include "pdf_source.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int WriteEps(const char* path, PDFDoc& doc, int page, const std::string& out) {
    std::string part = out + ".part";
    FILE* f = std::fopen(part.c_str(), "wb");
    if (!f)
        return kWriteFailed;
    bool ok;
    {
        // A large page is read in parts side by side where it can be; else whole, the text
        // written by a second thread meanwhile.
        EpsWriter writer(f);
        if (DrawPageInParts(path, doc, page, writer)) {
            ok = writer.Finish();
        } else {
            EpsOutputDev dev(f);
            doc.displayPage(&dev, page, 72, 72, 0, true, false, false);
            ok = dev.Finish();
        }
    }
    // No fsync: the file is a temporary, read at once and removed; the rename keeps it whole.
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(part.c_str(), out.c_str()) != 0) {
        std::remove(part.c_str());
        return kWriteFailed;
    }
    return kOk;
}

// The peak resident memory of this process, from the kernel's own count (its rusage also
// holds the memory of the program that started it).
long PeakKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    long kb = -1;
    char line[256];
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %ld", &kb) == 1)
            break;
    std::fclose(f);
    return kb;
}

int Run(int argc, char** argv) {
    if (argc < 3)
        return kUsage;
    const PdfSource source(argv[2]);
    PDFDoc* doc = source.Document();
    if (!doc)
        return kUnreadable;
    const std::string command = argv[1];
    if ((command == "info" && argc == 3) || (command == "load" && argc == 4)) {
        // The answer to the library, out before the page is drawn: the count stands even when
        // drawing fails.
        std::fprintf(stdout, "pages %d\n", doc->getNumPages());
        if (std::fflush(stdout) != 0)
            return kWriteFailed;
        return command == "load" ? WriteEps(argv[2], *doc, 1, argv[3]) : kOk;
    }
    const int page = argc > 3 ? std::atoi(argv[3]) : 0;
    if (page < 1 || page > doc->getNumPages())
        return kNoPage;
    if (command == "eps" && argc == 5)
        return WriteEps(argv[2], *doc, page, argv[4]);
    return kUsage;
}

// Longest command taken on standard input.
constexpr size_t kMaxCommandBytes = 64 * 1024;

// The command a helper started ahead is given: its words, each ended by a NUL.
bool ReadCommand(std::vector<std::string>* words) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || text.size() + size_t(n) > kMaxCommandBytes)
            return false;
        text.append(buffer, size_t(n));
    }
    if (text.empty() || text.back() != '\0')
        return false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\0', start);
        words->push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

int Serve(char* self) {
    // What can be done before the command is: the libraries are loaded already.
    PdfSource::PrepareReader();
    std::vector<std::string> words;
    if (!ReadCommand(&words))
        return kUsage;
    std::vector<char*> argv = {self};
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    return Run(int(argv.size() - 1), argv.data());
}

} // namespace

int main(int argc, char** argv) {
    const bool serve = argc == 2 && std::strcmp(argv[1], "serve") == 0;
    const int code = serve ? Serve(argv[0]) : Run(argc, argv);
    if (const char* report = std::getenv("PDFLIBRARY_REPORT_PEAK"); report && *report) {
        if (FILE* f = std::fopen(report, "w")) {
            std::fprintf(f, "peak_kb %ld\n", PeakKb());
            std::fclose(f);
        }
    }
    // Everything is written and closed: ending here spares the reader's and its libraries'
    // tear-down (about a millisecond), which the program would wait for.
    std::fflush(stdout);
    std::_Exit(code);
}
