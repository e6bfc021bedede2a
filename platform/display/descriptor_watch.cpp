#include "platform/display/descriptor_watch.h"

#include "platform/windowing/message.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

#include <map>

namespace platform::display {

namespace {

std::map<int, QPointer<QSocketNotifier>>& Watches() {
    static std::map<int, QPointer<QSocketNotifier>> watches;
    return watches;
}

bool Watch(const DescriptorWatch& watch, bool add) {
    auto& watches = Watches();
    if (auto it = watches.find(watch.fd); it != watches.end()) {
        delete it->second.data();
        watches.erase(it);
    }
    if (!add)
        return true;
    if (!QCoreApplication::instance())
        return false;
    auto* notifier =
        new QSocketNotifier(watch.fd, QSocketNotifier::Read, QCoreApplication::instance());
    const HWND hwnd = watch.hwnd;
    const UINT msg = watch.msg;
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, hwnd, msg] {
        // Level-triggered: it fires again until the model has read, which happens after the
        // wait returns.
        notifier->setEnabled(false);
        PostMessageW(hwnd, msg, 0, 0);
    });
    watches[watch.fd] = notifier;
    return true;
}

} // namespace

void InstallDescriptorWatcher(bool install) {
    if (!install) {
        for (auto& [fd, notifier] : Watches())
            delete notifier.data();
        Watches().clear();
    }
    SetDescriptorWatcher(install ? Watch : nullptr);
}

void RearmDescriptorWatches() {
    for (auto& [fd, notifier] : Watches())
        if (notifier && !notifier->isEnabled())
            notifier->setEnabled(true);
}

} // namespace platform::display
