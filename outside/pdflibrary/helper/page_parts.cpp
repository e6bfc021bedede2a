#include "page_parts.h"

#include "content_plan.h"
#include "eps_event_dev.h"
#include "pdf_source.h"

#include <Annot.h>
#include <Gfx.h>
#include <Page.h>
#include <Stream.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Larger decoded content is read whole: a compressed bomb is not held in memory.
constexpr size_t kMaxContentBytes = 256u << 20;
constexpr int kReadBlock = 1 << 16;

size_t MinPartBytes() {
    const char* v = std::getenv("PDFLIBRARY_PART_BYTES");
    if (!v || !*v)
        return kDefaultMinPartBytes;
    char* end = nullptr;
    const unsigned long long n = std::strtoull(v, &end, 10);
    return end && *end == 0 && n > 0 ? size_t(n) : kDefaultMinPartBytes;
}

// The page's one content stream, decoded; false when it has none, several or too much.
bool ReadContent(Page& page, std::string* content) {
    Object contents = page.getContents();
    if (!contents.isStream())
        return false;
    Stream* stream = contents.getStream();
    // One allocation for content stored plain (the usual large page); compressed grows from it.
    if (BaseStream* base = stream->getBaseStream())
        content->reserve(size_t(std::clamp<Goffset>(base->getLength(), 0, kMaxContentBytes)));
    stream->reset();
    std::vector<unsigned char> block(kReadBlock);
    int got;
    while ((got = stream->doGetChars(kReadBlock, block.data())) > 0) {
        if (content->size() + size_t(got) > kMaxContentBytes) {
            stream->close();
            return false;
        }
        content->append(reinterpret_cast<const char*>(block.data()), size_t(got));
    }
    stream->close();
    return true;
}

// What one part gathers: all of its events, kept for the writer.
class PartDev : public EpsEventDev {
public:
    const EpsEvents& Events() const { return m_events; }
};

// Reads one part with a document of its own, as Page::displaySlice reads a whole page: the page's
// drawing state saved around the content, the replayed state first with its drawing ignored.
void DrawPart(const char* path, int pageNum, const std::string& content, const ContentPart& part,
              bool first, EpsFormattedEvents* out) {
    PartDev dev;
    const PdfSource source(path);
    PDFDoc* doc = source.Document();
    Page* page = doc && pageNum <= doc->getNumPages() ? doc->getPage(pageNum) : nullptr;
    if (!page) {
        // The file changed under the helper: the page would come out without this part.
        out->damaged = true;
        return;
    }
    dev.SetPageEvents(first, false);
    std::unique_ptr<Gfx> gfx(page->createGfx(&dev, 72, 72, 0, true, false, -1, -1, -1, -1, false,
                                             nullptr, nullptr, nullptr));
    gfx->saveState();
    // One reading: the replayed state (its saved states must stay open for the part's Q, which
    // the reader allows only within one reading) and the marked content open at the part's
    // start, their drawing ignored up to the mark point that ends the replay, then the part.
    std::string text = part.preamble + part.marks + "/" + EpsEventDev::kEndOfReplay + " MP\n";
    text.append(content, part.begin, part.end - part.begin);
    text += "\n/";
    text += EpsEventDev::kEndOfPart;
    text += " MP\n";
    dev.SetMuted(true);
    Object body(
        static_cast<Stream*>(new MemStream(text.data(), 0, Goffset(text.size()), Object(objNull))));
    gfx->display(&body);
    gfx->restoreState();
    gfx.reset();
    // The numbers are written here too, beside the other parts.
    FormatEvents(dev.Events(), out);
    out->stopped = !dev.ReachedEnd();
}

} // namespace

bool DrawPageInParts(const char* path, PDFDoc& doc, int pageNum, EpsWriter& writer) {
    Page* page = doc.getPage(pageNum);
    if (!page)
        return false;
    Annots* annots = page->getAnnots();
    if (annots && !annots->getAnnots().empty())
        return false;
    std::string content;
    const size_t minPart = MinPartBytes();
    if (!ReadContent(*page, &content) || content.size() < 2 * minPart)
        return false;
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    const int parts =
        int(std::min<size_t>({size_t(kMaxParts), size_t(cores), content.size() / minPart}));

    // Each part is read in a thread of its own as soon as the scan has passed it; this thread
    // then writes the parts' events in order as they are done.
    struct Job {
        ContentPart part;
        EpsFormattedEvents events;
        std::thread thread;
    };
    std::vector<std::unique_ptr<Job>> jobs;
    auto start = [&](ContentPart&& part) {
        auto job = std::make_unique<Job>();
        job->part = std::move(part);
        const bool first = jobs.empty();
        try {
            job->thread = std::thread(DrawPart, path, pageNum, std::cref(content),
                                      std::cref(job->part), first, &job->events);
        } catch (const std::system_error&) {
            // Without a thread, the part is read here in its turn.
        }
        jobs.push_back(std::move(job));
    };
    if (!PlanContentParts(content, parts, start)) {
        // No safe cut after all: the content already read is read whole, here.
        for (auto& job : jobs)
            if (job->thread.joinable())
                job->thread.join();
        jobs.clear();
        auto whole = std::make_unique<Job>();
        whole->part = ContentPart{0, content.size(), {}, {}};
        jobs.push_back(std::move(whole));
    }
    for (size_t i = 0; i < jobs.size(); ++i) {
        Job& job = *jobs[i];
        if (job.thread.joinable())
            job.thread.join();
        else
            DrawPart(path, pageNum, content, job.part, i == 0, &job.events);
        writer.Take(job.events);
        // The whole reading would have stopped there too: the later parts are not the page's.
        if (job.events.stopped) {
            for (size_t later = i + 1; later < jobs.size(); ++later)
                if (jobs[later]->thread.joinable())
                    jobs[later]->thread.join();
            break;
        }
    }
    EpsEvents end;
    end.codes.push_back(EpsEvents::kEndPage);
    writer.Take(end);
    return true;
}
