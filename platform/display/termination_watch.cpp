#include "platform/display/termination_watch.h"

#include "platform/system/termination_request.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

namespace platform::display {

void WatchTerminationRequests() {
    // Owned by the application object, so it goes with it.
    static QPointer<QSocketNotifier> notifier;
    const int fd = TerminationWakeFd();
    if (notifier && notifier->socket() == fd)
        return;
    delete notifier.data();
    if (fd < 0 || !QCoreApplication::instance())
        return;
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    // Delivering drains the pipe, so the notifier does not fire again for the same request.
    QObject::connect(notifier.data(), &QSocketNotifier::activated, [] {
        // An open menu runs a loop of Qt's own that the model cannot end: it closes first.
        while (QWidget* popup = QApplication::activePopupWidget())
            if (!popup->close())
                break;
        DeliverTerminationRequest();
    });
}

} // namespace platform::display
