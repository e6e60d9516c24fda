// The digit rows of pi against a known prefix and an independent
// computation with Machin's formula, pi = 16 atan(1/5) - 4 atan(1/239).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shows/PiCijfers.h"

namespace {

// Fixed point in base 10000: word 0 the whole part, then 560 words of fraction.
using BigNumber = std::vector<int64_t>;
constexpr int64_t base = 10000;

void Divide(BigNumber& a, int64_t d) {
    int64_t rest = 0;
    for (int64_t& w : a) {
        const int64_t current = rest * base + w;
        w = current / d;
        rest = current % d;
    }
}

// a += m * b, word by word, then the carries (negative words borrow).
void AddTimes(BigNumber& a, const BigNumber& b, int64_t m) {
    for (std::size_t i = 0; i < a.size(); ++i) a[i] += m * b[i];
    for (std::size_t i = a.size() - 1; i > 0; --i) {
        const int64_t carry = (a[i] >= 0 ? a[i] : a[i] - base + 1) / base;
        a[i] -= carry * base;
        a[i - 1] += carry;
    }
}

// Adds m * atan(1/x) = m * (1/x - 1/(3 x^3) + 1/(5 x^5) - ...) to `sum`.
void AddArctan(BigNumber& sum, int64_t x, int64_t m) {
    BigNumber power(sum.size(), 0);
    power[0] = 1;
    Divide(power, x);
    for (int64_t k = 0; power != BigNumber(sum.size(), 0); ++k) {
        BigNumber term = power;
        Divide(term, 2 * k + 1);
        AddTimes(sum, term, k % 2 == 0 ? m : -m);
        Divide(power, x * x);
    }
}

std::string MachinDigits() {
    BigNumber pi(561, 0);
    AddArctan(pi, 5, 16);
    AddArctan(pi, 239, -4);
    std::string digits = std::to_string(pi[0]);
    for (std::size_t i = 1; i < pi.size(); ++i) {
        const std::string w = std::to_string(pi[i]);
        digits += std::string(4 - w.size(), '0') + w;
    }
    return digits;
}

}  // namespace

TEST(PiDigits, RowsHoldTheDecimalExpansion) {
    std::string all;
    for (std::size_t r = 0; r < KYR12::piRijen; ++r) {
        ASSERT_EQ(std::string(KYR12::PiRegels()[r]).size(), 78u) << "row " << r;
        all += KYR12::PiRegels()[r];
    }
    EXPECT_EQ(all.rfind("3.14159265358979323846264338327950288419716939937510", 0), 0u);
    const std::string digits = all.substr(0, 1) + all.substr(2);
    EXPECT_EQ(digits, MachinDigits().substr(0, 2183));
    EXPECT_EQ(digits.substr(762, 6), "999999");   // a run of nines held back and settled
}
