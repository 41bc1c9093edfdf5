#include "TextCollation.h"

#include "KeyMap.h"
#include "KeyedOrder.h"

#include <QSet>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

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
bool mostlyDistinct(const std::vector<char>& present, const TextCollation::Utf8At& utf8At) {
    constexpr size_t kSample = 512;
    const size_t step = std::max<size_t>(1, present.size() / kSample);
    QSet<QByteArray> seen;
    QByteArray text;
    size_t looked = 0;
    for (size_t row = 0; row < present.size(); row += step) {
        if (!present[row])
            continue;
        utf8At(int(row), text);
        seen.insert(text);
        ++looked;
    }
    return looked > 0 && seen.size() * 10 >= qsizetype(looked) * 9;
}

} // namespace

bool TextCollation::appendKey(QByteArrayView text, ByteKeys& keys, size_t index) const {
    if (text.size() > kMaxKeyLength)
        return false;
    keys.offset[index] = std::uint32_t(keys.bytes.size());
    int used = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]); // beyond ASCII: no key
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
    sort(
        order, [&textAt](int row, QByteArray& out) { out = textAt(row).toUtf8(); }, descending);
}

void TextCollation::sort(std::vector<int>& order, const Utf8At& utf8At, bool descending) const {
    if (order.empty())
        return;
    const std::vector<char> present = presentRows(order);
    if (m_byteKeys && mostlyDistinct(present, utf8At) &&
        sortRowsByByteKeys(order, present, utf8At, descending))
        return;
    sortByDistinctTexts(order, present, utf8At, descending);
}

namespace {

// Each byte that occurs gets a small number, 0 being the end of a key.
struct ByteCode {
    std::array<std::uint8_t, 256> code{};
    int bits = 1;
};

template <class Bytes> ByteCode byteCodeOf(const Bytes& bytes) {
    ByteCode result;
    for (std::uint8_t byte : bytes)
        result.code[byte] = 1;
    int symbols = 0;
    for (auto& c : result.code)
        c = c ? std::uint8_t(++symbols) : std::uint8_t(0);
    while ((1 << result.bits) <= symbols)
        ++result.bits;
    return result;
}

// One key's codes at its places, shifted in from the right, then moved up
// so that the key starts at the top of the first word.
std::array<std::uint64_t, 2> packRow(const std::uint8_t* bytes, size_t length,
                                     const std::vector<size_t>& places, const ByteCode& code) {
    const int bits = code.bits;
    std::uint64_t hi = 0;
    std::uint64_t lo = 0;
    for (size_t k : places) {
        hi = (hi << bits) | (lo >> (64 - bits));
        lo = (lo << bits) | (k < length ? code.code[bytes[k]] : 0);
    }
    const size_t up = 128 - places.size() * size_t(bits);
    if (up >= 128) {
        hi = lo = 0;
    } else if (up >= 64) {
        hi = lo << (up - 64);
        lo = 0;
    } else if (up > 0) {
        hi = (hi << up) | (lo >> (64 - up));
        lo <<= up;
    }
    return {hi, lo};
}

} // namespace

// The places where keys differ, or where some key has ended.
std::vector<size_t> TextCollation::varyingPlaces(const ByteKeys& keys,
                                                 const std::vector<char>& present) {
    size_t longest = 0;
    size_t shortest = std::numeric_limits<size_t>::max();
    for (size_t row = 0; row < present.size(); ++row) {
        if (!present[row])
            continue;
        longest = std::max<size_t>(longest, keys.length[row]);
        shortest = std::min<size_t>(shortest, keys.length[row]);
    }
    std::vector<char> counts(longest, 0);
    std::vector<std::uint8_t> first(longest, 0);
    bool firstSeen = false;
    for (size_t row = 0; row < present.size(); ++row) {
        if (!present[row])
            continue;
        const std::uint8_t* bytes = keys.bytes.data() + keys.offset[row];
        for (size_t k = 0; k < keys.length[row]; ++k) {
            if (!firstSeen)
                first[k] = bytes[k];
            else if (bytes[k] != first[k])
                counts[k] = 1;
        }
        firstSeen = true;
    }
    std::vector<size_t> places;
    for (size_t k = 0; k < longest; ++k)
        if (counts[k] || k >= shortest)
            places.push_back(k);
    return places;
}

// When the keys use few different bytes, each key fits in one or two words
// at a few bits a byte, 0 marking its end, and leaving out the places where
// every key has the same byte (the "-" and ":" of dates and times): then the
// words order the keys exactly. Keys that stop at a letter (the "PM" of a
// time) and are equal up to it are left to the collator afterwards.
std::optional<TextCollation::PackedKeys> TextCollation::packKeys(const ByteKeys& keys,
                                                                 const std::vector<char>& present) {
    const ByteCode code = byteCodeOf(keys.bytes);
    const std::vector<size_t> places = varyingPlaces(keys, present);
    if (places.size() * size_t(code.bits) > 128)
        return std::nullopt;
    PackedKeys packed;
    packed.oneWord = places.size() * size_t(code.bits) <= 64;
    packed.stopped =
        std::find(keys.stopped.begin(), keys.stopped.end(), true) != keys.stopped.end();
    packed.words.resize(present.size());
    for (size_t row = 0; row < present.size(); ++row) {
        if (present[row])
            packed.words[row] =
                packRow(keys.bytes.data() + keys.offset[row], keys.length[row], places, code);
    }
    return packed;
}

// Rows of equal keys keep their shown order: the place shown breaks ties.
void TextCollation::sortPacked(std::vector<int>& order, const PackedKeys& keys, bool descending) {
    if (keys.oneWord) {
        std::vector<std::uint64_t> words(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            words[i] = keys.words[size_t(order[i])][0];
        KeyedOrder::sort(order, words, descending);
        return;
    }
    std::vector<KeyHead> heads(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const auto& w = keys.words[size_t(order[i])];
        heads[i] = {w[0], w[1], int(i)};
    }
    std::sort(heads.begin(), heads.end(), [descending](const KeyHead& a, const KeyHead& b) {
        if (a.first != b.first)
            return descending ? a.first > b.first : a.first < b.first;
        if (a.second != b.second)
            return descending ? a.second > b.second : a.second < b.second;
        return a.item < b.item;
    });
    std::vector<int> sorted(order.size());
    for (size_t i = 0; i < sorted.size(); ++i)
        sorted[i] = order[size_t(heads[i].item)];
    order.swap(sorted);
}

// Rows whose keys are equal and stopped at a letter are in their shown order
// after sortPacked; the collator orders each such run.
void TextCollation::settleStoppedRuns(std::vector<int>& order, const PackedKeys& packed,
                                      const ByteKeys& keys, const Utf8At& utf8At,
                                      bool descending) const {
    QByteArray bytes;
    const auto textOf = [&](int row) {
        utf8At(row, bytes);
        return QString::fromUtf8(bytes);
    };
    // The keys in the sorted order, read once; runs of equal ones are rare.
    std::vector<std::array<std::uint64_t, 2>> sortedWords(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        sortedWords[i] = packed.words[size_t(order[i])];
    for (size_t begin = 0; begin < order.size();) {
        size_t end = begin + 1;
        while (end < order.size() && sortedWords[end][0] == sortedWords[begin][0] &&
               sortedWords[end][1] == sortedWords[begin][1])
            ++end;
        if (end - begin > 1 && keys.stopped[size_t(order[begin])]) {
            std::vector<std::pair<QString, int>> run;
            for (size_t i = begin; i < end; ++i)
                run.emplace_back(textOf(order[i]), order[i]);
            std::stable_sort(run.begin(), run.end(), [&](const auto& a, const auto& b) {
                const int c = compare(a.first, b.first);
                return descending ? c > 0 : c < 0;
            });
            for (size_t i = begin; i < end; ++i)
                order[i] = run[i - begin].second;
        }
        begin = end;
    }
}

// Texts that hardly repeat are keyed row by row; one sort by key, then by
// the place shown, gives the new order directly.
bool TextCollation::sortRowsByByteKeys(std::vector<int>& order, const std::vector<char>& present,
                                       const Utf8At& utf8At, bool descending) const {
    ByteKeys keys(present.size());
    keys.bytes.reserve(present.size() * 24);
    QByteArray text;
    for (size_t row = 0; row < present.size(); ++row) {
        if (!present[row])
            continue;
        utf8At(int(row), text);
        if (!appendKey(text, keys, row))
            return false;
    }
    if (const auto packed = packKeys(keys, present)) {
        sortPacked(order, *packed, descending);
        if (packed->stopped)
            settleStoppedRuns(order, *packed, keys, utf8At, descending);
        return true;
    }
    std::vector<KeyHead> heads = headsOf(keys, order);
    const auto textOf = [&](int row) {
        QByteArray bytes;
        utf8At(row, bytes);
        return QString::fromUtf8(bytes);
    };
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
        return compare(textOf(ra), textOf(rb));
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

// Each distinct text is collated once, then the rows go to their text's rank
// by counting, which keeps rows of equal texts in their order.
void TextCollation::sortByDistinctTexts(std::vector<int>& order, const std::vector<char>& present,
                                        const Utf8At& utf8At, bool descending) const {
    KeyMap ids;
    std::vector<int> idOf(present.size(), 0);
    QByteArray text;
    for (size_t row = 0; row < present.size(); ++row) {
        if (!present[row])
            continue;
        utf8At(int(row), text);
        idOf[row] = ids.idOf(text);
    }
    std::vector<QString> distinct;
    distinct.reserve(size_t(ids.size()));
    for (int id = 0; id < ids.size(); ++id)
        distinct.push_back(QString::fromUtf8(ids.key(id)));
    std::vector<int> rank = ranks(distinct);
    const int ranksCount = int(distinct.size());
    if (descending)
        for (int& r : rank)
            r = ranksCount - 1 - r;
    std::vector<int> start(size_t(ranksCount) + 1, 0);
    for (int row : order)
        ++start[size_t(rank[size_t(idOf[size_t(row)])]) + 1];
    for (size_t r = 1; r < start.size(); ++r)
        start[r] += start[r - 1];
    std::vector<int> sorted(order.size());
    for (int row : order)
        sorted[size_t(start[size_t(rank[size_t(idOf[size_t(row)])])]++)] = row;
    order.swap(sorted);
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
        if (!appendKey(texts[i].toUtf8(), keys, i))
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
