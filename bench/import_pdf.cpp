// PDF import at the sizes sign shops receive: generated one-page PDFs of 1,000, 10,000 and
// 100,000 paths; the conversion to EPS (the helper's start included) timed apart from the
// interpretation, the whole import, and Ghostscript rendering the same file to its null device
// for comparison. Peak resident memory of the program and of its children (the helper, and
// Ghostscript when it ran) is reported as counters, in kilobytes.
#include "maltrec/import/import_eps.h"
#include "maltrec/import/pdf_manager.h"

#include "design/design_page.h"

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

void ReportMemory(benchmark::State& state) {
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["peak_kb"] = double(self.ru_maxrss);
    state.counters["child_peak_kb"] = double(children.ru_maxrss);
}

bool Started(benchmark::State& state) {
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
    ReportMemory(state);
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
    ReportMemory(state);
}

void BM_GhostscriptNullDevice(benchmark::State& state) {
    if (std::system("gs --version > /dev/null 2>&1") != 0) {
        state.SkipWithError("Ghostscript is not installed");
        return;
    }
    const std::string cmd = "gs -q -dNOPAUSE -dBATCH -sDEVICE=nullpage " +
                            File(int(state.range(0))) + " > /dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0)
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
