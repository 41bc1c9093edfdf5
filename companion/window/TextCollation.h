#pragma once
// Sorts list rows by a text column in the locale's collation, case-sensitive.
// Each distinct text is collated once; texts of plain ASCII (dates, times,
// most names) get byte keys that order exactly as the collator does, so a
// million rows sort in a fraction of a second; anything else goes through the
// collator's own sort keys.

#include <QByteArray>
#include <QCollator>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class TextCollation {
public:
    using TextAt = std::function<QString(int row)>;
    // A row's text as UTF-8, written into out; what a million rows are read
    // through, since no text is decoded unless the collator needs it.
    using Utf8At = std::function<void(int row, QByteArray& out)>;

    explicit TextCollation(const QLocale& locale);

    int compare(QStringView a, QStringView b) const { return m_collator.compare(a, b); }
    // Reorders order (row numbers) by the text of each row; rows with equal
    // texts keep their relative order.
    void sort(std::vector<int>& order, const TextAt& textAt, bool descending) const;
    void sort(std::vector<int>& order, const Utf8At& utf8At, bool descending) const;
    // A mask over the row numbers up to the largest in order: 1 where the row
    // is shown. Rows are read through it in their own (memory) order.
    static std::vector<char> presentRows(const std::vector<int>& order);
    // Whether texts of plain ASCII can take the byte-key route.
    bool hasByteKeys() const { return m_byteKeys; }

private:
    struct ByteKeys;
    struct KeyHead;

    void learnAsciiOrder();
    // Appends the byte key of text (UTF-8) as key number index; false when
    // some character cannot be keyed.
    bool appendKey(QByteArrayView text, ByteKeys& keys, size_t index) const;
    static std::vector<KeyHead> headsOf(const ByteKeys& keys, const std::vector<int>& items);
    struct PackedKeys {
        bool oneWord = false;
        bool stopped = false;                            // some key stops at a letter
        std::vector<std::array<std::uint64_t, 2>> words; // by row
    };
    static std::vector<size_t> varyingPlaces(const ByteKeys& keys,
                                             const std::vector<char>& present);
    static std::optional<PackedKeys> packKeys(const ByteKeys& keys,
                                              const std::vector<char>& present);
    static void sortPacked(std::vector<int>& order, const PackedKeys& keys, bool descending);
    void settleStoppedRuns(std::vector<int>& order, const PackedKeys& packed, const ByteKeys& keys,
                           const Utf8At& utf8At, bool descending) const;
    bool sortRowsByByteKeys(std::vector<int>& order, const std::vector<char>& present,
                            const Utf8At& utf8At, bool descending) const;
    void sortByDistinctTexts(std::vector<int>& order, const std::vector<char>& present,
                             const Utf8At& utf8At, bool descending) const;
    // The rank of each text in collation order; equal texts share one.
    std::vector<int> ranks(const std::vector<QString>& texts) const;
    // False when some text cannot be keyed.
    bool ranksByByteKeys(const std::vector<QString>& texts, std::vector<int>& rank) const;
    std::vector<int> ranksByCollator(const std::vector<QString>& texts) const;

    QCollator m_collator;
    // Rank of each ASCII character in the key, 0 when it cannot be keyed.
    std::array<std::uint8_t, 128> m_rank{};
    // Letters end the key: what follows them is left to the collator.
    bool m_lettersStop = false;
    bool m_byteKeys = false;
};
