// A design, an installed DM/PL cutter writing to the file port, and a media manager bound to
// it, for the send's tests: what the cutter received is read back from the home folder.
#pragma once

#include "maltrec/send_to_cutter.h"

#include "design/design_page.h"
#include "hobrand/media_manager_blk.h"
#include "pivora/tests/app_settings_fixture.h"
#include "platform/windowing/message_box.h"
#include "vector/vector_article.h"

#include <memory>
#include <mutex>
#include <string>
#include <thread>

// Reaches the set-up steps the media manager's dialog takes.
class CTestMedium : public CMediaManagerBlk {
public:
    CTestMedium(const CString& device, const CWindow& sheet);
    // Ends the cutter's document and starts a new one, on the port the cutter now names.
    void Reopen() {
        _fnDocEnd();
        _fnDocStart();
    }
};

// A network cutter on 127.0.0.1: keeps every byte of every connection.
class CLoopbackCutter {
public:
    CLoopbackCutter();
    ~CLoopbackCutter();
    CLoopbackCutter(const CLoopbackCutter&) = delete;
    CLoopbackCutter& operator=(const CLoopbackCutter&) = delete;
    int Port() const { return m_port; }
    // Everything received once the program has closed its connections (or after 5 s).
    std::string Received();

private:
    void Run();
    int m_listen = -1;
    int m_port = 0;
    std::mutex m_mutex;
    std::string m_received;
    int m_open = 0;
    std::thread m_thread;
};

class SendTest : public AppSettingsTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A closed square path of side `size` at (x, y), of colour rgb, under parent (the root).
    CVectorArticle* AddSquare(int x, int y, int size, COLORREF rgb, CArticle* parent = nullptr);
    std::string Output() const;
    // The design as a file would hold it.
    std::vector<BYTE> Saved();

    std::unique_ptr<CDesignPage> m_design;
    std::unique_ptr<CDesignPage> m_sheetPage;
    CTestMedium* m_medium = nullptr;
    std::unique_ptr<platform::MessageBoxResponder> m_boxes;
};
