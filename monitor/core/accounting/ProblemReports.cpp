#include "ProblemReports.h"

#include "IntlStrings.h"
#include "RegistryStore.h"

namespace {

const QString kStore = QStringLiteral("store");

QString amountKey(const QString& name) {
    return QStringLiteral("amount:") + name.toCaseFolded();
}

QString valueText(const QString& name, const QString& text) {
    return name + QStringLiteral(" = ") + text;
}

} // namespace

void ProblemReports::report(const QString& key, const QString& text) {
    const auto it = m_active.constFind(key);
    if (it != m_active.constEnd() && it.value() == text)
        return;
    m_active.insert(key, text);
    m_events.PostEvent(text, EventKind::Error);
}

bool ProblemReports::clear(const QString& key) {
    return !m_active.isEmpty() && m_active.remove(key) > 0;
}

void ProblemReports::unusableAmount(const QString& name, const QString& text) {
    report(amountKey(name), m_intl.IntlStr(9600) + valueText(name, text));
}

void ProblemReports::amountUsable(const QString& name) {
    if (!m_active.isEmpty())
        clear(amountKey(name));
}

void ProblemReports::totalRestarted(const QString& name, const QString& text) {
    m_events.PostEvent(m_intl.IntlStr(9610) + valueText(name, text), EventKind::Error);
}

void ProblemReports::pendingUnreadable(const QString& name, const QString& text) {
    m_events.PostEvent(m_intl.IntlStr(9620) + valueText(name, text), EventKind::Error);
}

void ProblemReports::storeFailed(const RegistryError& error) {
    // One report for the store, whatever the reason of the moment.
    if (active(kStore))
        return;
    m_failedStore = error.fileName();
    const QString what = m_failedStore.isEmpty() ? QString::fromUtf8(error.what())
                                                 : m_failedStore + QStringLiteral(" (") +
                                                       error.reason() + QLatin1Char(')');
    report(kStore, m_intl.IntlStr(9630) + what);
}

void ProblemReports::storeWritten() {
    if (!clear(kStore))
        return;
    m_events.PostEvent(m_intl.IntlStr(9640) + m_failedStore, EventKind::Information);
}
