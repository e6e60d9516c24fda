// Long randomised runs of clipping, projection and turns on arbitrary bit
// patterns: nothing may crash, hang or trip the sanitizers, and clipping
// always ends with values >= 0. Fixed seeds, so a failure repeats.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine3d/QX3D.h"
#include "tests/engine3d/LijnPad.h"

using namespace QX3D;

namespace {

// Floats of every kind: ordinary values near the screen, huge and tiny ones,
// zeros of both signs, infinities and NaNs.
float WillekeurigeFloat(std::mt19937& gen) {
    static const float bijzonder[] = {0.0f, -0.0f, 1.0f, -1.0f, 1e-45f, -1e-45f, 1e38f, -1e38f,
                                      std::numeric_limits<float>::infinity(),
                                      -std::numeric_limits<float>::infinity(),
                                      std::numeric_limits<float>::quiet_NaN()};
    switch (gen() % 4) {
    case 0: return bijzonder[gen() % std::size(bijzonder)];
    case 1: {
        const uint32_t bits = gen();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    default: return std::uniform_real_distribution<float>(-2000, 2000)(gen);
    }
}

INTEGER WillekeurigInteger(std::mt19937& gen) {
    switch (gen() % 3) {
    case 0: return static_cast<INTEGER>(gen());
    case 1: return (gen() % 2 ? 1 : -1) * static_cast<INTEGER>(gen() % 4096);
    default: {
        static const INTEGER rand[] = {0, 1, -1, std::numeric_limits<INTEGER>::max(),
                                       std::numeric_limits<INTEGER>::min(), 16777217, -16777217};
        return rand[gen() % std::size(rand)];
    }
    }
}

}  // namespace

TEST(Willekeurig, ClippingAlwaysEndsNonNegative) {
    std::mt19937 gen(7);
    for (int n = 0; n < 400000; ++n) {
        INTEGER x1 = WillekeurigInteger(gen), y1 = WillekeurigInteger(gen);
        INTEGER x2 = WillekeurigInteger(gen), y2 = WillekeurigInteger(gen);
        TestLijn(x1, y1, x2, y2);
        ASSERT_TRUE(x1 >= 0 && y1 >= 0 && x2 >= 0 && y2 >= 0);
    }
}

TEST(Willekeurig, ProjectionOfAnyPointIsZeroOrDefined) {
    std::mt19937 gen(8);
    Init3D(1025, 730, 60);
    for (int n = 0; n < 400000; ++n) {
        const Vector v = {WillekeurigeFloat(gen), WillekeurigeFloat(gen), WillekeurigeFloat(gen)};
        if (!ProjectieGedefinieerd(v)) {
            // At least one of the two has no pixel and reads 0.
            ASSERT_TRUE(ProjectieX(v) == 0 || ProjectieY(v) == 0);
        }
    }
}

TEST(Willekeurig, TurnsOfAnyValuesDoNotTrap) {
    std::mt19937 gen(9);
    for (int n = 0; n < 200000; ++n) {
        const Vector v = {WillekeurigeFloat(gen), WillekeurigeFloat(gen), WillekeurigeFloat(gen)};
        const Vector as = {WillekeurigeFloat(gen), WillekeurigeFloat(gen), WillekeurigeFloat(gen)};
        const Vector punt = {WillekeurigeFloat(gen), WillekeurigeFloat(gen), WillekeurigeFloat(gen)};
        const Vector r = DraaiVectorRondAs(v, WillekeurigeFloat(gen), as, punt);
        (void)Norm(r);
    }
}

// The shared fuzz path on random byte strings, without a window.
TEST(Willekeurig, LinePathOnRandomBytes) {
    std::mt19937 gen(10);
    std::vector<uint8_t> bytes;
    for (int n = 0; n < 20000; ++n) {
        bytes.resize(gen() % 200);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(gen());
        lijnpad::Run(bytes.data(), bytes.size(), false);
    }
}
