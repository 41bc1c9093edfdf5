// The connection list's column sorting: first-click directions, per-column
// flags, the number readings, collation, stability.

#include "ConnectionSorter.h"
#include "Converters.h"
#include "KeyedOrder.h"
#include "TestFormats.h"
#include "TextCollation.h"
#include "TolerantNumber.h"

#include <QCollator>
#include <QDateTime>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>

namespace {

using Row = std::array<QString, 7>;

Row row(const QString& user, const QString& when, const QString& length, const QString& cost,
        const QString& connectedTo = QStringLiteral("Office")) {
    return {user, when, length, cost, QStringLiteral("1,00"), QStringLiteral("2,00"), connectedTo};
}

class SorterTest : public ::testing::Test {
protected:
    SorterTest() : sorter(TestFormats::svSE(), QLocale(QStringLiteral("sv_SE"))) {}

    void setRows(std::vector<Row> r) {
        rows = std::move(r);
        order.resize(rows.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
    }
    QStringList click(int column, int shown) {
        sorter.columnClick(column, order,
                           [this](int r, int c) { return rows[size_t(r)][size_t(c)]; });
        QStringList out;
        for (int r : order)
            out << rows[size_t(r)][size_t(shown)];
        return out;
    }

    ConnectionSorter sorter;
    std::vector<Row> rows;
    std::vector<int> order;
};

TEST_F(SorterTest, UserSortsZToAOnTheFirstClickAndAToZOnTheSecond) {
    setRows({row("bob", "", "1", "1"), row("anna", "", "1", "1"), row("Zed", "", "1", "1"),
             row("carl", "", "1", "1")});
    EXPECT_TRUE(sorter.nextClickDescending(0));
    EXPECT_EQ(click(0, 0), QStringList({"Zed", "carl", "bob", "anna"}));
    EXPECT_EQ(click(0, 0), QStringList({"anna", "bob", "carl", "Zed"}));
    EXPECT_EQ(click(0, 0), QStringList({"Zed", "carl", "bob", "anna"}));
    EXPECT_EQ(sorter.lastColumn(), 0);
}

TEST_F(SorterTest, LengthSortsSmallestFirstAsIntegers) {
    setRows({row("a", "", "100", "1"), row("b", "", "9", "1"), row("c", "", "25", "1")});
    EXPECT_EQ(click(2, 2), QStringList({"9", "25", "100"}));
    EXPECT_EQ(click(2, 2), QStringList({"100", "25", "9"}));
}

TEST_F(SorterTest, EachColumnKeepsItsOwnDirection) {
    setRows({row("a", "", "3", "2,00"), row("b", "", "1", "9,50"), row("c", "", "2", "0,75")});
    EXPECT_EQ(click(3, 3), QStringList({"0,75", "2,00", "9,50"}));
    EXPECT_EQ(click(2, 2), QStringList({"1", "2", "3"}));
    // Cost's flag was turned by its first click and not by the Length click.
    EXPECT_EQ(click(3, 3), QStringList({"9,50", "2,00", "0,75"}));
    EXPECT_FALSE(sorter.nextClickDescending(3));
    EXPECT_TRUE(sorter.nextClickDescending(2));
}

TEST_F(SorterTest, ConnectionDatesSortAsTextNotByTime) {
    setRows({row("a", "12/1/98 10:00:00", "1", "1"), row("b", "1/2/99 09:00:00", "1", "1")});
    EXPECT_EQ(click(1, 0), QStringList({"b", "a"}));
}

TEST_F(SorterTest, CostWithAPointReadsAsADecimalUnderACommaLocale) {
    // As text "10,00" < "3,5" < "3.40"; as numbers 3.40 < 3.5 < 10.
    setRows({row("a", "", "1", "10,00"), row("b", "", "1", "3,5"), row("c", "", "1", "3.40")});
    EXPECT_EQ(click(3, 3), QStringList({"3.40", "3,5", "10,00"}));
}

TEST_F(SorterTest, RatesUseTheTolerantReadingToo) {
    setRows({row("a", "", "1", "1"), row("b", "", "1", "1"), row("c", "", "1", "1")});
    rows[0][4] = "2:5";
    rows[1][4] = "2,25";
    rows[2][4] = "10";
    rows[0][5] = "7";
    rows[1][5] = "0.5";
    rows[2][5] = "3;1";
    EXPECT_EQ(click(4, 0), QStringList({"b", "a", "c"}));
    EXPECT_EQ(click(5, 0), QStringList({"b", "c", "a"}));
}

TEST_F(SorterTest, TextThatIsNoNumberComesBeforeEveryNumber) {
    setRows({row("a", "", "5", "2,00"), row("b", "", "x", "abc"), row("c", "", "-3", "1,00"),
             row("d", "", "", "")});
    EXPECT_EQ(click(2, 0), QStringList({"b", "d", "c", "a"}));
    EXPECT_EQ(click(2, 0), QStringList({"a", "c", "b", "d"}));
    EXPECT_EQ(click(3, 0), QStringList({"b", "d", "c", "a"}));
}

TEST_F(SorterTest, EqualValuesKeepTheirPreviousOrderInBothDirections) {
    setRows({row("anna", "", "10", "1"), row("bob", "", "5", "1"), row("carl", "", "10", "1"),
             row("dora", "", "5", "1")});
    // Users descending first: dora, carl, bob, anna; then Length ascending.
    click(0, 0);
    EXPECT_EQ(click(2, 0), QStringList({"dora", "bob", "carl", "anna"}));
    EXPECT_EQ(click(2, 0), QStringList({"carl", "anna", "dora", "bob"}));
    // Cost is the same everywhere: nothing moves.
    EXPECT_EQ(click(3, 0), QStringList({"carl", "anna", "dora", "bob"}));
}

TEST_F(SorterTest, TextColumnsAreCaseSensitiveAndLocaleAware) {
    setRows({row("a", "", "1", "1", "Öresund"), row("b", "", "1", "1", "office"),
             row("c", "", "1", "1", "Office"), row("d", "", "1", "1", "Zeta")});
    // Swedish puts Ö after Z; lower case before upper case.
    EXPECT_EQ(click(6, 6), QStringList({"office", "Office", "Zeta", "Öresund"}));
}

TEST_F(SorterTest, ClicksOutsideTheColumnsChangeNothing) {
    setRows({row("b", "", "1", "1"), row("a", "", "1", "1")});
    EXPECT_EQ(click(7, 0), QStringList({"b", "a"}));
    EXPECT_EQ(click(-1, 0), QStringList({"b", "a"}));
    EXPECT_EQ(sorter.lastColumn(), -1);
}

// The fast readings must agree with the converters for every shape of text.
TEST(TolerantNumberTest, AgreesWithParseDecimal) {
    const QStringList samples = {"3.40",    "3,40",    "10",   " 7 ", "-5",  "-1.5",         "+2,5",
                                 "1.234,5", "1,234.5", "2:30", "4/5", "6;7", ".5",           "5.",
                                 ",5",      "",        " ",    "abc", "1e3", "1,5e2",        "--1",
                                 "1..2",    "١٢",      "3 4",  "0,0", "12a", "9999999999999"};
    for (const char* locale : {"sv_SE", "en_US", "de_DE"}) {
        const FormatSettings fmt = TestFormats::forLocale(locale);
        for (const QString& s : samples) {
            std::optional<double> expected;
            try {
                expected = ParseDecimal(s, fmt);
            } catch (const ConversionError&) {
            }
            EXPECT_EQ(TolerantNumber::decimal(s, fmt), expected)
                << locale << " '" << s.toStdString() << "'";
            // The sort reads the same text from its UTF-8 bytes.
            EXPECT_EQ(TolerantNumber::decimal(QByteArrayView(s.toUtf8()), fmt), expected)
                << locale << " bytes '" << s.toStdString() << "'";
            EXPECT_EQ(TolerantNumber::integer(QByteArrayView(s.toUtf8())),
                      TolerantNumber::integer(QStringView(s)))
                << " '" << s.toStdString() << "'";
        }
    }
}

// The number columns sort by one key a row: it must order as the numbers
// (with minus zero as zero) and put texts that are no number first.
TEST(KeyedOrderTest, NumberKeysOrderAsTheNumbersAndKeepTiesInPlace) {
    const std::vector<std::optional<double>> values = {2.5,
                                                       std::nullopt,
                                                       -1e300,
                                                       0.0,
                                                       -0.0,
                                                       1e-300,
                                                       -3.25,
                                                       std::nullopt,
                                                       2.5,
                                                       std::numeric_limits<double>::infinity(),
                                                       -std::numeric_limits<double>::infinity(),
                                                       7.0};
    std::vector<std::uint64_t> keys;
    for (const auto& v : values)
        keys.push_back(KeyedOrder::ofDouble(v.has_value(), v.value_or(0)));
    for (bool descending : {false, true}) {
        std::vector<int> order(values.size());
        std::iota(order.begin(), order.end(), 0);
        std::vector<int> reference = order;
        std::vector<std::uint64_t> shownKeys = keys;
        KeyedOrder::sort(order, shownKeys, descending);
        std::stable_sort(reference.begin(), reference.end(), [&](int a, int b) {
            const auto& x = values[size_t(a)];
            const auto& y = values[size_t(b)];
            const bool less =
                x.has_value() != y.has_value() ? !x.has_value() : x.has_value() && *x < *y;
            const bool more =
                x.has_value() != y.has_value() ? !y.has_value() : y.has_value() && *y < *x;
            return descending ? more : less;
        });
        EXPECT_EQ(order, reference) << (descending ? "descending" : "ascending");
    }
    EXPECT_LT(KeyedOrder::ofInteger(false, 0), KeyedOrder::ofInteger(true, INT64_MIN));
    EXPECT_LT(KeyedOrder::ofInteger(true, -1), KeyedOrder::ofInteger(true, 0));
    EXPECT_LT(KeyedOrder::ofInteger(true, 0), KeyedOrder::ofInteger(true, INT64_MAX));
}

TEST(TolerantNumberTest, IntegersFollowStrToInt) {
    EXPECT_EQ(TolerantNumber::integer(u" 42 "), 42);
    EXPECT_EQ(TolerantNumber::integer(u"-7"), -7);
    EXPECT_EQ(TolerantNumber::integer(u"12.5"), std::nullopt);
    EXPECT_EQ(TolerantNumber::integer(u""), std::nullopt);
}

// Random texts sorted by the fast routes and by the collator alone must come
// out alike, in every locale the list may meet: texts that hardly repeat
// (keyed row by row) and texts from a small pool (collated once each).
class CollationAgreementTest : public ::testing::TestWithParam<const char*> {
protected:
    // From a large pool nearly every text differs, yet one in twenty repeats
    // an earlier one, so equal texts meet on both routes.
    static std::vector<QString> randomTexts(int count, int pool) {
        const QString alphabet = QStringLiteral("aAbBzZ09 /:.-,;'MP");
        QRandomGenerator random(7);
        std::vector<QString> made;
        for (int i = 0; i < pool; ++i) {
            QString t;
            const int n = pool > count ? random.bounded(5, 13) : random.bounded(0, 9);
            for (int k = 0; k < n; ++k)
                t += alphabet.at(random.bounded(int(alphabet.size())));
            made.push_back(t);
        }
        std::vector<QString> texts;
        for (int i = 0; i < count; ++i) {
            const bool repeat = pool > count && i > 0 && i % 20 == 0;
            texts.push_back(repeat ? texts[size_t(random.bounded(i))]
                                   : made[size_t(random.bounded(pool))]);
        }
        return texts;
    }
};

TEST_P(CollationAgreementTest, FastRoutesOrderAsTheCollator) {
    const QLocale locale{QString::fromLatin1(GetParam())};
    TextCollation collation(locale);
    ASSERT_TRUE(collation.hasByteKeys()) << "the byte-key route is not taken";
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    for (int pool : {100000, 40}) {
        const std::vector<QString> texts = randomTexts(3000, pool);
        for (bool descending : {false, true}) {
            std::vector<int> fast(texts.size());
            for (size_t i = 0; i < fast.size(); ++i)
                fast[i] = int(fast.size() - 1 - i); // shown in reverse
            std::vector<int> reference = fast;
            collation.sort(
                fast, [&](int r) { return texts[size_t(r)]; }, descending);
            std::stable_sort(reference.begin(), reference.end(), [&](int a, int b) {
                const int c = collator.compare(texts[size_t(a)], texts[size_t(b)]);
                return descending ? c > 0 : c < 0;
            });
            ASSERT_EQ(fast, reference)
                << GetParam() << " pool " << pool << (descending ? " descending" : "");
        }
    }
}

TEST(TextCollationTest, TextsTheCollatorHoldsEqualKeepTheirOrder) {
    TextCollation collation(QLocale(QStringLiteral("sv_SE")));
    // The same letter written precomposed and as e + combining accent.
    const std::vector<QString> texts = {QString::fromUtf8("\xC3\xA9"), "b",
                                        QString::fromUtf8("e\xCC\x81")};
    ASSERT_EQ(collation.compare(texts[0], texts[2]), 0);
    for (const std::vector<int>& shown : {std::vector<int>{2, 1, 0}, std::vector<int>{0, 1, 2}}) {
        std::vector<int> order = shown;
        collation.sort(
            order, [&](int r) { return texts[size_t(r)]; }, false);
        EXPECT_EQ(order, (std::vector<int>{1, shown[0], shown[2]}));
    }
}

TEST(TextCollationTest, RowsMissingFromTheOrderAreNotRead) {
    TextCollation collation(QLocale(QStringLiteral("sv_SE")));
    const std::vector<QString> texts = {"c", "b", "a", "d"};
    std::vector<int> order = {3, 1};
    collation.sort(
        order,
        [&](int r) {
            EXPECT_TRUE(r == 1 || r == 3) << r;
            return texts[size_t(r)];
        },
        false);
    EXPECT_EQ(order, (std::vector<int>{1, 3}));
}

// Dates and times as the logs write them: the same characters at the same
// places in most texts (which the fast route leaves out of its keys), some
// of other lengths, a designator that stops the key, and repeats.
TEST_P(CollationAgreementTest, DatesAndTimesSortAsTheCollatorDoes) {
    const QLocale locale{QString::fromLatin1(GetParam())};
    TextCollation collation(locale);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    QRandomGenerator random(11);
    std::vector<QString> texts;
    for (int i = 0; i < 4000; ++i) {
        if (i > 0 && i % 10 == 0) {
            texts.push_back(texts[size_t(random.bounded(i))]);
            continue;
        }
        const QDateTime when =
            QDateTime(QDate(1995, 1, 1), QTime(0, 0)).addSecs(qint64(random.bounded(400000000)));
        switch (i % 5) {
        case 0:
            texts.push_back(when.toString(QStringLiteral("M/d/yy h:mm:ss AP")));
            break;
        case 1:
            texts.push_back(when.toString(QStringLiteral("M/d/yy h:mm:ss")));
            break;
        default:
            texts.push_back(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            break;
        }
    }
    for (bool mixed : {false, true}) {
        std::vector<QString> set = texts;
        if (!mixed) // one shape only: every key fits one word
            set.erase(std::remove_if(set.begin(), set.end(),
                                     [](const QString& t) {
                                         return !t.startsWith('1') && !t.startsWith('2');
                                     }),
                      set.end());
        for (bool descending : {false, true}) {
            std::vector<int> fast(set.size());
            for (size_t i = 0; i < fast.size(); ++i)
                fast[i] = int((i * 7919) % fast.size()); // a shown order of its own
            std::vector<int> reference = fast;
            collation.sort(
                fast, [&](int r) { return set[size_t(r)]; }, descending);
            std::stable_sort(reference.begin(), reference.end(), [&](int a, int b) {
                const int c = collator.compare(set[size_t(a)], set[size_t(b)]);
                return descending ? c > 0 : c < 0;
            });
            ASSERT_EQ(fast, reference) << GetParam() << (mixed ? " mixed" : " one shape")
                                       << (descending ? " descending" : "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, CollationAgreementTest,
                         ::testing::Values("sv_SE", "en_US", "da_DK", "de_DE", "C"));

TEST(TextCollationTest, NonAsciiTextsFallBackToTheCollator) {
    TextCollation collation(QLocale(QStringLiteral("sv_SE")));
    const std::vector<QString> texts = {"ärlig", "Åsa", "zebra", "ö", "Ola", "åsa"};
    std::vector<int> order = {0, 1, 2, 3, 4, 5};
    collation.sort(
        order, [&](int r) { return texts[size_t(r)]; }, false);
    QStringList sorted;
    for (int r : order)
        sorted << texts[size_t(r)];
    EXPECT_EQ(sorted, QStringList({"Ola", "zebra", "åsa", "Åsa", "ärlig", "ö"}));
}

} // namespace
