#include "platform/display/list_view_widget.h"

#include "display_fixture.h"

#include "platform/windowing/list_view.h"

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

#include <string>

namespace {

using ListViewWidgetTest = DisplayTest;

HWND MakeList(HWND parent) {
    HWND list = CreateWindowExW(
        0, WC_LISTVIEW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL, 10, 10, 290, 120,
        parent, reinterpret_cast<HMENU>(intptr_t(7)), nullptr, nullptr);
    const wchar_t* titles[] = {L"Device", L"Address"};
    const int widths[] = {95, 190};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW c;
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<LPWSTR>(titles[i]);
        c.cx = widths[i];
        SendMessageW(list, LVM_INSERTCOLUMNW, WPARAM(i), reinterpret_cast<LPARAM>(&c));
    }
    return list;
}

// Rows go in at the top, as the detection list inserts them.
void AddRowOnTop(HWND list, const wchar_t* device, const wchar_t* address) {
    LVITEMW item;
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<LPWSTR>(device);
    const int row = int(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.iSubItem = 1;
    item.pszText = const_cast<LPWSTR>(address);
    SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

void Select(HWND list, int row) {
    LVITEMW item;
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

int Selected(HWND list) {
    return int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

std::string Shown(HWND list) {
    std::string out;
    for (const std::wstring& row : platform::display::ListViewRowsShown(list))
        out += QString::fromStdWString(row).toStdString() + ";";
    return out;
}

TEST_F(ListViewWidgetTest, ShowsTheColumnsRowsAndTheModelsSelection) {
    HWND frame = MakeWindow(320, 160);
    HWND list = MakeList(frame);
    AddRowOnTop(list, L"Shop", L"10.0.0.7");
    AddRowOnTop(list, L"", L"USB2");
    Select(list, 1);
    Pump();
    auto* t = qobject_cast<QTreeWidget*>(Widget(list));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->headerItem()->text(0), QStringLiteral("Device"));
    EXPECT_EQ(t->headerItem()->text(1), QStringLiteral("Address"));
    EXPECT_EQ(t->columnWidth(0), 95);
    EXPECT_EQ(t->columnWidth(1), 190);
    EXPECT_EQ(t->geometry(), QRect(10, 10, 290, 120));
    EXPECT_EQ(Shown(list), "|USB2;Shop|10.0.0.7*;");

    // The widget keeps following the model: a new row, another selection, an emptied list.
    AddRowOnTop(list, L"Wide", L"10.0.0.9");
    Select(list, 0);
    Pump();
    EXPECT_EQ(Shown(list), "Wide|10.0.0.9*;|USB2;Shop|10.0.0.7;");
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    Pump();
    EXPECT_EQ(t->topLevelItemCount(), 0);
}

TEST_F(ListViewWidgetTest, AClickOrAKeyChoosesTheRowInTheModel) {
    HWND frame = MakeWindow(320, 160);
    HWND list = MakeList(frame);
    for (const wchar_t* a : {L"10.0.0.1", L"10.0.0.2", L"10.0.0.3"})
        AddRowOnTop(list, L"Net", a);
    Select(list, 0);
    Pump();
    auto* t = qobject_cast<QTreeWidget*>(Widget(list));
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(platform::display::ClickListViewRow(list, 3));
    ASSERT_TRUE(platform::display::ClickListViewRow(list, 2));
    Pump();
    EXPECT_EQ(Selected(list), 2);
    EXPECT_EQ(int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)), 2);
    EXPECT_EQ(int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(2), LVNI_SELECTED)), -1);
    EXPECT_EQ(Shown(list), "Net|10.0.0.3;Net|10.0.0.2;Net|10.0.0.1*;");

    t->setFocus();
    QTest::keyClick(t, Qt::Key_Up);
    Pump();
    EXPECT_EQ(Selected(list), 1);
}

} // namespace
