#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bp {

class IClock;

// The texts the note lists show for stored values; times as everywhere else in the program.
std::string listTime(const IClock& clock, std::uint32_t seconds);
std::string priorityText(int priority);
std::string stateText(int isClosed);

// The row to select after a refresh, given the nids listed and the nid that was current: that
// nid, else the smallest greater one, else the greatest smaller one; -1 for none.
std::int32_t reselectNid(const std::vector<std::int32_t>& nids, std::int32_t current);

}  // namespace bp
