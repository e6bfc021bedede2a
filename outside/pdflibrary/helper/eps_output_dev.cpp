#include "eps_output_dev.h"

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
    if (m_events.numbers.size() >= kBatchNumbers ||
        (!m_events.codes.empty() && m_events.codes.back() == EpsEvents::kEndPage))
        HandNow();
}

void EpsOutputDev::HandNow() {
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
    HandNow();
    StopWriter();
    return m_writer.Finish();
}
