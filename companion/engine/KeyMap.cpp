#include "KeyMap.h"

#include <cstring>

KeyMap::KeyMap() : m_slots(64) {}

QByteArrayView KeyMap::key(int id) const {
    const Key& k = m_keys[size_t(id)];
    return QByteArrayView(m_bytes.constData() + k.offset, k.size);
}

int KeyMap::add(size_t slot, const Packed& packed, std::uint32_t hash, QByteArrayView key) {
    const int id = int(m_keys.size());
    m_slots[slot] = {packed, hash, id};
    m_keys.push_back({std::uint32_t(m_bytes.size()), std::uint32_t(key.size())});
    m_bytes.append(key.data(), key.size());
    m_added = true;
    if (m_keys.size() * 2 > m_slots.size())
        grow();
    return id;
}

void KeyMap::grow() {
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const size_t mask = m_slots.size() - 1;
    for (const Slot& s : old) {
        if (s.id < 0)
            continue;
        size_t i = s.hash & mask;
        while (m_slots[i].id >= 0)
            i = (i + 1) & mask;
        m_slots[i] = s;
    }
}
