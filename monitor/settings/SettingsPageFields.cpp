#include "SettingsPageFields.h"

#include "IntlStrings.h"
#include "PopSecurity.h"

#include <QRegularExpression>

#include <functional>
#include <vector>

namespace {

struct Field {
    int label; // a string id; 0 for a label of its own
    std::function<QString(const SettingsValues&)> get;
    std::function<void(SettingsValues&, const QString&)> set;
};

Field text(int label, QString SettingsValues::*member) {
    return {label, [member](const SettingsValues& v) { return v.*member; },
            [member](SettingsValues& v, const QString& s) {
                v.*member = s;
            }};
}

Field flag(int label, bool SettingsValues::*member) {
    return {label,
            [member](const SettingsValues& v) {
                return v.*member ? QStringLiteral("true") : QStringLiteral("false");
            },
            [member](SettingsValues& v, const QString& s) {
                if (s == QLatin1String("true") || s == QLatin1String("false"))
                    v.*member = s == QLatin1String("true");
            }};
}

// An index into list, given as the entry or as its number.
void choose(int& index, const QStringList& list, const QString& s) {
    bool number = false;
    const int n = s.toInt(&number);
    if (list.contains(s))
        index = int(list.indexOf(s));
    else if (number && n >= 0 && n < list.size())
        index = n;
}

Field entryField() {
    return {4020, [](const SettingsValues& v) { return v.entries.value(v.entry); },
            [](SettingsValues& v, const QString& s) {
                choose(v.entry, v.entries, s);
            }};
}

Field mailClientField() {
    return {8170, [](const SettingsValues& v) { return v.mailClient; },
            [](SettingsValues& v, const QString& s) {
                v.mailClient = s;
                if (!v.mailClients.contains(s))
                    v.mailClients << s;
            }};
}

Field securityField() {
    return {8430, [](const SettingsValues& v) { return v.popSecurity; },
            [](SettingsValues& v, const QString& s) {
                if (const auto security = PopSecurityText::parse(s))
                    v.popSecurity = PopSecurityText::name(*security);
            }};
}

Field timeoutField() {
    return {8370, [](const SettingsValues& v) { return QString::number(v.popTimeout); },
            [](SettingsValues& v, const QString& s) {
                bool ok = false;
                const int seconds = s.toInt(&ok);
                if (ok && seconds >= 1 && seconds <= 10)
                    v.popTimeout = seconds;
            }};
}

Field languageField() {
    return {1560, [](const SettingsValues& v) { return QString::number(v.language); },
            [](SettingsValues& v, const QString& s) {
                choose(v.language, IntlStrings::languageList(), s);
            }};
}

std::vector<Field> fieldsOf(SettingsPage page) {
    using V = SettingsValues;
    switch (page) {
    case SettingsPage::TimeAndCost:
        return {flag(1320, &V::showCost), flag(1330, &V::oneRate), text(1350, &V::rate),
                flag(1360, &V::resetEachMonth)};
    case SettingsPage::Dialdart:
        return {entryField(), text(4030, &V::runProgram), flag(4040, &V::dialdartIcon),
                flag(4080, &V::oneClick)};
    case SettingsPage::Mail:
        return {flag(8130, &V::monitorMail),
                text(8140, &V::popHost),
                text(8150, &V::popUser),
                text(8160, &V::popPassword),
                mailClientField(),
                securityField(),
                timeoutField()};
    case SettingsPage::Warnings:
        return {flag(1380, &V::timeWarning), text(1420, &V::warningTime),
                flag(1390, &V::costWarning), text(0, &V::warningCost),
                text(1410, &V::warningMessage)};
    case SettingsPage::Chimes:
        return {flag(1580, &V::chime), text(1430, &V::chimePeriod), flag(1440, &V::remindBox),
                text(1590, &V::chimeFile)};
    case SettingsPage::Administration:
        return {text(1530, &V::userTime),        text(1540, &V::userCost),
                text(1600, &V::pcTime),          text(1610, &V::pcCost),
                flag(6010, &V::protectSettings), flag(6020, &V::protectExit)};
    case SettingsPage::FileLog:
        return {text(1500, &V::logFile)};
    case SettingsPage::Options:
        return {languageField(), flag(3270, &V::autoload), flag(7120, &V::monitorXfer)};
    }
    return {};
}

// Shortcut marks out, trailing blanks and colons too: a label, not a caption.
QString plain(QString caption) {
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
    while (caption.endsWith(QLatin1Char(' ')) || caption.endsWith(QLatin1Char(':')) ||
           caption.endsWith(QChar(0xa0)))
        caption.chop(1);
    return caption;
}

} // namespace

namespace SettingsPageFields {

QString pageName(SettingsPage page) {
    static const char* const kNames[kSettingsPageCount] = {
        "TimeAndCost", "Dialdart",       "Mail",    "Warnings",
        "Chimes",      "Administration", "FileLog", "Options"};
    return QString::fromLatin1(kNames[int(page)]);
}

QStringList labels(SettingsPage page, const IntlStrings& intl, const QString& currency) {
    QStringList out;
    // The cost limit's unit is the currency; a locale without one names the
    // limit by its check box.
    const QString amount = currency.isEmpty() ? plain(intl.IntlStr(1390)) : currency;
    for (const Field& f : fieldsOf(page))
        out << (f.label ? plain(intl.IntlStr(f.label)) : amount);
    return out;
}

QStringList values(SettingsPage page, const SettingsValues& values) {
    QStringList out;
    for (const Field& f : fieldsOf(page))
        out << f.get(values);
    return out;
}

QList<int> passwordFields(SettingsPage page) {
    return page == SettingsPage::Mail ? QList<int>{3} : QList<int>{};
}

void apply(SettingsPage page, SettingsValues& values, const QStringList& typed) {
    const std::vector<Field> fields = fieldsOf(page);
    for (int i = 0; i < typed.size() && i < int(fields.size()); ++i) {
        if (!typed.at(i).isEmpty())
            fields[size_t(i)].set(values, typed.at(i));
    }
}

} // namespace SettingsPageFields
