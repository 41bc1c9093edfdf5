#include "WizardPageFields.h"

#include "IntlStrings.h"

#include <functional>
#include <vector>

namespace {

struct Field {
    int label; // string id; 0 for the language list
    std::function<QString(const WizardValues&)> get;
    std::function<void(WizardValues&, const QString&)> set;
};

QString flagText(bool b) {
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

Field textField(int label, QString RatesValues::*member) {
    return {label, [member](const WizardValues& v) { return v.tariff.*member; },
            [member](WizardValues& v, const QString& s) {
                v.tariff.*member = s;
            }};
}

Field flagField(int label, bool RatesValues::*member) {
    return {label, [member](const WizardValues& v) { return flagText(v.tariff.*member); },
            [member](WizardValues& v, const QString& s) {
                if (s == QLatin1String("true") || s == QLatin1String("false"))
                    v.tariff.*member = s == QLatin1String("true");
            }};
}

const char* const kKinds[] = {"fixed", "different", "time"};

Field languageField() {
    return {0, [](const WizardValues& v) { return QString::number(v.language); },
            [](WizardValues& v, const QString& s) {
                bool ok = false;
                const int index = s.toInt(&ok);
                const int byName = IntlStrings::languageList().indexOf(s);
                if (ok && index >= 0 && index < IntlStrings::languageList().size())
                    v.language = index;
                else if (byName >= 0)
                    v.language = byName;
            }};
}

Field kindField() {
    return {3210, [](const WizardValues& v) { return QString::fromLatin1(kKinds[int(v.kind)]); },
            [](WizardValues& v, const QString& s) {
                for (int i = 0; i < 3; ++i)
                    if (s == QLatin1String(kKinds[i]))
                        v.kind = TariffKind(i);
            }};
}

std::vector<Field> fieldsOf(const MonitorWizard& wizard) {
    switch (wizard.flow().page()) {
    case WizardPage::Noll:
        return {languageField()};
    case WizardPage::First:
        return {kindField()};
    case WizardPage::Second:
        return {textField(3130, &RatesValues::cheapBefore),
                textField(3140, &RatesValues::cheapAfter), flagField(3180, &RatesValues::fridays),
                flagField(3190, &RatesValues::saturdays), flagField(3200, &RatesValues::sundays)};
    case WizardPage::Third: {
        std::vector<Field> f{textField(880, &RatesValues::standardRate)};
        // A fixed rate hides the cheap rates in the window too.
        if (wizard.flow().cheapEditsShown()) {
            f.push_back(textField(890, &RatesValues::cheapRate));
            f.push_back(textField(3280, &RatesValues::weekendRate));
        }
        f.push_back(textField(820, &RatesValues::connectionFee));
        f.push_back(textField(900, &RatesValues::minimumCost));
        return f;
    }
    case WizardPage::Fourth:
        return {{3270, [](const WizardValues& v) { return flagText(v.autoload); },
                 [](WizardValues& v, const QString& s) {
                     if (s == QLatin1String("true") || s == QLatin1String("false"))
                         v.autoload = s == QLatin1String("true");
                 }}};
    }
    return {};
}

QString withoutMnemonic(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.trimmed();
}

} // namespace

namespace WizardPageFields {

QString pageName(WizardPage page) {
    static const char* const names[] = {"Noll", "First", "Second", "Third", "Fourth"};
    return QString::fromLatin1(names[int(page)]);
}

QStringList labels(const MonitorWizard& wizard) {
    QStringList out;
    for (const Field& f : fieldsOf(wizard))
        out << withoutMnemonic(wizard.intl().IntlStr(f.label ? f.label : 1560));
    return out;
}

QStringList values(const MonitorWizard& wizard) {
    QStringList out;
    for (const Field& f : fieldsOf(wizard))
        out << f.get(wizard.values());
    return out;
}

void apply(MonitorWizard& wizard, const QStringList& typed) {
    const std::vector<Field> fields = fieldsOf(wizard);
    for (size_t i = 0; i < fields.size() && int(i) < typed.size(); ++i) {
        if (!typed.at(int(i)).isEmpty())
            fields[i].set(wizard.values(), typed.at(int(i)));
    }
}

} // namespace WizardPageFields
