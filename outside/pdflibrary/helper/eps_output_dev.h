// An output device that writes a page's path drawing as EPS in the small vocabulary the
// program's PostScript import reads: m l c closepath, painted with S, F or B, colours g/G,
// k/K (CMYK) and Xa/XA (RGB). Clips, images, shadings and text drawn with fonts are left out.
// The reader only gathers the paths and colours; a second thread of the helper writes the
// text (EpsWriter) while the reader goes on.
#pragma once

#include "eps_event_dev.h"
#include "eps_events.h"
#include "eps_writer.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

class EpsOutputDev : public EpsEventDev {
public:
    explicit EpsOutputDev(FILE* out);
    ~EpsOutputDev() override;

    // Waits for the writer and hands the file what is still held; false when any write failed.
    bool Finish();

protected:
    // Hands the gathered events to the writer (to its thread, or at once without one) once
    // there are enough of them, or at the page's end.
    void Hand() override;

private:
    void HandNow();
    void WriterLoop();
    void StopWriter();

    EpsWriter m_writer;
    // Gathered events waiting for the writer's thread, and emptied ones for reuse.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<EpsEvents> m_full;
    std::deque<EpsEvents> m_empty;
    bool m_done = false;
    std::thread m_thread;
};
