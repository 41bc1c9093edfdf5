#include "CompanionTestSupport.h"

#include "DateTimeReader.h"
#include "NumberReader.h"
#include "TestFormats.h"

#include <QFile>

#include <stdexcept>

void RecordingObserver::setStatusText(int panel, const QString& text) {
    statuses.append(QString::number(panel) + QLatin1Char(':') + text);
}

MessageAnswer RecordingObserver::showMessage(const MessageBoxRequest& request) {
    messages.append(request);
    return request.buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
}

std::optional<QString> RecordingObserver::askReportFileName(const SaveDialogRequest& request) {
    saveRequests.append(request);
    return chosenFile;
}

namespace CompanionTest {

QDateTime today() {
    return QDateTime(QDate(2001, 3, 20), QTime(10, 0));
}

QByteArray crlf(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Compiled compile(const QStringList& lines, const FormatSettings& fmt) {
    Compiled c;
    c.rows.appendFile(crlf(lines), "Abnormal exit on last run", c.counters);
    c.tables.build(c.rows, NumberReader(fmt), DateTimeReader(fmt, 2001), c.counters);
    return c;
}

Compiled compile(const QStringList& lines) {
    return compile(lines, TestFormats::svSE());
}

} // namespace CompanionTest
