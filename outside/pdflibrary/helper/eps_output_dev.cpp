#include "eps_output_dev.h"

#include <GfxState.h>

#include <system_error>

namespace {

// Events go to the writer in batches of about this many numbers.
constexpr size_t kBatchNumbers = 8192;
// The reader waits when this many batches are waiting (it is the slower side anyway).
constexpr size_t kMaxWaitingBatches = 64;

} // namespace

EpsOutputDev::EpsOutputDev(FILE* out) : m_writer(out) {
    m_events.numbers.reserve(kBatchNumbers + 64);
    try {
        m_thread = std::thread([this] { WriterLoop(); });
    } catch (const std::system_error&) {
        // No thread: the events are written as they are handed over.
    }
}

EpsOutputDev::~EpsOutputDev() {
    StopWriter();
}

void EpsOutputDev::WriterLoop() {
    for (;;) {
        EpsEvents batch;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_full.empty() || m_done; });
            if (m_full.empty())
                return;
            batch = std::move(m_full.front());
            m_full.pop_front();
        }
        m_changed.notify_all();
        m_writer.Take(batch);
        batch.Clear();
        std::lock_guard lock(m_mutex);
        m_empty.push_back(std::move(batch));
    }
}

void EpsOutputDev::Hand() {
    if (m_events.Empty())
        return;
    if (!m_thread.joinable()) {
        m_writer.Take(m_events);
        m_events.Clear();
        return;
    }
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_full.size() < kMaxWaitingBatches; });
        m_full.push_back(std::move(m_events));
        if (m_empty.empty()) {
            m_events = EpsEvents();
            m_events.numbers.reserve(kBatchNumbers + 64);
        } else {
            m_events = std::move(m_empty.front());
            m_empty.pop_front();
        }
    }
    m_changed.notify_all();
}

void EpsOutputDev::StopWriter() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool EpsOutputDev::Finish() {
    Hand();
    StopWriter();
    return m_writer.Finish();
}

void EpsOutputDev::startPage(int, GfxState* state, XRef*) {
    m_events.codes.push_back(EpsEvents::kStartPage);
    m_events.numbers.push_back(state ? state->getPageWidth() : 0);
    m_events.numbers.push_back(state ? state->getPageHeight() : 0);
}

void EpsOutputDev::endPage() {
    m_events.codes.push_back(EpsEvents::kEndPage);
    Hand();
}

// The path as the writer writes it: its colour, then each subpath of two points or more as
// its start, its lines and curves, and its closing; the points on the page.
void EpsOutputDev::AddPath(GfxState* state, bool fill) {
    std::vector<uint8_t>& codes = m_events.codes;
    std::vector<double>& numbers = m_events.numbers;
    codes.push_back(fill ? EpsEvents::kFill : EpsEvents::kStroke);

    GfxColorSpace* space = fill ? state->getFillColorSpace() : state->getStrokeColorSpace();
    const GfxColor* colour = fill ? state->getFillColor() : state->getStrokeColor();
    const GfxColorSpaceMode mode = space ? space->getMode() : csDeviceGray;
    if (!space) {
        codes.push_back(EpsEvents::kNoColour);
    } else if (mode == csDeviceGray || mode == csCalGray) {
        GfxGray gray;
        space->getGray(colour, &gray);
        codes.push_back(EpsEvents::kGray);
        numbers.push_back(colToDbl(gray));
    } else if (mode == csDeviceCMYK || (mode == csICCBased && space->getNComps() == 4)) {
        GfxCMYK cmyk;
        space->getCMYK(colour, &cmyk);
        codes.push_back(EpsEvents::kCmyk);
        for (GfxColorComp c : {cmyk.c, cmyk.m, cmyk.y, cmyk.k})
            numbers.push_back(colToDbl(c));
    } else {
        GfxRGB rgb;
        space->getRGB(colour, &rgb);
        codes.push_back(EpsEvents::kRgb);
        for (GfxColorComp c : {rgb.r, rgb.g, rgb.b})
            numbers.push_back(colToDbl(c));
    }

    if (const GfxPath* path = state->getPath()) {
        auto point = [&](const GfxSubpath* sub, int i) {
            double x, y;
            state->transform(sub->getX(i), sub->getY(i), &x, &y);
            numbers.push_back(x);
            numbers.push_back(y);
        };
        for (int s = 0; s < path->getNumSubpaths(); ++s) {
            const GfxSubpath* sub = path->getSubpath(s);
            const int n = sub->getNumPoints();
            if (n < 2)
                continue;
            codes.push_back(EpsEvents::kMove);
            point(sub, 0);
            for (int i = 1; i < n;) {
                if (sub->getCurve(i) && i + 2 < n) {
                    codes.push_back(EpsEvents::kCurve);
                    point(sub, i);
                    point(sub, i + 1);
                    point(sub, i + 2);
                    i += 3;
                } else {
                    codes.push_back(EpsEvents::kLine);
                    point(sub, i);
                    ++i;
                }
            }
            if (sub->isClosed())
                codes.push_back(EpsEvents::kClose);
        }
    }
    codes.push_back(EpsEvents::kPathEnd);
    if (numbers.size() >= kBatchNumbers)
        Hand();
}

void EpsOutputDev::fill(GfxState* state) {
    AddPath(state, true);
}

void EpsOutputDev::stroke(GfxState* state) {
    AddPath(state, false);
}
