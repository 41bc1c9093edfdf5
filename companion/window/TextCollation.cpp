#include "TextCollation.h"

#include <QHash>

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

void TextCollation::sort(std::vector<int>& order, const TextAt& textAt, bool descending) const {
    if (m_byteKeys && sortByByteKeys(order, textAt, descending))
        return;
    sortByCollator(order, textAt, descending);
}

namespace {

// One byte key per row, back to back; the first eight bytes also as a number
// so that most comparisons never reach memcmp.
struct ByteKeys {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> offset;
    std::vector<std::uint8_t> length;
    std::vector<std::uint64_t> head;
    std::vector<bool> stopped;

    int compare(size_t a, size_t b) const {
        if (head[a] != head[b])
            return head[a] < head[b] ? -1 : 1;
        const size_t n = std::min(length[a], length[b]);
        const int c = std::memcmp(&bytes[offset[a]], &bytes[offset[b]], n);
        if (c != 0)
            return c;
        return int(length[a]) - int(length[b]);
    }
};

} // namespace

bool TextCollation::sortByByteKeys(std::vector<int>& order, const TextAt& textAt,
                                   bool descending) const {
    const size_t n = order.size();
    ByteKeys keys;
    keys.offset.resize(n);
    keys.length.resize(n);
    keys.head.resize(n);
    keys.stopped.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const QString text = textAt(order[i]);
        if (text.size() > kMaxKeyLength)
            return false;
        keys.offset[i] = std::uint32_t(keys.bytes.size());
        std::uint64_t head = 0;
        int used = 0;
        for (qsizetype k = 0; k < text.size(); ++k) {
            const char16_t c = text.at(k).unicode();
            const bool stop = m_lettersStop && isAsciiLetter(c);
            if (!stop && (c >= 128 || m_rank[c] == 0))
                return false;
            const std::uint8_t b = stop ? kLetter : m_rank[c];
            keys.bytes.push_back(b);
            if (used++ < 8)
                head |= std::uint64_t(b) << (8 * (8 - used));
            if (stop) {
                keys.stopped[i] = true;
                break;
            }
        }
        keys.length[i] = std::uint8_t(used);
        keys.head[i] = head;
    }
    // Sort positions in the current order, then map back to rows.
    std::vector<int> pos(n);
    for (size_t i = 0; i < n; ++i)
        pos[i] = int(i);
    auto less = [&](int a, int b) {
        const int c = keys.compare(size_t(a), size_t(b));
        if (c != 0 || !keys.stopped[size_t(a)])
            return c < 0;
        return compare(textAt(order[size_t(a)]), textAt(order[size_t(b)])) < 0;
    };
    if (descending)
        std::stable_sort(pos.begin(), pos.end(), [&](int a, int b) { return less(b, a); });
    else
        std::stable_sort(pos.begin(), pos.end(), less);
    std::vector<int> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[i] = order[size_t(pos[i])];
    order.swap(sorted);
    return true;
}

// Rows usually repeat a few texts (users, connection names): the distinct
// texts are collated once and the rows then sort by their text's rank.
void TextCollation::sortByCollator(std::vector<int>& order, const TextAt& textAt,
                                   bool descending) const {
    QHash<QString, int> ids;
    std::vector<QString> distinct;
    std::vector<int> idOf(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const QString text = textAt(order[i]);
        auto it = ids.constFind(text);
        if (it == ids.constEnd()) {
            it = ids.insert(text, int(distinct.size()));
            distinct.push_back(text);
        }
        idOf[i] = it.value();
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(distinct.size());
    for (const QString& t : distinct)
        keys.push_back(m_collator.sortKey(t));
    std::vector<int> byText(distinct.size());
    for (size_t i = 0; i < byText.size(); ++i)
        byText[i] = int(i);
    std::sort(byText.begin(), byText.end(),
              [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    std::vector<int> rank(distinct.size());
    for (size_t i = 0; i < byText.size(); ++i) {
        const bool same =
            i > 0 && keys[size_t(byText[i - 1])].compare(keys[size_t(byText[i])]) == 0;
        rank[size_t(byText[i])] = same ? rank[size_t(byText[i - 1])] : int(i);
    }
    std::vector<std::pair<int, int>> keyed(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        keyed[i] = {descending ? -rank[size_t(idOf[i])] : rank[size_t(idOf[i])], order[i]};
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = keyed[i].second;
}
