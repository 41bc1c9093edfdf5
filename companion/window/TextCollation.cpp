#include "TextCollation.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kLetter = 255;
// Longer texts are rare in the list; they take the collator's route.
constexpr int kMaxKeyLength = 62;

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

TextCollation::TextCollation(const QLocale& locale) : m_collator(locale) {
    m_collator.setCaseSensitivity(Qt::CaseSensitive);
    learnAsciiOrder();
}

// A key compares as the collator only if every keyed character carries one
// weight of its own that no other character shares, and letters (whose case
// and contractions the key cannot know) sort after every keyed character.
// Both are checked against the collator itself rather than assumed.
void TextCollation::learnAsciiOrder() {
    if (m_collator.locale().language() == QLocale::C) {
        for (char16_t c = 0x20; c < 0x7f; ++c)
            m_rank[c] = std::uint8_t(c - 0x1f);
        m_byteKeys = true;
        return;
    }
    std::vector<QString> keyed;
    for (char16_t c = 0x20; c < 0x7f; ++c)
        if (!isAsciiLetter(c))
            keyed.push_back(QString(QChar(c)));
    std::sort(keyed.begin(), keyed.end(),
              [this](const QString& a, const QString& b) { return compare(a, b) < 0; });
    QCollator folded(m_collator.locale());
    folded.setCaseSensitivity(Qt::CaseInsensitive);
    const QString one = QStringLiteral("1");
    for (size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && folded.compare(keyed[i - 1], keyed[i]) >= 0)
            return;
        if (m_collator.compare(one + keyed[i], one) == 0)
            return; // ignorable
        m_rank[keyed[i].at(0).unicode()] = std::uint8_t(i + 1);
    }
    for (char16_t l = 0x20; l < 0x7f; ++l) {
        if (!isAsciiLetter(l))
            continue;
        for (const QString& k : keyed)
            if (folded.compare(QString(QChar(l)), k) <= 0)
                return;
    }
    m_lettersStop = true;
    m_byteKeys = true;
}

// One byte key per text, back to back.
struct TextCollation::ByteKeys {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> offset;
    std::vector<std::uint8_t> length;
    std::vector<bool> stopped;

    explicit ByteKeys(size_t n) : offset(n, 0), length(n, 0), stopped(n, false) {}

    int compare(size_t a, size_t b) const {
        const size_t n = std::min(length[a], length[b]);
        const int c = std::memcmp(&bytes[offset[a]], &bytes[offset[b]], n);
        if (c != 0)
            return c;
        return int(length[a]) - int(length[b]);
    }
    // Bytes from..from+7 of a key as one big-endian number, zero-padded.
    std::uint64_t word(size_t key, size_t from) const {
        std::uint64_t w = 0;
        for (size_t k = from; k < from + 8; ++k)
            w = (w << 8) | (k < length[key] ? bytes[offset[key] + k] : 0);
        return w;
    }
};

// What the sort moves around: the first sixteen key bytes travel with the
// item's number, so most comparisons never leave the array being sorted.
struct TextCollation::KeyHead {
    std::uint64_t first;
    std::uint64_t second;
    int item;
};

std::vector<TextCollation::KeyHead> TextCollation::headsOf(const ByteKeys& keys,
                                                           const std::vector<int>& items) {
    std::vector<KeyHead> heads(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const size_t k = size_t(items[i]);
        heads[i] = {keys.word(k, 0), keys.word(k, 8), int(i)};
    }
    return heads;
}

namespace {

std::vector<int> identity(size_t n) {
    std::vector<int> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = int(i);
    return v;
}

// Ranks from items in sorted order: an item equal to the one before it (as
// same() says) shares its rank, so the rows of both keep their order.
template <typename Same> std::vector<int> ranksOfSorted(const std::vector<int>& sorted, Same same) {
    std::vector<int> rank(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        const size_t t = size_t(sorted[i]);
        rank[t] = (i > 0 && same(sorted[i - 1], sorted[i])) ? rank[size_t(sorted[i - 1])] : int(i);
    }
    return rank;
}

// A sample of the rows shows whether their texts repeat (users, connection
// names) or hardly ever do (dates and times).
bool mostlyDistinct(const std::vector<char>& present, const TextCollation::TextAt& textAt) {
    constexpr size_t kSample = 512;
    const size_t step = std::max<size_t>(1, present.size() / kSample);
    QSet<QString> seen;
    size_t looked = 0;
    for (size_t row = 0; row < present.size(); row += step) {
        if (!present[row])
            continue;
        seen.insert(textAt(int(row)));
        ++looked;
    }
    return looked > 0 && seen.size() * 10 >= qsizetype(looked) * 9;
}

} // namespace

bool TextCollation::appendKey(const QString& text, ByteKeys& keys, size_t index) const {
    if (text.size() > kMaxKeyLength)
        return false;
    keys.offset[index] = std::uint32_t(keys.bytes.size());
    int used = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text.at(k).unicode();
        const bool stop = m_lettersStop && isAsciiLetter(c);
        if (!stop && (c >= 128 || m_rank[c] == 0))
            return false;
        keys.bytes.push_back(stop ? kLetter : m_rank[c]);
        ++used;
        if (stop) {
            keys.stopped[index] = true;
            break;
        }
    }
    keys.length[index] = std::uint8_t(used);
    return true;
}

std::vector<char> TextCollation::presentRows(const std::vector<int>& order) {
    std::vector<char> present;
    if (order.empty())
        return present;
    present.assign(size_t(*std::max_element(order.begin(), order.end())) + 1, 0);
    for (int row : order)
        present[size_t(row)] = 1;
    return present;
}

// Rows are read in their own order (the order of the log files in memory),
// whatever order they are shown in.
void TextCollation::sort(std::vector<int>& order, const TextAt& textAt, bool descending) const {
    if (order.empty())
        return;
    const std::vector<char> present = presentRows(order);
    if (m_byteKeys && mostlyDistinct(present, textAt) &&
        sortRowsByByteKeys(order, present, textAt, descending))
        return;
    sortByDistinctTexts(order, present, textAt, descending);
}

// Texts that hardly repeat are keyed row by row; one sort by key, then by
// the place shown, gives the new order directly.
bool TextCollation::sortRowsByByteKeys(std::vector<int>& order, const std::vector<char>& present,
                                       const TextAt& textAt, bool descending) const {
    ByteKeys keys(present.size());
    for (size_t row = 0; row < present.size(); ++row)
        if (present[row] && !appendKey(textAt(int(row)), keys, row))
            return false;
    std::vector<KeyHead> heads = headsOf(keys, order);
    auto compareRows = [&](const KeyHead& a, const KeyHead& b) {
        if (a.first != b.first)
            return a.first < b.first ? -1 : 1;
        if (a.second != b.second)
            return a.second < b.second ? -1 : 1;
        const int ra = order[size_t(a.item)];
        const int rb = order[size_t(b.item)];
        const int c = keys.compare(size_t(ra), size_t(rb));
        if (c != 0 || !keys.stopped[size_t(ra)])
            return c;
        return compare(textAt(ra), textAt(rb));
    };
    std::sort(heads.begin(), heads.end(), [&](const KeyHead& a, const KeyHead& b) {
        const int c = compareRows(a, b);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return a.item < b.item;
    });
    std::vector<int> sorted(order.size());
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = order[size_t(heads[i].item)];
    order.swap(sorted);
    return true;
}

// Each distinct text is collated once, then the rows sort by its rank.
void TextCollation::sortByDistinctTexts(std::vector<int>& order, const std::vector<char>& present,
                                        const TextAt& textAt, bool descending) const {
    QHash<QString, int> ids;
    std::vector<QString> distinct;
    std::vector<int> idOf(present.size(), 0);
    for (size_t row = 0; row < present.size(); ++row) {
        if (!present[row])
            continue;
        const QString text = textAt(int(row));
        auto it = ids.constFind(text);
        if (it == ids.constEnd()) {
            it = ids.insert(text, int(distinct.size()));
            distinct.push_back(text);
        }
        idOf[row] = it.value();
    }
    const std::vector<int> rank = ranks(distinct);
    std::vector<std::pair<int, int>> keyed(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const int r = rank[size_t(idOf[size_t(order[i])])];
        keyed[i] = {descending ? -r : r, order[i]};
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = keyed[i].second;
}

std::vector<int> TextCollation::ranks(const std::vector<QString>& texts) const {
    std::vector<int> rank;
    if (!(m_byteKeys && ranksByByteKeys(texts, rank)))
        rank = ranksByCollator(texts);
    return rank;
}

bool TextCollation::ranksByByteKeys(const std::vector<QString>& texts,
                                    std::vector<int>& rank) const {
    ByteKeys keys(texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        if (!appendKey(texts[i], keys, i))
            return false;
    // Keys that end before a letter tie only with keys ending the same way;
    // the collator settles those, and only those.
    auto order = [&](int a, int b) {
        const int c = keys.compare(size_t(a), size_t(b));
        if (c != 0 || !keys.stopped[size_t(a)])
            return c;
        return compare(texts[size_t(a)], texts[size_t(b)]);
    };
    const std::vector<int> all = identity(texts.size());
    std::vector<KeyHead> heads = headsOf(keys, all);
    std::sort(heads.begin(), heads.end(), [&](const KeyHead& a, const KeyHead& b) {
        if (a.first != b.first)
            return a.first < b.first;
        if (a.second != b.second)
            return a.second < b.second;
        return order(a.item, b.item) < 0;
    });
    std::vector<int> sorted(texts.size());
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = heads[i].item;
    rank = ranksOfSorted(sorted, [&](int a, int b) { return order(a, b) == 0; });
    return true;
}

std::vector<int> TextCollation::ranksByCollator(const std::vector<QString>& texts) const {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString& t : texts)
        keys.push_back(m_collator.sortKey(t));
    std::vector<int> sorted = identity(texts.size());
    std::sort(sorted.begin(), sorted.end(),
              [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    return ranksOfSorted(
        sorted, [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) == 0; });
}
