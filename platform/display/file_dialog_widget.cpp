#include "platform/display/file_dialog_widget.h"

#include "platform/display/presenter.h"
#include "platform/system/termination_request.h"
#include "platform/windowing/message.h"
#include "platform/windowing/window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QPointer>

namespace platform::display {

namespace {

QString ToQt(const std::wstring& s) {
    return QString::fromWCharArray(s.data(), qsizetype(s.size()));
}

HWND TopLevelWindow(HWND hwnd) {
    while (hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        hwnd = GetParent(hwnd);
    return hwnd;
}

} // namespace

QString QtNameFilter(const FileFilter& filter) {
    // Qt separates patterns by blanks, the filter pairs by ";".
    const QString raw = ToQt(filter.pattern);
    const QString bracketed = QLatin1Char('(') +
                              QString(raw).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                              QLatin1Char(')');
    QString description = ToQt(filter.description).trimmed();
    // A description that already names its patterns names them once.
    for (const QString& tail : {bracketed, QLatin1Char('(') + raw + QLatin1Char(')')})
        if (description.endsWith(tail)) {
            description.chop(tail.size());
            description = description.trimmed();
            break;
        }
    return description.isEmpty() ? bracketed : description + QLatin1Char(' ') + bracketed;
}

bool ShowFileDialog(HWND owner, FileDialogState& state) {
    HWND top = TopLevelWindow(owner);
    Presenter* presenter = Presenter::Instance();
    // A window of its own above the owner, not its child: the owner is disabled while the
    // dialog runs, and a child would be disabled with it.
    QPointer<QFileDialog> dialog = new QFileDialog(nullptr, ToQt(state.title));
    if (presenter)
        presenter->OwnTopLevel(dialog, top);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The class library asks before replacing a file itself.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setAcceptMode(state.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(!state.open         ? QFileDialog::AnyFile
                        : state.multiSelect ? QFileDialog::ExistingFiles
                                            : QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileFilter& f : state.filters)
        filters << QtNameFilter(f);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        const int index = state.filterIndex >= 1 && state.filterIndex <= filters.size()
                              ? state.filterIndex - 1
                              : 0;
        dialog->selectNameFilter(filters[index]);
    }
    if (!state.folder.empty())
        dialog->setDirectory(ToQt(state.folder));
    if (!state.fileName.empty())
        dialog->selectFile(ToQt(state.fileName));
    QCheckBox* check = nullptr;
    if (state.checkId && !state.checkHidden) {
        check = new QCheckBox(ToQt(state.checkText), dialog);
        check->setChecked(state.checked);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
            grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
    }
    dialog->setWindowModality(Qt::ApplicationModal);

    // The owner is disabled while the dialog is up, as for every modal dialog of the model.
    const bool disabled = top && IsWindowEnabled(top);
    if (disabled)
        EnableWindow(top, FALSE);
    bool done = false;
    QObject::connect(dialog, &QFileDialog::finished, dialog, [&done] { done = true; });
    dialog->show();
    platform::ModalLoopScope modal;
    while (!done && dialog) {
        if (platform::TerminationPending())
            break; // the program is told to end: the dialog ends as cancelled
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The quit belongs to the main loop; the dialog ends as cancelled.
                PostQuitMessage(int(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else if (!WaitMessage()) {
            break;
        }
    }
    bool ok = false;
    if (dialog && done && dialog->result() == QDialog::Accepted) {
        for (const QString& path : dialog->selectedFiles())
            state.chosen.push_back(path.toStdWString());
        const qsizetype index = filters.indexOf(dialog->selectedNameFilter());
        if (index >= 0)
            state.filterIndex = int(index) + 1;
        if (check)
            state.checked = check->isChecked();
        ok = !state.chosen.empty();
    }
    if (disabled && IsWindow(top))
        EnableWindow(top, TRUE);
    delete dialog.data();
    if (presenter)
        presenter->GiveActivationBack(top);
    return ok;
}

} // namespace platform::display
