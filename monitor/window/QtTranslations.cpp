#include "QtTranslations.h"

#include "StringTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const char* const kLocales[] = {"en", "sv", "de", "fr", "nl", "it", "es", "pt_PT", "da"};
constexpr int kLanguages = 9;

// The standard buttons by the texts Qt asks for and the ids of our table.
struct ButtonText {
    const char* source;
    int id;
};
const ButtonText kButtons[] = {{"OK", 1000},    {"Cancel", 1010}, {"Apply", 1020},
                               {"Close", 5160}, {"&Yes", 9400},   {"&No", 9410}};

// Answers Qt's standard button texts from our table; asked only after Qt's
// own catalogue, which is installed later and so searched first.
class StandardButtonTexts : public QTranslator {
public:
    StandardButtonTexts(const StringTable& table, int k) : m_table(table), m_k(k) {}

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "QPlatformTheme") != 0)
            return QString();
        for (const ButtonText& b : kButtons) {
            if (qstrcmp(source, b.source) != 0)
                continue;
            QString text = m_table.text(b.id + m_k).value_or(QString());
            // "&Apply" of the table where Qt asks for "Apply" without a mnemonic.
            if (!QByteArray(source).contains('&'))
                text.remove(QLatin1Char('&'));
            return text;
        }
        return QString();
    }

private:
    const StringTable& m_table;
    int m_k;
};

} // namespace

QtTranslations::QtTranslations(const StringTable& table, QString folder)
    : m_table(table), m_folder(std::move(folder)) {
    if (m_folder.isEmpty())
        m_folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

QtTranslations::~QtTranslations() {
    remove();
}

QString QtTranslations::localeName(int languageOffset) {
    if (languageOffset < 0 || languageOffset >= kLanguages)
        return QStringLiteral("en");
    return QString::fromLatin1(kLocales[languageOffset]);
}

void QtTranslations::remove() {
    if (m_qt)
        QCoreApplication::removeTranslator(m_qt.get());
    if (m_buttons)
        QCoreApplication::removeTranslator(m_buttons.get());
    m_qt.reset();
    m_buttons.reset();
    m_qtLoaded = false;
}

void QtTranslations::apply(int languageOffset) {
    const int k = (languageOffset > 0 && languageOffset < kLanguages) ? languageOffset : 0;
    if (k == m_current && (k == 0 || m_buttons))
        return;
    remove();
    m_current = k;
    if (k == 0)
        return;
    m_buttons = std::make_unique<StandardButtonTexts>(m_table, k);
    QCoreApplication::installTranslator(m_buttons.get());
    // "qt_<locale>" pulls in qtbase and the other modules' catalogues.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QLocale(localeName(k)), QStringLiteral("qt"), QStringLiteral("_"), m_folder)) {
        QCoreApplication::installTranslator(qt.get());
        m_qt = std::move(qt);
        m_qtLoaded = true;
    }
}
