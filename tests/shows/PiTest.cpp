// The digit rows of pi against a known prefix and an independent
// computation with Machin's formula, pi = 16 atan(1/5) - 4 atan(1/239).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shows/PiCijfers.h"

namespace {

// Fixed point in base 10000: word 0 the whole part, then 560 words of fraction.
using Groot = std::vector<int64_t>;
constexpr int64_t basis = 10000;

void Deel(Groot& a, int64_t d) {
    int64_t rest = 0;
    for (int64_t& w : a) {
        const int64_t huidig = rest * basis + w;
        w = huidig / d;
        rest = huidig % d;
    }
}

// a += m * b, word by word, then the carries (negative words borrow).
void TelOp(Groot& a, const Groot& b, int64_t m) {
    for (std::size_t i = 0; i < a.size(); ++i) a[i] += m * b[i];
    for (std::size_t i = a.size() - 1; i > 0; --i) {
        const int64_t over = (a[i] >= 0 ? a[i] : a[i] - basis + 1) / basis;
        a[i] -= over * basis;
        a[i - 1] += over;
    }
}

// Adds m * atan(1/x) = m * (1/x - 1/(3 x^3) + 1/(5 x^5) - ...) to `som`.
void TelArctan(Groot& som, int64_t x, int64_t m) {
    Groot macht(som.size(), 0);
    macht[0] = 1;
    Deel(macht, x);
    for (int64_t k = 0; macht != Groot(som.size(), 0); ++k) {
        Groot term = macht;
        Deel(term, 2 * k + 1);
        TelOp(som, term, k % 2 == 0 ? m : -m);
        Deel(macht, x * x);
    }
}

std::string MachinCijfers() {
    Groot pi(561, 0);
    TelArctan(pi, 5, 16);
    TelArctan(pi, 239, -4);
    std::string cijfers = std::to_string(pi[0]);
    for (std::size_t i = 1; i < pi.size(); ++i) {
        const std::string w = std::to_string(pi[i]);
        cijfers += std::string(4 - w.size(), '0') + w;
    }
    return cijfers;
}

}  // namespace

TEST(PiCijfers, RowsHoldTheDecimalExpansion) {
    std::string alles;
    for (std::size_t r = 0; r < KYR12::piRijen; ++r) {
        ASSERT_EQ(std::string(KYR12::PiRegels()[r]).size(), 78u) << "row " << r;
        alles += KYR12::PiRegels()[r];
    }
    EXPECT_EQ(alles.rfind("3.14159265358979323846264338327950288419716939937510", 0), 0u);
    const std::string cijfers = alles.substr(0, 1) + alles.substr(2);
    EXPECT_EQ(cijfers, MachinCijfers().substr(0, 2183));
    EXPECT_EQ(cijfers.substr(762, 6), "999999");   // a run of nines held back and settled
}
