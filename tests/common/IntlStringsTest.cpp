// The compiled string tables of both programs, and the monitor's lookup.

#include "IntlStrings.h"
#include "Converters.h"
#include "MemoryRegistryStore.h"

#include <QSet>

#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

const StringTable& monitorTable() {
    return StringTable::resource(QStringLiteral(":/strings/monitor.tsv"));
}
const StringTable& companionTable() {
    return StringTable::resource(QStringLiteral(":/strings/companion.tsv"));
}

QSet<int> baseIds(const StringTable& table) {
    QSet<int> bases;
    for (int id : table.ids())
        bases.insert(id - id % 10);
    return bases;
}

// A no-break space keeps a unit with its number (French " Ko/s"); it counts
// as the space the English has there.
bool isSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QChar::Nbsp;
}

int leadingSpaces(const QString& s) {
    int n = 0;
    while (n < s.size() && isSpace(s.at(n)))
        ++n;
    return n;
}

int trailingSpaces(const QString& s) {
    int n = 0;
    while (n < s.size() && isSpace(s.at(s.size() - 1 - n)))
        ++n;
    return n;
}

TEST(MonitorStringTable, EveryBaseIdHasNineTextsThatFitAndKeepTheirShape) {
    const StringTable& t = monitorTable();
    const QSet<int> bases = baseIds(t);
    // The catalogue's 230 ids and those added for newer commands.
    ASSERT_GE(bases.size(), 230);
    for (int base : bases) {
        const QString english = t.text(base).value_or(QString());
        ASSERT_FALSE(english.isEmpty()) << base;
        const int amps = int(english.count(QLatin1Char('&')));
        for (int k = 0; k < 9; ++k) {
            const auto text = t.text(base + k);
            ASSERT_TRUE(text.has_value()) << base + k;
            EXPECT_LE(text->size(), 255) << base + k;
            if (amps == 1) {
                EXPECT_EQ(text->count(QLatin1Char('&')), 1)
                    << base + k << ": " << text->toStdString();
            }
            EXPECT_GE(leadingSpaces(*text), leadingSpaces(english)) << base + k;
            EXPECT_GE(trailingSpaces(*text), trailingSpaces(english))
                << base + k << ": \"" << text->toStdString() << "\"";
        }
    }
    EXPECT_EQ(*t.text(10), "Monitoring calls - total: ");
    EXPECT_EQ(*t.text(230), " (");
    EXPECT_EQ(*t.text(5090), "Oktober");
}

// The caption a control shows, as a sentence quotes it: without the access
// key marker and the dots of a button that opens a dialog.
QString quoted(const QString& caption) {
    QString text = caption;
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return text;
}

TEST(MonitorStringTable, SentencesNameControlsAsTheyAreCaptioned) {
    const StringTable& t = monitorTable();
    // Sentence id, and the ids of the captions it tells the user to click.
    const std::pair<int, std::vector<int>> references[] = {
        {3250, {3320}},       {3260, {600, 610}}, {4120, {4110}},
        {5130, {5140, 5150}}, {4100, {1000}},     {5470, {1000}},
    };
    for (int k = 0; k < 9; ++k) {
        for (const auto& [sentence, controls] : references) {
            const QString text = t.text(sentence + k).value_or(QString());
            for (int control : controls) {
                const QString name = quoted(t.text(control + k).value_or(QString()));
                EXPECT_TRUE(text.contains(name, Qt::CaseInsensitive))
                    << sentence + k << " does not name " << control + k << " \""
                    << name.toStdString() << "\": " << text.toStdString();
            }
        }
        // The load-on-demand question quotes the option's parenthesis.
        const QString option = t.text(4040 + k).value_or(QString());
        const QString mode = option.mid(option.lastIndexOf(QLatin1Char('(')) + 1).chopped(1);
        EXPECT_TRUE(t.text(7010 + k).value_or(QString()).contains(mode, Qt::CaseInsensitive))
            << 7010 + k << " does not quote \"" << mode.toStdString() << "\"";
    }
    const StringTable& c = companionTable();
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(c.text(1140 + k).value_or(QString()).contains(*c.text(3030 + k)))
            << "companion " << 1140 + k << " does not name the Options button";
}

TEST(CompanionStringTable, FourLanguagesPerIdMonthNamesAndTheSharedExitText) {
    const StringTable& c = companionTable();
    for (int base : baseIds(c)) {
        for (int k = 0; k < 4; ++k)
            EXPECT_TRUE(c.text(base + k).has_value()) << base + k;
        for (int k = 4; k < 10; ++k)
            EXPECT_FALSE(c.text(base + k).has_value()) << base + k;
    }
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    for (int m = 0; m < 12; ++m)
        EXPECT_EQ(c.text(10 * (m + 1)).value_or(QString()), months[m]);

    // The companion recognises the monitor's abnormal-exit line in each of its
    // languages: English, Swedish, German (English text), Danish.
    const StringTable& mon = monitorTable();
    const int pairs[][2] = {{7030, 7030}, {7031, 7031}, {7032, 7032}, {7038, 7033}};
    for (const auto& p : pairs)
        EXPECT_EQ(mon.text(p[0]), c.text(p[1])) << p[0] << " / " << p[1];
    EXPECT_EQ(c.text(7031).value_or(QString()),
              QString::fromUtf8("Otillåtet avslutande vid senaste körning"));
}

TEST(StringTableParse, UnescapesAndNamesTheBadLine) {
    const StringTable t = StringTable::parse("10\tA\\tB\\\\C\\nD\r\n\n20\t \r\n30\t\n");
    EXPECT_EQ(t.text(10).value_or(QString()), "A\tB\\C\nD");
    EXPECT_EQ(t.text(20).value_or(QString()), " ");
    EXPECT_FALSE(t.text(30).has_value());
    EXPECT_EQ(StringTable::unescape(StringTable::escape("a\\t\tb\r\n")), "a\\t\tb\r\n");
    try {
        StringTable::parse("10\tok\nnot a line\n");
        FAIL() << "parsed a malformed table";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
}

class IntlStrTest : public ::testing::Test {
protected:
    MemoryRegistryStore store;
    Settings settings{store};
    IntlStrings monitor{settings};

    void setLanguage(const QString& index) { settings.WriteText(kSettingsKey, "Language", index); }
};

TEST_F(IntlStrTest, LanguageIndexSelectsTheTranslation) {
    EXPECT_EQ(monitor.IntlStr(40), "Shut down"); // no "Language": index 2, English
    setLanguage("1");
    const QString us = monitor.IntlStr(250);
    setLanguage("2");
    EXPECT_EQ(monitor.IntlStr(250), us);
    EXPECT_EQ(us, "You have now reached your defined connection time or cost.");
    for (const char* outside : {"10", "-1", "99999999999"}) {
        setLanguage(outside);
        EXPECT_EQ(monitor.IntlStr(250), us) << outside;
    }
    const int expected[] = {4, 0, 0, 3, 2, 1, 5, 6, 7, 8};
    for (int index = 0; index < 10; ++index) {
        setLanguage(QString::number(index));
        EXPECT_EQ(monitor.LanguageOffset(), expected[index]) << index;
        EXPECT_EQ(monitor.IntlStr(5000), *monitorTable().text(5000 + expected[index])) << index;
    }
    EXPECT_EQ(IntlStrings::languageList().size(), 10);
    EXPECT_EQ(IntlStrings::languageList().at(5), QString::fromUtf8("Svenska (Swedish)"));
}

TEST_F(IntlStrTest, MissingTextsFallBackToEnglishThenToTheUndefinedText) {
    StringTable table;
    table.insert(100, "Hello");
    table.insert(101, "Hej");
    table.insert(110, "Only English");
    table.insert(118, "");
    const IntlStrings small(settings, &table);
    setLanguage("9"); // Danish
    EXPECT_EQ(small.IntlStr(100), "Hello");
    EXPECT_EQ(small.IntlStr(110), "Only English");
    setLanguage("5"); // Swedish
    EXPECT_EQ(small.IntlStr(100), "Hej");
    EXPECT_EQ(small.IntlStr(9990), "Undefined IntlStr #9990");
    EXPECT_EQ(monitor.IntlStr(9990), "Undefined IntlStr #9990");
}

TEST_F(IntlStrTest, LanguageIsReadAtEveryCall) {
    setLanguage("4");
    EXPECT_EQ(monitor.IntlStr(660), *monitorTable().text(662));
    setLanguage("9");
    EXPECT_EQ(monitor.IntlStr(660), *monitorTable().text(668));
    setLanguage("");
    EXPECT_EQ(monitor.IntlStr(660), "&Exit");
}

// Every text goes through the lookup: a language that stopped it would stop
// the session end and its log line with it.
TEST_F(IntlStrTest, ALanguageThatIsNoIntegerReadsAsTheDefault) {
    for (const char* unreadable : {"abc", "2.5", "99999999999999999999"}) {
        setLanguage(unreadable);
        EXPECT_EQ(monitor.IntlStr(40), "Shut down") << unreadable;
        EXPECT_EQ(monitor.LanguageOffset(), 0) << unreadable;
    }
}

} // namespace
