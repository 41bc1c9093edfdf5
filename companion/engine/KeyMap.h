#pragma once
// Byte strings to dense ids in order of first appearance, by open addressing:
// the per-row key lookups of a compile run (user, connection name, date) cost
// a few nanoseconds each. A key is packed into two words (all of it up to 16
// bytes), kept in its slot, so that most lookups compare words in the slot
// and never reach the key's own bytes.

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstring>
#include <vector>

class KeyMap {
public:
    KeyMap();

    // The id of key, adding it when new.
    int idOf(QByteArrayView key) {
        const Packed packed = pack(key);
        const std::uint32_t hash = hashOf(packed);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = m_slots[i];
            if (slot.id < 0)
                return add(i, packed, hash, key);
            if (slot.hash == hash && equals(slot, packed, key)) {
                m_added = false;
                return slot.id;
            }
        }
    }
    // True when idOf has just added a key.
    bool added() const { return m_added; }
    int size() const { return int(m_keys.size()); }
    QByteArrayView key(int id) const;

private:
    struct Packed {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::uint32_t size = 0;
    };
    struct Slot {
        Packed packed;
        std::uint32_t hash = 0;
        int id = -1;
    };
    struct Key {
        std::uint32_t offset;
        std::uint32_t size;
    };
    // Overlapping loads from both ends: together with the size, the two
    // words are the key itself up to 16 bytes, without reading beyond it.
    static Packed pack(QByteArrayView key) {
        const char* p = key.data();
        const auto n = std::uint32_t(key.size());
        Packed out;
        out.size = n;
        if (n >= 8) {
            out.a = load(p, 8);
            out.b = load(p + n - 8, 8);
        } else if (n >= 4) {
            out.a = load(p, 4) | load(p + n - 4, 4) << 32;
        } else if (n > 0) {
            out.a = std::uint64_t(std::uint8_t(p[0])) | std::uint64_t(std::uint8_t(p[n / 2])) << 8 |
                    std::uint64_t(std::uint8_t(p[n - 1])) << 16;
        }
        return out;
    }
    static std::uint64_t load(const char* p, int bytes) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, size_t(bytes));
        return w;
    }
    static std::uint32_t hashOf(const Packed& p) {
        std::uint64_t h = p.a * 0x9E3779B97F4A7C15ULL ^ p.b * 0xC2B2AE3D27D4EB4FULL ^ p.size;
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        return std::uint32_t(h);
    }
    bool equals(const Slot& slot, const Packed& packed, QByteArrayView key) const {
        if (slot.packed.size != packed.size || slot.packed.a != packed.a ||
            slot.packed.b != packed.b)
            return false;
        return packed.size <= 16 || this->key(slot.id) == key;
    }
    int add(size_t slot, const Packed& packed, std::uint32_t hash, QByteArrayView key);
    void grow();

    std::vector<Slot> m_slots;
    std::vector<Key> m_keys;
    QByteArray m_bytes;
    bool m_added = false;
};
