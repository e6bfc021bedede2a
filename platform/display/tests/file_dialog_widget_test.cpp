// The file dialog on the offscreen display, driven as a person would: the name typed, the
// filter chosen, the box ticked, OK or Cancel.
#include "platform/display/file_dialog_widget.h"

#include "display_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using platform::FileDialogState;

QFileDialog* ShownFileDialog() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QFileDialog*>(top); d && d->isVisible())
            return d;
    return nullptr;
}

// Acts on the dialog once Qt's loop runs inside the dialog's own loop.
void WhenShown(std::function<void(QFileDialog*)> act) {
    QTimer::singleShot(10, [act] {
        if (QFileDialog* d = ShownFileDialog())
            act(d);
        else
            WhenShown(act);
    });
}

struct Folder {
    std::filesystem::path path;
    Folder() {
        char pattern[] = "/tmp/kelvane-file-dialog-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

using FileDialogWidgetTest = DisplayTest;

TEST(FileDialogWidget, FilterPairsBecomeQtNameFilters) {
    const struct {
        const wchar_t* description;
        const wchar_t* pattern;
        const char* expected;
    } cases[] = {
        {L"PDF (*.pdf)", L"*.pdf", "PDF (*.pdf)"},
        {L"Designs", L"*.kdx", "Designs (*.kdx)"},
        {L"Vector (*.ai;*.eps)", L"*.ai;*.eps", "Vector (*.ai *.eps)"},
        {L"Pictures", L"*.bmp;*.png", "Pictures (*.bmp *.png)"},
        {L"", L"*.*", "(*.*)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::display::QtNameFilter({c.description, c.pattern}).toStdString(),
                  c.expected);
}

TEST_F(FileDialogWidgetTest, SaveModeTakesTheTypedNameTheFilterAndTheBox) {
    HWND owner = MakeWindow(300, 200);
    Folder dir;
    FileDialogState state;
    state.open = false;
    state.title = L"Save As";
    state.folder = dir.path.wstring();
    state.fileName = L"logo.pdf";
    state.filters = {{L"PDF (*.pdf)", L"*.pdf"}, {L"All Files (*.*)", L"*.*"}};
    state.filterIndex = 2;
    state.checkId = 1000;
    state.checkText = L"Keep the layers";
    bool ownerDisabled = false, proposedName = false, savesWithFilter = false;
    WhenShown([&](QFileDialog* d) {
        ownerDisabled = !IsWindowEnabled(owner);
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        proposedName = name && name->text() == QStringLiteral("logo.pdf");
        savesWithFilter = d->acceptMode() == QFileDialog::AcceptSave &&
                          d->selectedNameFilter() == QStringLiteral("All Files (*.*)");
        auto* box = d->findChild<QCheckBox*>();
        if (box)
            box->setChecked(true);
        d->selectNameFilter(QStringLiteral("PDF (*.pdf)"));
        d->grab().save(QString::fromUtf8(TEST_BINARY_DIR) +
                       QStringLiteral("/file_dialog_save.png"));
        if (name)
            name->setText(QStringLiteral("sign board.pdf"));
        QMetaObject::invokeMethod(d, "accept"); // the OK button's slot
    });
    ASSERT_TRUE(platform::RunFileDialog(owner, state));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(proposedName);
    EXPECT_TRUE(savesWithFilter);
    ASSERT_EQ(state.chosen.size(), 1u);
    EXPECT_EQ(state.chosen[0], (dir.path / L"sign board.pdf").wstring());
    EXPECT_EQ(state.filterIndex, 1);
    EXPECT_TRUE(state.checked);
    EXPECT_EQ(ShownFileDialog(), nullptr);
}

TEST_F(FileDialogWidgetTest, OpenModeGivesSeveralFilesAndCancelGivesNone) {
    HWND owner = MakeWindow(300, 200);
    Folder dir;
    for (const char* name : {"a.eps", "b.eps"})
        std::ofstream(dir.path / name) << "x";
    FileDialogState state;
    state.multiSelect = true;
    state.folder = dir.path.wstring();
    state.filters = {{L"EPS", L"*.eps"}};
    WhenShown([&](QFileDialog* d) {
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFiles);
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
            ->setText(QStringLiteral("\"a.eps\" \"b.eps\""));
        QMetaObject::invokeMethod(d, "accept"); // the OK button's slot
    });
    ASSERT_TRUE(platform::RunFileDialog(owner, state));
    ASSERT_EQ(state.chosen.size(), 2u);
    EXPECT_EQ(state.chosen[1], (dir.path / L"b.eps").wstring());

    WhenShown([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(platform::RunFileDialog(owner, state));
    EXPECT_TRUE(state.chosen.empty());
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// The open dialog as the program shows it: its five filters and the template box, shown or
// hidden. For a person to look at: file_dialog_open.png.
TEST_F(FileDialogWidgetTest, OpenModeShowsTheExtraBoxUnlessHidden) {
    HWND owner = MakeWindow(300, 200);
    Folder dir;
    std::ofstream(dir.path / "logo.eps") << "x";
    for (bool hidden : {false, true}) {
        FileDialogState state;
        state.multiSelect = true;
        state.title = L"Open";
        state.folder = dir.path.wstring();
        state.filters = {{L"--All files-- (*.*)", L"*.*"},
                         {L"Adobe Illustrator (*.ai)", L"*.ai"},
                         {L"Encapsulated PostScript (*.eps)", L"*.eps"},
                         {L"KDX Design File (*.kdx)", L"*.kdx"},
                         {L"Portable Document Format (*.pdf)", L"*.pdf"}};
        state.filterIndex = 3;
        state.checkId = 1000;
        state.checkText = L"Choose Template";
        state.checked = hidden;
        state.checkHidden = hidden;
        bool boxShown = !hidden;
        WhenShown([&](QFileDialog* d) {
            auto* box = d->findChild<QCheckBox*>();
            boxShown = box && box->isVisible();
            if (box && !hidden)
                box->setChecked(true);
            if (!hidden)
                d->grab().save(QString::fromUtf8(TEST_BINARY_DIR) +
                               QStringLiteral("/file_dialog_open.png"));
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("logo.eps"));
            QMetaObject::invokeMethod(d, "accept");
        });
        ASSERT_TRUE(platform::RunFileDialog(owner, state)) << hidden;
        EXPECT_EQ(boxShown, !hidden);
        EXPECT_TRUE(state.checked) << hidden;
        EXPECT_EQ(state.filterIndex, 3) << hidden;
        ASSERT_EQ(state.chosen.size(), 1u);
        EXPECT_EQ(state.chosen[0], (dir.path / L"logo.eps").wstring());
    }
}

} // namespace
