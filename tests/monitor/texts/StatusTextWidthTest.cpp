// The texts of the status window's lines in every language, measured with the
// window's own font against the room their line has at the window's design
// width. What does not fit is listed; a translation that does not fit fails
// unless it is known to have no shorter natural wording.

#include "LanguageRig.h"
#include "TariffTexts.h"
#include "TestFormats.h"
#include "TotalTexts.h"
#include "TransferRates.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMap>

#include <gtest/gtest.h>

#include <iostream>

namespace {

// The widths were judged with the default sans font of the target systems.
const QString kCalibratedFamily = QStringLiteral("DejaVu Sans");

// Translations wider than their line although the language has no shorter
// natural wording, keyed by base id and k. English texts are fixed and never
// fail; where the English itself is too wide, a translation fails only when
// it is wider still.
const char* const kResetReason =
    "the reset word is as short as the language has; the rest is the total of the second line";
const QMap<QPair<int, int>, const char*> kNoShorterWording = {
    {{5300, 1}, kResetReason}, {{5300, 2}, kResetReason}, {{5300, 3}, kResetReason},
    {{5300, 4}, kResetReason}, {{5300, 5}, kResetReason}, {{5300, 6}, kResetReason},
    {{5300, 7}, kResetReason}, {{5300, 8}, kResetReason},
};

enum class Line { Status, Transfer };

struct Sample {
    int id;
    Line line;
    QString text;
};

QList<Sample> samples(LanguageRig& rig, int k) {
    rig.choose(k);
    Settings& settings = rig.settings;
    settings.WriteText(kSettingsKey, QStringLiteral("Show cost"), QStringLiteral("true"));
    settings.WriteText(kSettingsKey, QStringLiteral("Connection Cost"), QStringLiteral("123.45"));
    const IntlStrings& intl = rig.intl;
    const FormatSettings fmt = TestFormats::forLocale(kLanguages[k].locale);
    const TotalTexts totals(settings, intl, fmt);
    const TransferRates rates([] { return ByteCounters{}; }, settings, intl, fmt);
    const QString cost = CurrencyText(1.23, fmt);
    QList<Sample> list = {
        {0, Line::Status, intl.IntlStr(0)},
        {210, Line::Status, intl.IntlStr(210) + cost},
        {20, Line::Status, intl.IntlStr(20) + MinutesText(1234, fmt)},
        {30, Line::Status, totals.TotalText(0)},
        {80, Line::Status, intl.IntlStr(80) + cost},
        {4000, Line::Status, intl.IntlStr(4000)},
        {5300, Line::Status, intl.IntlStr(5300) + totals.TotalText(0) + QLatin1Char(')')},
        {6200, Line::Status, intl.IntlStr(6200)},
        {70, Line::Status, intl.IntlStr(70)},
        {6300, Line::Transfer, intl.IntlStr(6300)},
        {6310, Line::Transfer, rates.RateText({12.34, 56.78})},
    };
    // Events that only ever show their own text.
    for (int id : {4050, 5240, 5250, 7030})
        list.append({id, Line::Status, intl.IntlStr(id)});
    for (int id = 8000; id <= 8100; id += 10)
        list.append({id, Line::Status, intl.IntlStr(id)});
    return list;
}

class StatusTextWidth : public ::testing::Test {
protected:
    // The status and transfer-rate lines elide what does not fit, so they are
    // frames that paint their text rather than labels.
    const QWidget* label(Line line) const {
        return rig.window.findChild<QWidget*>(line == Line::Status ? QStringLiteral("Label1")
                                                                   : QStringLiteral("lblXfer"));
    }

    LanguageRig rig;
};

struct Measured {
    int width;
    int room;
};

TEST_F(StatusTextWidth, TranslationsFitTheirLinesWhereTheLanguageAllows) {
    const QWidget* status = label(Line::Status);
    const QWidget* transfer = label(Line::Transfer);
    ASSERT_TRUE(status && transfer);
    const int room[] = {status->contentsRect().width(), transfer->contentsRect().width()};
    ASSERT_GT(room[0], 200);
    const QFontMetrics metrics(status->font());
    const QString family = QFontInfo(status->font()).family();
    const bool calibrated = family == kCalibratedFamily;
    std::cout << "status line " << room[0] << " px, transfer line " << room[1] << " px, font "
              << family.toStdString() << '\n';
    QMap<int, Measured> english;
    for (int k = 0; k < kLanguageCount; ++k) {
        for (const Sample& s : samples(rig, k)) {
            const Measured m{metrics.horizontalAdvance(s.text),
                             room[s.line == Line::Status ? 0 : 1]};
            if (k == 0)
                english.insert(s.id, m);
            const auto listed = kNoShorterWording.constFind({s.id, k});
            const bool known = listed != kNoShorterWording.constEnd();
            if (m.width <= m.room) {
                if (calibrated && known)
                    ADD_FAILURE() << kLanguages[k].name << ' ' << s.id
                                  << " fits now; take it off the list of long texts";
                continue;
            }
            std::cout << "too wide: " << kLanguages[k].name << ' ' << s.id << ' ' << m.width
                      << " > " << m.room << " px: " << s.text.toStdString()
                      << (known ? std::string(" (") + *listed + ")" : std::string()) << '\n';
            const bool noWiderThanEnglish = m.width <= english.value(s.id).width;
            if (calibrated && k > 0 && !known && !noWiderThanEnglish)
                ADD_FAILURE() << kLanguages[k].name << ' ' << s.id << " is " << m.width
                              << " px wide in a line of " << m.room
                              << " px: " << s.text.toStdString();
        }
    }
}

} // namespace
