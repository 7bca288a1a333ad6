#include "shell/keep_awake.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace shell {

namespace {

constexpr int kBusTimeoutMs = 300;

QDBusMessage screenSaverCall(const char* method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), QString::fromLatin1(method));
}

}  // namespace

void KeepAwake::request(bool on)
{
    if (on == held_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (on) {
        QDBusMessage call = screenSaverCall("Inhibit");
        call << QStringLiteral("Quendrolt") << QStringLiteral("A long computation is running");
        QDBusMessage reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
            cookie_ = reply.arguments().first().toUInt();
            held_ = true;
        }
    } else {
        QDBusMessage call = screenSaverCall("UnInhibit");
        call << cookie_;
        bus.call(call, QDBus::NoBlock);
        held_ = false;
    }
}

}  // namespace shell
