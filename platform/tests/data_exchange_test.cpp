#include "platform/framework/data_exchange.h"

#include "platform/framework/button.h"
#include "platform/framework/combo_box.h"
#include "platform/framework/edit.h"
#include "platform/framework/ip_address_ctrl.h"
#include "platform/framework/list_box.h"
#include "platform/windowing/message_box.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kTemplate = 9310;

void Register() {
    platform::RegisterDialogTemplate(
        DialogTemplate{kTemplate,
                       WS_POPUP | WS_CAPTION,
                       160,
                       120,
                       L"Exchange",
                       L"MS Sans Serif",
                       8,
                       {{100, WC_COMBOBOX, L"", CBS_DROPDOWNLIST, 5, 5, 60, 50},
                        {101, WC_COMBOBOX, L"", CBS_DROPDOWN, 5, 20, 60, 50},
                        {102, WC_LISTBOX, L"", LBS_NOTIFY, 70, 5, 60, 40},
                        {110, WC_BUTTON, L"A", BS_AUTORADIOBUTTON | WS_GROUP, 5, 50, 30, 10},
                        {111, WC_BUTTON, L"B", BS_AUTORADIOBUTTON, 5, 60, 30, 10},
                        {112, WC_BUTTON, L"C", BS_AUTORADIOBUTTON, 5, 70, 30, 10},
                        {120, WC_IPADDRESS, L"", WS_GROUP, 5, 85, 80, 12},
                        {IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON, 5, 100, 40, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", 0, 50, 100, 40, 14}}});
}

struct ExchangeDlg : CDialog {
    ExchangeDlg() : CDialog(kTemplate) {}
    CComboBox m_ports, m_edit;
    CListBox m_list;
    CIPAddressCtrl m_ip;
    CString m_port = L"com", m_editText = L"typed", m_item = L"b";
    int m_index = -1, m_radio = 2;
    DWORD m_address = MAKEIPADDRESS(10, 0, 0, 9);

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, 100, m_ports);
        DDX_Control(dx, 101, m_edit);
        DDX_Control(dx, 102, m_list);
        DDX_Control(dx, 120, m_ip);
        DDX_CBString(dx, 100, m_port);
        DDX_CBString(dx, 101, m_editText);
        DDX_LBStringExact(dx, 102, m_item);
        DDX_CBIndex(dx, 100, m_index);
        DDX_Radio(dx, 110, m_radio);
        DDX_IPAddress(dx, 120, m_address);
    }
};

TEST(DataExchange, ListsRadiosAndAddressesGoBothWays) {
    Register();
    struct Dlg : ExchangeDlg {
        // The lists are filled before the exchange, as dialogs do.
        BOOL OnInitDialog() override {
            m_ports.SubclassDlgItem(100, this);
            m_list.SubclassDlgItem(102, this);
            for (const wchar_t* s : {L"FILE", L"COM1", L"COM2"})
                m_ports.AddString(s);
            for (const wchar_t* s : {L"bb", L"B", L"a"})
                m_list.AddString(s);
            m_index = 1; // agrees with the port text exchanged before it
            return CDialog::OnInitDialog();
        }
    } dlg;
    CString shownPort, shownList;
    int shownRadio = -1;
    CString shownIp;
    platform::ScopedDialogResponder responder([&](HWND h, UINT) {
        CWnd* d = CWnd::FromHandle(h);
        d->GetDlgItemText(100, shownPort);
        CListBox* l = static_cast<CListBox*>(CWnd::FromHandlePermanent(GetDlgItem(h, 102)));
        l->GetText(l->GetCurSel(), shownList);
        shownRadio = platform::GetCheckedRadioButton(h, 110, 112);
        d->GetDlgItemText(120, shownIp);
        // The user's choices.
        platform::ChooseListItem(GetDlgItem(h, 100), 0);
        platform::ChooseListItem(GetDlgItem(h, 102), 2);
        SendDlgItemMessageW(h, 110, BM_CLICK, 0, 0);
        platform::EditIPAddressField(GetDlgItem(h, 120), 3, 44);
        SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownPort, L"COM1"); // the first entry that begins with the value
    EXPECT_EQ(shownList, L"B");    // exact, ignoring case: not "bb"
    EXPECT_EQ(shownRadio, 112);
    EXPECT_EQ(shownIp, L"10.0.0.9");
    EXPECT_EQ(dlg.m_port, L"FILE");
    EXPECT_EQ(dlg.m_index, 0);
    EXPECT_EQ(dlg.m_editText, L"typed"); // an editable combo keeps a text no entry has
    EXPECT_EQ(dlg.m_item, L"a");
    EXPECT_EQ(dlg.m_radio, 0);
    EXPECT_EQ(dlg.m_address, MAKEIPADDRESS(10, 0, 0, 44));
}

TEST(DataExchange, ControlClassesReadEntriesSafely) {
    Register();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"o", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    CComboBox combo;
    ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST, CRect(0, 0, 50, 50), &owner, 5));
    combo.AddString(L"9600");
    combo.SetItemData(0, 9600);
    CString text = L"stale";
    EXPECT_EQ(combo.GetLBText(3, text), CB_ERR);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(combo.GetLBText(0, text), 4);
    EXPECT_EQ(text, L"9600");
    EXPECT_EQ(combo.GetItemData(0), DWORD_PTR(9600));
    CButton radio;
    ASSERT_TRUE(radio.Create(L"r", BS_AUTORADIOBUTTON, CRect(0, 0, 5, 5), &owner, 6));
    radio.SetCheck(BST_CHECKED);
    EXPECT_EQ(radio.GetCheck(), BST_CHECKED);
    CIPAddressCtrl ip;
    ASSERT_TRUE(ip.Create(0, CRect(0, 0, 50, 10), &owner, 7));
    ip.SetAddress(1, 2, 3, 4);
    BYTE b[4];
    EXPECT_EQ(ip.GetAddress(b[0], b[1], b[2], b[3]), 4);
    EXPECT_EQ(b[0] + b[1] + b[2] + b[3], 10);
    EXPECT_EQ(b[0], 1);
}

constexpr UINT kNumbers = 9311;

struct NumberDlg : CDialog {
    NumberDlg() : CDialog(kNumbers) {}
    double m_width = 12.5, m_angle = 0.1;
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, 200, m_width);
        DDV_MinMaxDouble(dx, m_width, 0.01, 1000);
        DDX_Text(dx, 201, m_angle);
    }
};

// Doubles go both ways; text that is no number, or a number out of range, is refused with a
// message, and the focus stays in the box with its text selected.
TEST(DataExchange, DoublesAreCheckedAndABadBoxKeepsTheFocus) {
    platform::RegisterDialogTemplate(
        DialogTemplate{kNumbers,
                       WS_POPUP | WS_CAPTION,
                       120,
                       60,
                       L"Numbers",
                       L"MS Sans Serif",
                       8,
                       {{200, WC_EDIT, L"", WS_TABSTOP, 5, 5, 50, 12},
                        {201, WC_EDIT, L"", WS_TABSTOP, 5, 20, 50, 12},
                        {IDOK, WC_BUTTON, L"OK", BS_DEFPUSHBUTTON, 5, 40, 40, 14},
                        {IDCANCEL, WC_BUTTON, L"Cancel", 0, 50, 40, 40, 14}}});
    struct Case {
        const wchar_t* width;
        const wchar_t* message; // null: accepted
    } cases[] = {
        {L"abc", L"Please enter a number."},
        {L"", L"Please enter a number."},
        {L"12x", L"Please enter a number."},
        {L"1e999", L"Please enter a number."},
        {L"0", L"Please enter a number between 0.01 and 1000."},
        {L"1000.5", L"Please enter a number between 0.01 and 1000."},
        {L" 250.25 ", nullptr},
    };
    for (const Case& c : cases) {
        NumberDlg dlg;
        platform::MessageBoxResponder boxes;
        CString shownWidth, shownAngle;
        bool stayed = false;
        HWND focus = nullptr, box = nullptr;
        DWORD from = 9, to = 0;
        platform::ScopedDialogResponder responder([&](HWND h, UINT) {
            CWnd::FromHandle(GetDlgItem(h, 200))->GetWindowText(shownWidth);
            CWnd::FromHandle(GetDlgItem(h, 201))->GetWindowText(shownAngle);
            SetDlgItemTextW(h, 200, c.width);
            SendDlgItemMessageW(h, IDOK, BM_CLICK, 0, 0);
            stayed = !platform::IsDialogEnded(h);
            focus = GetFocus();
            box = GetDlgItem(h, 200);
            SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                         reinterpret_cast<LPARAM>(&to));
            if (stayed)
                SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
        });
        int result = int(dlg.DoModal());
        EXPECT_EQ(shownWidth, L"12.5");
        EXPECT_EQ(shownAngle, L"0.1"); // the shortest form, not 0.10000000000000001
        if (c.message) {
            EXPECT_EQ(result, IDCANCEL) << c.width;
            EXPECT_TRUE(stayed) << c.width;
            EXPECT_EQ(focus, box) << c.width;
            EXPECT_EQ(from, 0u) << c.width;
            EXPECT_EQ(to, std::wstring(c.width).size()) << c.width;
            ASSERT_EQ(boxes.Shown().size(), 1u) << c.width;
            EXPECT_EQ(boxes.Shown()[0].text, c.message);
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dlg.m_width, 250.25);
            EXPECT_TRUE(boxes.Shown().empty());
        }
    }
}

} // namespace
