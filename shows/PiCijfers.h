// The digits of pi that the demonstration shows in 28 rows of 78 characters:
// "3." and the first 76 decimals, then 78 decimals per row, 2182 in all.
#pragma once
#include <cstddef>
#include "platform/Types.h"

namespace KYR12 {

inline constexpr std::size_t piRijen = 28;
inline constexpr std::size_t piRijLengte = 78;
inline constexpr std::size_t piDecimalen = piRijen * piRijLengte - 2;   // 2182

using PiRij = CHAR[piRijLengte + 1];   // 78 characters and a terminating zero

// The rows, worked out on the first call and kept in a fixed table.
const PiRij* PiRegels();

}  // namespace KYR12
