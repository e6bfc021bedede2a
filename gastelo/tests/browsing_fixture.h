// Shared pieces of the browsing tests: a private settings and home folder per test, pages made
// as the document template makes them, and an item of one fixed rectangle.
#pragma once

#include "pivora/framework/app_params.h"
#include "pivora/item.h"
#include "pivora/jox_page.h"
#include "platform/core/archive.h"
#include "platform/core/mem_file.h"
#include "platform/system/app_registry.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class BrowsingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The sandbox's home folder as the application sees it (ending in a separator).
    CString Home() const;

    SettingsSandbox m_box;
    std::unique_ptr<CAppRegistry> m_app;
};

class CBrowseBoxItem : public CItem {
    DECLARE_SERIAL(CBrowseBoxItem)
public:
    CBrowseBoxItem() = default;
    explicit CBrowseBoxItem(const CWindow& box) : m_box(box) {}
    void Serialize(CArchive& ar) override;

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

std::unique_ptr<CJoxPage> NewPage();
CArticle* AddBox(CJoxPage& page, const CWindow& box);

// The bytes obj stores.
std::vector<BYTE> StoreBytes(CObject& obj);
// Loads obj from bytes; false when the archive reported damage.
bool LoadBytes(CObject& obj, const std::vector<BYTE>& bytes);
// Hex dump for failure messages.
std::string Hex(const std::vector<BYTE>& bytes);
