// A test fixture with Graph open on the offscreen window for each test (which
// keeps published frames), closed again after it.
#pragma once
#include <gtest/gtest.h>

#include "tests/support/OffscreenGraph.h"

namespace testsupport {

class OffscreenGraphTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(OpenOffscreenGraph(/*keepFrames=*/true)); }
    void TearDown() override { CloseGraph(); }
};

}  // namespace testsupport
