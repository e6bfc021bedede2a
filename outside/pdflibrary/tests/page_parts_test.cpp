// A page read in parts side by side gives the very EPS its reading whole gives: the real helper
// run on a page of every kind of outermost state, once cut into small parts and once whole.
#include "../helper/content_plan.h"

#include "platform/system/module.h"
#include "platform/system/paths.h"
#include "platform/system/process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Blocks of paths with saved and unsaved transformations, colours of each kind, text, marked
// content of a hidden group, a graphics state, clips, and fills met by strokes of the same path;
// `layer` opens marked content around the first half.
std::string Content(const char* layer = nullptr, bool inlineImage = false, bool broken = false) {
    std::string c = layer ? std::string(layer) + "\n" : std::string();
    char line[512];
    for (int i = 0; i < 300; ++i) {
        const double d = i * 1.37;
        std::snprintf(line, sizeof line,
                      "q 1 0 0 1 %.2f %.2f cm 0 0 m 10 0 l 10 10 l h S Q\n"
                      "%.3f %.3f 0.2 rg %.1f 5 m 15 15 l 15 5 l f\n"
                      "%.1f 5 m 15 15 l 15 5 l S\n"
                      "0.5 G 1 1 m 2 2 20 30 %.2f 7 c S\n"
                      "/DeviceCMYK cs 0 1 0 %.2f sc 3 3 m 4 4 l 4 3 l h B\n"
                      "BT /F1 12 Tf 10 10 Td (S f \\) q) Tj ET %% S Q\n"
                      "/OC /oc1 BDC 1 2 m 3 4 l S EMC /G1 gs\n"
                      "0 0 m 90 90 l 90 0 l h W n 2 2 m 8 8 l 8 2 l b*\n",
                      d, d / 2, (i % 10) / 10.0, (i % 7) / 7.0, d, d, d / 3, (i % 5) / 5.0);
        c += line;
        if (i % 40 == 39)
            c += "1 0 0 1 0.5 0.25 cm 0.1 0.2 0.3 RG\n";
        if (layer && i == 150)
            c += "Q EMC\n";
        if (broken && i == 200)
            c += "1 2 rg\n"; // too few operands: the reader stops the page here
        if (inlineImage && i == 250)
            c += "q 10 0 0 10 0 0 cm BI /W 2 /H 1 /BPC 8 /CS /G ID \x01S EI Q\n";
    }
    return c;
}

void WritePdf(const std::string& path, const std::string& content) {
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R /OCProperties << /OCGs [5 0 R] /D << /OFF [5 0 R] >> >> "
        ">>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 800] /Contents 4 0 R /Resources << "
        "/ExtGState << /G1 << /LW 2 >> >> /Properties << /oc1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
        "<< /Type /OCG /Name (hidden) >>",
    };
    std::string pdf = "%PDF-1.5\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < std::size(objects); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 6\n0000000000 65535 f \n";
    char entry[32];
    for (size_t offset : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << pdf;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The page as EPS from the helper, with parts of at least `partBytes` where it can cut.
std::string Convert(const std::string& pdf, const std::string& eps, const char* partBytes) {
    ::setenv("PDFLIBRARY_PART_BYTES", partBytes, 1);
    platform::ChildProcess helper;
    const bool started =
        helper.Start(platform::FolderOf(platform::ProgramFilePath()) + L"pdflibrary-helper",
                     {L"eps", CString::FromUtf8(pdf), L"1", CString::FromUtf8(eps)});
    ::unsetenv("PDFLIBRARY_PART_BYTES");
    if (!started || !(helper.Wait(60000), helper.Succeeded()))
        return "(conversion failed)";
    return Read(eps);
}

} // namespace

TEST(PageParts, ReadInPartsTheEpsIsTheWholeReadingsByteForByte) {
    char pattern[] = "/tmp/kelvane-parts-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    struct Page {
        const char* name;
        std::string content;
        bool cuts;
    } pages[] = {
        {"plain", Content(), true},
        // A hidden layer around the first half, its paths inside a clip and state of their
        // own: parts starting in it must hide their paths.
        {"layer", Content("/OC /oc1 BDC q 0 0 600 800 re W n 0.3 g 1 0 0 1 2 3 cm"), true},
        // Inline image data: not cut, read whole from the content already read.
        {"image", Content(nullptr, true), false},
        // An operator the reader cannot run ends the page there, parts after it too.
        {"broken", Content(nullptr, false, true), true},
    };
    for (const Page& page : pages) {
        const std::string pdf = dir + "/" + page.name + ".pdf";
        WritePdf(pdf, page.content);
        int parts = 0;
        EXPECT_EQ(PlanContentParts(page.content, 4, [&](ContentPart&&) { ++parts; }), page.cuts)
            << page.name;
        if (page.cuts) {
            EXPECT_EQ(parts, 4) << page.name;
        }
        const std::string whole = Convert(pdf, dir + "/whole.eps", "100000000");
        ASSERT_NE(whole.find("%%EOF"), std::string::npos) << page.name << whole;
        EXPECT_NE(whole.find("B\n"), std::string::npos); // fills met by their strokes are there
        for (const char* partBytes : {"64", "4096", "20000"})
            EXPECT_EQ(Convert(pdf, dir + "/parts.eps", partBytes), whole)
                << page.name << " " << partBytes;
    }
    std::filesystem::remove_all(dir);
}
