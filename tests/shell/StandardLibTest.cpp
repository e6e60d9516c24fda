// The own random generator, RandomCard's intervals and error line, the
// library path, and the arrow-key reader's codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "shell/StandardLib.h"
#include "tests/support/Keys.h"

namespace {

class StandardLibTest : public ::testing::Test {
protected:
    void SetUp() override {
        Lib::ModuleInit();
        StandardLib::ModuleInit();
        testsupport::ResetKeysWithoutWaiting();
    }
    void TearDown() override { StandardLib::gPseudoRandom = true; }

    static std::vector<CARDINAL> Draw(int count, CARDINAL min, CARDINAL max) {
        std::vector<CARDINAL> values;
        for (int i = 0; i < count; ++i) values.push_back(StandardLib::RandomCard(min, max));
        return values;
    }
};

TEST_F(StandardLibTest, GeneratorStartsFromSeed94AndCyclesThroughAllButTheFixedPoint) {
    std::vector<CARDINAL> first;
    for (int i = 0; i < 5; ++i) first.push_back(StandardLib::PseudoRandomCardGenerator());
    EXPECT_EQ(first, (std::vector<CARDINAL>{716, 230, 841, 546, 327}));

    // The rest of one period: 1012 values in all, every number 0..1012 but 509.
    std::vector<bool> seen(1013, false);
    for (CARDINAL v : first) seen[v] = true;
    for (int i = 5; i < 1012; ++i) {
        CARDINAL v = StandardLib::PseudoRandomCardGenerator();
        ASSERT_LE(v, 1012u);
        EXPECT_FALSE(seen[v]) << "value " << v << " repeated within one period";
        seen[v] = true;
    }
    EXPECT_FALSE(seen[509]);
    // The period closes: the next value is the first one again.
    EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), 716u);
}

TEST_F(StandardLibTest, RandomCardScalesTheGeneratorExactly) {
    EXPECT_EQ(Draw(5, 0, 800), (std::vector<CARDINAL>{566, 182, 665, 432, 258}));
    StandardLib::ModuleInit();
    EXPECT_EQ(Draw(5, 0, 15), (std::vector<CARDINAL>{11, 3, 13, 8, 5}));
    StandardLib::ModuleInit();
    EXPECT_EQ(Draw(5, 1, 100), (std::vector<CARDINAL>{71, 23, 84, 54, 33}));
}

TEST_F(StandardLibTest, RandomCardStaysInsideEveryIntervalTheGameUses) {
    const CARDINAL intervals[][2] = {{0, 800}, {0, 600}, {0, 200}, {0, 150}, {0, 15}, {1, 100}, {1, 80}};
    for (const auto& iv : intervals) {
        StandardLib::ModuleInit();
        CARDINAL low = iv[1], high = iv[0];
        for (int i = 0; i < 1012; ++i) {
            CARDINAL v = StandardLib::RandomCard(iv[0], iv[1]);
            low = std::min(low, v);
            high = std::max(high, v);
        }
        // One whole period draws r = 0 and r = 1012: both ends are reached.
        EXPECT_EQ(low, iv[0]);
        EXPECT_EQ(high, iv[1]);
    }
}

TEST_F(StandardLibTest, OnePointIntervalStillAdvancesTheGenerator) {
    EXPECT_EQ(Draw(3, 5, 5), (std::vector<CARDINAL>{5, 5, 5}));
    EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), 546u);  // the fourth value
}

TEST_F(StandardLibTest, ReversedIntervalWritesTheErrorLineAndLeavesTheSeed) {
    testing::internal::CaptureStdout();
    CARDINAL v = StandardLib::RandomCard(7, 3);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(out, "ERROR calling RandomCardFromInterval: min 7 is bigger than max 3\n");
    EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), 716u);
}

TEST_F(StandardLibTest, LibraryPathCoversWholeRangeWithoutDividingByZero) {
    StandardLib::gPseudoRandom = false;
    // Same seeding as the library generator: the full range asks for all 32 bits.
    Lib::ModuleInit();
    CARDINAL full = StandardLib::RandomCard(0, 0xFFFFFFFFu);
    Lib::ModuleInit();
    EXPECT_EQ(full, Lib::RANDOM(0));

    Lib::ModuleInit();
    CARDINAL shifted = StandardLib::RandomCard(1000, 1009);
    Lib::ModuleInit();
    EXPECT_EQ(shifted, 1000 + Lib::RANDOM(10));

    for (int i = 0; i < 1000; ++i) {
        CARDINAL v = StandardLib::RandomCard(0xFFFFFFF0u, 0xFFFFFFFFu);
        EXPECT_GE(v, 0xFFFFFFF0u);
    }
    EXPECT_EQ(StandardLib::RandomCard(9, 9), 9u);
}

TEST_F(StandardLibTest, ArrowKeyReaderCodes) {
    struct Case {
        const char* key;
        CARDINAL code;
    };
    using namespace StandardLib;
    const Case cases[] = {
        {"UP", ArrowUp}, {"RIGHT", ArrowRight}, {"DOWN", ArrowDown}, {"LEFT", ArrowLeft},
        {"SPACE", ArrowSpace}, {"q", ArrowOther}, {"ENTER", ArrowOther}, {"ESC", ArrowOther},
        {"CTRL+UP", ArrowOther}, {"HOME", ArrowOther}, {"F1", ArrowOther}, {"Q", ArrowOther},
    };
    for (const Case& c : cases) {
        testsupport::PressKey(c.key);
        EXPECT_EQ(StandardLib::RdArrowKey(), c.code) << c.key;
        IO::InputEvent rest;
        EXPECT_FALSE(IO::KeyPressed()) << c.key << " left a key-down behind";
        while (IO::PopInput(rest)) {
        }
    }
}

TEST_F(StandardLibTest, LoneFirstHalfTakesTheNextKeyAsItsSecondHalf) {
    // Alt with a letter gives a lone 0; a following SPACE completes it as
    // ArrowSpace.
    testsupport::PressKey("ALT+x");
    testsupport::PressKey("SPACE");
    EXPECT_EQ(StandardLib::RdArrowKey(), StandardLib::ArrowSpace);

    // With an arrow after it, the arrow's own 0 is taken as the second half
    // (other), and the arrow's scan code stays pending for the next read
    // (other again).
    testsupport::ResetKeysWithoutWaiting();
    testsupport::PressKey("ALT+x");
    testsupport::PressKey("UP");
    EXPECT_EQ(StandardLib::RdArrowKey(), StandardLib::ArrowOther);
    EXPECT_EQ(StandardLib::RdArrowKey(), StandardLib::ArrowOther);
    EXPECT_THROW(StandardLib::RdArrowKey(), testsupport::WaitedForKey);
}

TEST_F(StandardLibTest, ModifierAloneIsNotAKey) {
    testsupport::PressKey("SHIFT");
    testsupport::PressKey("CTRL");
    testsupport::PressKey("DOWN");
    EXPECT_EQ(StandardLib::RdArrowKey(), StandardLib::ArrowDown);
}

}  // namespace
