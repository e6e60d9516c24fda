// Long randomised runs of the line path on arbitrary bytes (the fuzz target's
// input form), without a window: nothing may crash, hang or trip the
// sanitizers, and clipping always ends with values >= 0. Fixed seed.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/engine3d/LinePath.h"

TEST(RandomLinePath, LinePathOnRandomBytes) {
    std::mt19937 gen(10);
    std::vector<uint8_t> bytes;
    for (int n = 0; n < 100000; ++n) {
        bytes.resize(gen() % 200);
        for (uint8_t& b : bytes) b = gen() % 3 ? static_cast<uint8_t>(gen()) : 0;  // zeros: small numbers
        linepath::Run(bytes.data(), bytes.size(), linepath::GeometryOnly{});
    }
}
