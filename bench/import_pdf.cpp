// PDF import at the sizes sign shops receive: generated one-page PDFs of 1,000, 10,000 and
// 100,000 paths; the conversion to EPS timed apart from the interpretation, the whole import,
// and Ghostscript rendering the same file to its null device for comparison. The library
// starts each helper ahead of its command (the one for the next conversion loads while the
// present one runs), as in the program; back to back, the next still has to finish loading,
// so the conversion's time holds what of the start the previous one did not hide. Peak resident
// memory of the program (peak_kb) and of the helper converting the same file (helper_peak_kb, the
// helper's own count: a child's rusage also holds the memory of the program that started it) are
// reported as counters, in kilobytes.
#include "maltrec/import/import_eps.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"
#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/system/process.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

std::string Generate(int paths) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> pos(0.0, 1900.0), d(1.0, 60.0), col(0.0, 1.0);
    std::string content;
    content.reserve(size_t(paths) * 90);
    char line[256];
    for (int i = 0; i < paths; ++i) {
        const double x = pos(rng), y = pos(rng), w = d(rng), h = d(rng);
        if (i % 16 == 0) {
            std::snprintf(line, sizeof line, "%.3f %.3f %.3f RG\n", col(rng), col(rng), col(rng));
            content += line;
        }
        std::snprintf(line, sizeof line,
                      "%.2f %.2f m %.2f %.2f l %.2f %.2f %.2f %.2f %.2f %.2f c %s\n", x, y, x + w,
                      y, x + w, y + h / 3, x + w / 2, y + h, x, y + h, i % 2 ? "S" : "h S");
        content += line;
    }
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 2000 2000] /Contents 4 0 R >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < std::size(objects); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 5\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// A private home (the conversion writes into its temporary folder) and the generated files,
// which (tens of megabytes) go with the run.
struct BenchFolder {
    std::string path;
    BenchFolder() {
        char tmpl[] = "/tmp/bench_import_pdf_XXXXXX";
        if (!mkdtemp(tmpl))
            return;
        path = tmpl;
        ::setenv("KELVANE_USER_HIVE", (path + "/user.hive").c_str(), 1);
        ::setenv("KELVANE_MACHINE_HIVE", (path + "/machine.hive").c_str(), 1);
        ::setenv("KELVANE_HOME", path.c_str(), 1);
    }
    ~BenchFolder() {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    }
};

const std::string& Root() {
    static const BenchFolder folder;
    return folder.path;
}

std::string File(int paths) {
    const std::string path = Root() + "/paths" + std::to_string(paths) + ".pdf";
    if (!std::ifstream(path))
        std::ofstream(path, std::ios::binary) << Generate(paths);
    return path;
}

// The helper's peak while converting `pdf`, from one run of its own beside this program.
double HelperPeakKb(const std::string& pdf) {
    const CString helper = platform::FolderOf(platform::ProgramFilePath()) + L"pdflibrary-helper";
    const std::string eps = Root() + "/peak.eps", report = Root() + "/peak.txt";
    ::setenv("PDFLIBRARY_REPORT_PEAK", report.c_str(), 1);
    platform::ChildProcess child;
    double kb = -1;
    if (child.Start(helper, {L"load", CString::FromUtf8(pdf), CString::FromUtf8(eps)})) {
        child.Wait(60000);
        std::ifstream in(report);
        std::string word;
        double value = 0;
        if (in >> word >> value && word == "peak_kb")
            kb = value;
    }
    ::unsetenv("PDFLIBRARY_REPORT_PEAK");
    std::remove(report.c_str());
    std::remove(eps.c_str());
    return kb;
}

// The program's peak is taken per benchmark: the kernel's high-water mark is set back to the
// present size at each start (where it allows that; else the figure is the run's so far).
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6);
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    return double(self.ru_maxrss);
}

void ReportMemory(benchmark::State& state, const std::string& pdf = std::string()) {
    state.counters["peak_kb"] = PeakKb();
    if (!pdf.empty())
        state.counters["helper_peak_kb"] = HelperPeakKb(pdf);
}

bool Started(benchmark::State& state) {
    ResetPeak();
    if (Root().empty()) {
        state.SkipWithError("no temporary folder");
        return false;
    }
    if (!CPDFManager::StartPDFManager()) {
        state.SkipWithError("the PDF library is not beside the program");
        return false;
    }
    return true;
}

void BM_PdfConvertToEps(benchmark::State& state) {
    const CString source = CString::FromUtf8(File(int(state.range(0))));
    if (!Started(state))
        return;
    for (auto _ : state) {
        CString eps;
        if (!CPDFManager::PdfToFormat(source, &eps, L".EPS"))
            state.SkipWithError("conversion failed");
    }
    ReportMemory(state, File(int(state.range(0))));
}

void BM_PdfInterpretConvertedEps(benchmark::State& state) {
    const CString source = CString::FromUtf8(File(int(state.range(0))));
    if (!Started(state))
        return;
    CString eps;
    if (!CPDFManager::PdfToFormat(source, &eps, L".EPS")) {
        state.SkipWithError("conversion failed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CDesignPage>();
        state.ResumeTiming();
        int kind = 2;
        CImportEPS::ImportEPS3File(nullptr, page.get(), nullptr, 0, eps, kind);
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    ReportMemory(state);
}

void BM_PdfWholeImport(benchmark::State& state) {
    const CString source = CString::FromUtf8(File(int(state.range(0))));
    if (!Started(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<CDesignPage>();
        state.ResumeTiming();
        if (!CPDFManager::ReadPDFDocument(source, page.get(), 0, nullptr))
            state.SkipWithError("import failed");
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    ReportMemory(state, File(int(state.range(0))));
}

// Ghostscript's program on the search path, or empty.
std::string GhostscriptPath() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + "/gs";
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Started as the helper is (no shell, no copy of this program), so that both pay the same.
void BM_GhostscriptNullDevice(benchmark::State& state) {
    ResetPeak();
    const std::string gs = GhostscriptPath();
    if (gs.empty()) {
        state.SkipWithError("Ghostscript is not installed");
        return;
    }
    const std::vector<CString> arguments = {L"-q", L"-dNOPAUSE", L"-dBATCH", L"-sDEVICE=nullpage",
                                            CString::FromUtf8(File(int(state.range(0))))};
    for (auto _ : state) {
        platform::ChildProcess child;
        if (!child.Start(CString::FromUtf8(gs), arguments) ||
            child.Wait(600000) != platform::ChildProcess::Outcome::Exited || child.ExitCode() != 0)
            state.SkipWithError("Ghostscript failed");
    }
    ReportMemory(state);
}

} // namespace

BENCHMARK(BM_PdfConvertToEps)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfInterpretConvertedEps)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfWholeImport)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GhostscriptNullDevice)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
