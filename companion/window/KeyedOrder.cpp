#include "KeyedOrder.h"

#include <cstring>

namespace KeyedOrder {

void sort(std::vector<int>& order, const std::vector<std::uint64_t>& keys, bool descending) {
    struct Head {
        std::uint64_t key;
        int row;
    };
    std::vector<Head> heads(order.size());
    std::uint64_t differing = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        heads[i] = {descending ? ~keys[i] : keys[i], order[i]};
        differing |= heads[i].key ^ heads[0].key;
    }
    std::vector<Head> spare(heads.size());
    std::vector<std::uint32_t> start(65537);
    for (int shift = 0; shift < 64; shift += 16) {
        if (((differing >> shift) & 0xFFFF) == 0)
            continue; // every key has the same digit here
        std::fill(start.begin(), start.end(), 0);
        for (const Head& h : heads)
            ++start[((h.key >> shift) & 0xFFFF) + 1];
        for (size_t d = 1; d < start.size(); ++d)
            start[d] += start[d - 1];
        for (const Head& h : heads)
            spare[start[(h.key >> shift) & 0xFFFF]++] = h;
        heads.swap(spare);
    }
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = heads[i].row;
}

// Numbers go above 0, which is left to the texts that are no number.
std::uint64_t ofDouble(bool valid, double value) {
    if (!valid)
        return 0;
    if (value == 0)
        value = 0; // -0 sorts as 0
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint64_t ordered = (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
    return ordered == 0 ? 1 : ordered;
}

std::uint64_t ofInteger(bool valid, std::int64_t value) {
    if (!valid)
        return 0;
    const std::uint64_t ordered = std::uint64_t(value) ^ (std::uint64_t(1) << 63);
    return ordered == 0 ? 1 : ordered;
}

} // namespace KeyedOrder
