// Small designs for the page tests: a box item with fixed extents, and a page built with
// nested articles, items, blocks, transform effects and named values.
#pragma once

#include "pivora/framework/app_params.h"
#include "pivora/item.h"
#include "pivora/jox_page.h"
#include "platform/tests/settings_sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A test with its own hives, home and program folders and empty parameter caches.
class DesignTest : public ::testing::Test {
protected:
    void SetUp() override { QvResetAppParamCache(); }
    void TearDown() override { QvResetAppParamCache(); }
    SettingsSandbox m_box;
};

// An item whose geometry is one stored rectangle.
class CBoxTestItem : public CItem {
    DECLARE_SERIAL(CBoxTestItem)
public:
    CBoxTestItem() = default;
    explicit CBoxTestItem(const CWindow& box) : m_box(box) {}
    void Serialize(CArchive& ar) override;

protected:
    CWindow RecalcExtents() override { return m_box; }

private:
    CWindow m_box;
};

// A block whose store fails halfway, to make a save fail.
class CFailingTestBlock : public CParamBlk {
    DECLARE_SERIAL(CFailingTestBlock)
public:
    CFailingTestBlock() : CParamBlk(99) {}
    void Serialize(CArchive& ar) override;
};

// A page made the way the document template makes one.
std::unique_ptr<CJoxPage> NewPage();

// Adds an article with a box item below parent (the page's root when null).
CArticle* AddBox(CJoxPage& page, CArticle* parent, const CWindow& box,
                 const wchar_t* name = nullptr);

// A page with a second root, nested groups, items, a palette, a comment block, a transform
// effect and named values.
std::unique_ptr<CJoxPage> BuildSampleDesign();

std::vector<BYTE> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);
