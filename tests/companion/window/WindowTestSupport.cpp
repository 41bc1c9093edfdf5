#include "WindowTestSupport.h"

#include "CompanionSettings.h"
#include "TestFormats.h"

#include <QFile>
#include <QTimeZone>

namespace WindowTest {

QDateTime today() {
    return QDateTime(QDate(2001, 3, 20), QTime(10, 0));
}

void writeLog(const QString& path, const QStringList& lines) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    for (const QString& line : lines)
        f.write(line.toUtf8() + "\r\n");
}

QStringList sampleLines() {
    return {QStringLiteral("anna;2001-02-03;10:00:00;12;3.40;1,00;2,00;Office"),
            QStringLiteral("bob;2001-02-04;11:00:00;30;6,60;1,50;2,50;Home"),
            QStringLiteral("anna;2001-03-05;12:00:00;18;10,00;1,20;3,00;Home")};
}

Rig::Rig() : clock(today()) {}

CompanionServices Rig::services() {
    return CompanionServices{store,
                             clock,
                             TestFormats::svSE(),
                             QLocale(QStringLiteral("sv_SE")),
                             dialogs,
                             help,
                             printer,
                             QStringLiteral("/opt/companion")};
}

std::unique_ptr<TfrmMain> Rig::window() {
    return std::make_unique<TfrmMain>(services());
}

void Rig::setSlot(int n, const QString& path) {
    store.writeValue(RegRoot::CurrentUser, kLogFilesKey, QStringLiteral("Log file %1").arg(n),
                     RegValue::fromString(path));
}

QString Rig::read(RegRoot root, const QString& key, const QString& name) const {
    const auto v = store.readValue(root, key, name);
    return v ? v->text : QString();
}

} // namespace WindowTest
