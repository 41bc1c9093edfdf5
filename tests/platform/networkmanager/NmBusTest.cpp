// Calls to NetworkManager as they leave: the answer of a call that does not
// wait arrives on the caller's thread, and a call that may need the user's
// authorization says so in its message flags (D-Bus header flag
// ALLOW_INTERACTIVE_AUTHORIZATION), while others never raise a prompt.

#include "NmBus.h"
#include "NmMock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

namespace {

// Stands in for NetworkManager's manager object and notes each call's flag.
class FlagRecorder : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager")

public:
    QList<bool> interactive;

public slots:
    QString Probe(const QDBusMessage& message) {
        interactive.append(message.isInteractiveAuthorizationAllowed());
        return QStringLiteral("answered");
    }
};

TEST(NmBus, CallsThatMayNeedAuthorizationAllowAPromptAndOthersDoNot) {
    NmMock bus(false);
    ASSERT_TRUE(bus.ready()) << bus.error().toStdString();
    QDBusConnection daemon =
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("fake-networkmanager"));
    FlagRecorder recorder;
    ASSERT_TRUE(daemon.registerService(Nm::kService));
    ASSERT_TRUE(daemon.registerObject(Nm::kPath, &recorder, QDBusConnection::ExportAllSlots));

    NmBus nm(bus.connection(), 3000);
    QObject context;
    QStringList answers;
    for (const NmBus::Auth auth : {NmBus::Auth::Interactive, NmBus::Auth::Silent}) {
        nm.callLater(
            Nm::kPath, Nm::kManagerIface, QStringLiteral("Probe"), {}, &context,
            [&answers](const QDBusMessage& reply) {
                answers.append(reply.arguments().value(0).toString());
            },
            auth);
    }
    const QDeadlineTimer deadline(30000);
    while (answers.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(answers, (QStringList{"answered", "answered"}));
    EXPECT_EQ(recorder.interactive, (QList<bool>{true, false}));
    EXPECT_EQ(nm.callsSent(), 2u);
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-networkmanager"));
}

} // namespace

#include "NmBusTest.moc"
