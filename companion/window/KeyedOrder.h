#pragma once
// Reorders the connection list's shown rows by one 64-bit key each, sixteen
// bits a pass from the lowest: stable, so rows of equal keys keep the order
// they were shown in, and a million rows take a few passes over memory.

#include <cstdint>
#include <vector>

namespace KeyedOrder {

// keys[i] belongs to order[i]; descending puts the largest key first.
void sort(std::vector<int>& order, const std::vector<std::uint64_t>& keys, bool descending);

// A key that orders as the number: texts that are no number (nullopt) before
// every number, minus zero as zero.
std::uint64_t ofDouble(bool valid, double value);
std::uint64_t ofInteger(bool valid, std::int64_t value);

} // namespace KeyedOrder
