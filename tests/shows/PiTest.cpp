// The digit rows of pi against a known prefix and an independent
// computation with Machin's formula, pi = 16 atan(1/5) - 4 atan(1/239).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shows/PiCijfers.h"

namespace {

// Fixed-point numbers in base 10000: word 0 the whole part, then the fraction.
constexpr uint32_t basis = 10000;
constexpr std::size_t woorden = 560;   // 2236 decimals, well past the 2182 shown
using Groot = std::vector<uint32_t>;

void Deel(Groot& a, uint32_t d) {
    uint64_t rest = 0;
    for (uint32_t& w : a) {
        const uint64_t huidig = rest * basis + w;
        w = static_cast<uint32_t>(huidig / d);
        rest = huidig % d;
    }
}

void Vermenigvuldig(Groot& a, uint32_t m) {
    uint64_t over = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const uint64_t huidig = uint64_t(a[i]) * m + over;
        a[i] = static_cast<uint32_t>(huidig % basis);
        over = huidig / basis;
    }
}

void Tel(Groot& a, const Groot& b, bool aftrekken) {
    int64_t over = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        int64_t w = int64_t(a[i]) + (aftrekken ? -int64_t(b[i]) : int64_t(b[i])) + over;
        over = w < 0 ? -1 : w / basis;
        if (w < 0) w += basis;
        a[i] = static_cast<uint32_t>(w % basis);
    }
}

bool IsNul(const Groot& a) {
    for (uint32_t w : a)
        if (w != 0) return false;
    return true;
}

// atan(1/x) = 1/x - 1/(3 x^3) + 1/(5 x^5) - ...
Groot ArctanInvers(uint32_t x) {
    Groot som(woorden, 0), macht(woorden, 0);
    macht[0] = 1;
    Deel(macht, x);
    for (uint32_t k = 0; !IsNul(macht); ++k) {
        Groot term = macht;
        Deel(term, 2 * k + 1);
        Tel(som, term, k % 2 == 1);
        Deel(macht, x * x);
    }
    return som;
}

std::string MachinCijfers() {
    Groot pi = ArctanInvers(5);
    Vermenigvuldig(pi, 16);
    Groot tweede = ArctanInvers(239);
    Vermenigvuldig(tweede, 4);
    Tel(pi, tweede, true);
    std::string cijfers = std::to_string(pi[0]);
    for (std::size_t i = 1; i < woorden; ++i) {
        const std::string w = std::to_string(pi[i]);
        cijfers += std::string(4 - w.size(), '0') + w;
    }
    return cijfers;
}

}  // namespace

TEST(PiCijfers, RowsHoldTheDecimalExpansion) {
    const KYR12::PiRij* rijen = KYR12::PiRegels();
    std::string alles;
    for (std::size_t r = 0; r < KYR12::piRijen; ++r) {
        ASSERT_EQ(std::string(rijen[r]).size(), 78u) << "row " << r;
        alles += rijen[r];
    }
    EXPECT_EQ(alles.rfind("3.14159265358979323846264338327950288419716939937510", 0), 0u);
    ASSERT_EQ(alles[1], '.');
    const std::string cijfers = alles.substr(0, 1) + alles.substr(2);
    ASSERT_EQ(cijfers.size(), 2183u);
    EXPECT_EQ(cijfers, MachinCijfers().substr(0, 2183));
    // The six 9s after decimal 761 must survive the held-back digits.
    EXPECT_EQ(cijfers.substr(762, 6), "999999");
}
