// Key records into IO.KeyPressed and IO.RdKey results.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "tests/support/FakeClock.h"

using testsupport::FakeClock;
using testsupport::UseFakeClock;

using namespace IO;

namespace {

KeyRecord Key(uint16_t vk, uint16_t scan, uint8_t ch, uint32_t state, bool down = true) {
    KeyRecord k;
    k.keyDown = down;
    k.virtualKeyCode = vk;
    k.virtualScanCode = scan;
    k.asciiChar = ch;
    k.controlKeyState = state;
    return k;
}

void Post(const KeyRecord& key, bool isKey = true) {
    InputEvent e;
    e.isKey = isKey;
    e.key = key;
    PostInput(e);
}

const KeyRecord kUp = Key(0x26, 0x48, 0, ENHANCED_KEY);
const KeyRecord kSpace = Key(0x20, 0x39, ' ', 0);
const KeyRecord kLetterQ = Key(0x51, 0x10, 'q', 0);
constexpr uint32_t E = ENHANCED_KEY, SHIFT = SHIFT_PRESSED, LCTRL = LEFT_CTRL_PRESSED,
                   RCTRL = RIGHT_CTRL_PRESSED, LALT = LEFT_ALT_PRESSED, RALT = RIGHT_ALT_PRESSED;

class RdKeyTest : public testing::Test {
protected:
    void SetUp() override {
        ClearInput();
        IO::ModuleInit();
    }
    void TearDown() override { SetWaitHook(nullptr); }

    std::vector<int> Read(int n) {
        std::vector<int> got;
        for (int k = 0; k < n; ++k) got.push_back(RdKey());
        return got;
    }
    FakeClock clock;
    UseFakeClock useClock{clock};
};

using V = std::vector<int>;

}  // namespace

TEST_F(RdKeyTest, ArrowGivesZeroThenScanCodeWithoutReadingTheQueue) {
    Post(kUp);
    EXPECT_EQ(RdKey(), 0);
    EXPECT_FALSE(KeyPressed());  // the pending half is not looked at
    Post(kSpace);
    EXPECT_TRUE(KeyPressed());
    EXPECT_EQ(RdKey(), 0x48);
    EXPECT_EQ(RdKey(), 0x20);
}

TEST_F(RdKeyTest, UnmodifiedKeysWithLockBitsIgnored) {
    Post(Key(0x28, 0x50, 0, E));                                        // Down
    Post(Key(0x25, 0x4B, 0, 0));                                        // keypad 4, Num Lock off
    Post(Key(0x27, 0x4D, 0, E | NUMLOCK_ON | CAPSLOCK_ON | SCROLLLOCK_ON));
    Post(Key(0x0D, 0x1C, 0x0D, 0));                                     // Enter
    Post(Key(0x0D, 0x1C, 0x0D, E));                                     // keypad Enter
    Post(Key(0x1B, 0x01, 0x1B, 0));                                     // Esc
    Post(Key(0x1B, 0x01, 0, 0));                                        // Esc without a character
    Post(Key(0x70, 0x3B, 0, 0));                                        // F1
    KeyRecord held = Key(0x41, 0x1E, 'a', CAPSLOCK_ON);
    held.repeatCount = 5;                                               // one character all the same
    Post(held);
    EXPECT_EQ(Read(13), (V{0, 0x50, 0, 0x4B, 0, 0x4D, 0x0D, 0x0D, 0x1B, 0x1B, 0, 0x3B, 'a'}));
}

TEST_F(RdKeyTest, ModifiersAloneShiftedKeysWithoutCharacterAndKeyUpsAreSkipped) {
    for (KeyRecord skipped : {Key(0x10, 0x2A, 0, SHIFT), Key(0x10, 0x36, 0, SHIFT),
                              Key(0x11, 0x1D, 0, LCTRL), Key(0x11, 0x1D, 0, RCTRL | E),
                              Key(0x12, 0x38, 0, LALT), Key(0x12, 0x38, 0, RALT | E),
                              Key(0x26, 0x48, 0, SHIFT | E), Key(0x70, 0x3B, 0, SHIFT),
                              Key(0x41, 0x1E, 0, LCTRL | LALT), Key(0x10, 0x2A, 'x', SHIFT),
                              Key(0x41, 0x1E, 'a', 0, false)}) {
        Post(skipped);
    }
    Post(Key(0x41, 0x1E, 'a', 0), false);  // a non-key event
    Post(Key(0x41, 0x1E, 'A', SHIFT));
    EXPECT_EQ(RdKey(), 'A');
}

// A poll reports a key only when RdKey would return one at once: a key-down
// that RdKey skips goes, one per poll, like a key-up, and the key behind it
// is reported one poll later. Otherwise the game's frame, seeing a lone
// Shift, would stop in RdKey until the next real key.
TEST_F(RdKeyTest, KeyPressedDropsKeysThatRdKeySkipsOnePerPoll) {
    Post(Key(0x10, 0x2A, 0, SHIFT));          // Shift alone
    Post(Key(0x26, 0x48, 0, SHIFT | E));      // Shift+Up: no character
    Post(Key(0x12, 0x38, 0, LALT));           // Alt alone
    Post(Key(0x26, 0x48, 0, E));              // Up
    EXPECT_FALSE(KeyPressed());
    EXPECT_FALSE(KeyPressed());
    EXPECT_FALSE(KeyPressed());
    EXPECT_EQ(clock.now, 0u);                 // finding something is not idle
    EXPECT_TRUE(KeyPressed());
    EXPECT_EQ(Read(2), (V{0, 0x48}));
}

TEST_F(RdKeyTest, CtrlAndAltCombinationsGiveZeroThenTheirTablesCode) {
    Post(Key(0x26, 0x48, 0, LCTRL | E));          // Ctrl+Up
    Post(Key(0x28, 0x50, 0, RCTRL | E));          // right Ctrl+Down
    Post(Key(0x09, 0x0F, 0x09, LCTRL));           // Ctrl+Tab
    Post(Key(0x71, 0x3C, 0, LCTRL));              // Ctrl+F2
    Post(Key(0x78, 0x43, 0, RCTRL));              // Ctrl+F9
    Post(Key(0x2D, 0x52, 0, LCTRL | E | NUMLOCK_ON));  // Ctrl+Insert
    Post(Key(0x24, 0x47, 0, LALT | E));           // Alt+Home
    Post(Key(0x2D, 0x52, 0, RALT | E));           // Alt+Insert
    Post(Key(0x78, 0x43, 0, LALT));               // Alt+F9
    EXPECT_EQ(Read(18), (V{0, 0x8D, 0, 0x91, 0, 0x94, 0, 0x5F, 0, 0x66, 0, 0x92, 0, 0x97, 0, 0xA2, 0, 0x70}));
}

TEST_F(RdKeyTest, CombinationWithoutSecondCodeGivesALoneZero) {
    Post(Key(0x41, 0x1E, 0x01, LCTRL));  // Ctrl+A
    Post(Key(0x51, 0x10, 'q', LALT));    // Alt+Q
    Post(kSpace);
    // The arrow-key reader's case: after a lone 0 an arrow's own first half
    // is read as the second code, and the arrow's scan code stays pending.
    Post(Key(0x51, 0x10, 'q', LALT));
    Post(kUp);
    EXPECT_EQ(Read(6), (V{0, 0, 0x20, 0, 0, 0x48}));
}

TEST_F(RdKeyTest, OtherModifierMixesGiveTheCharacterOrAreSkipped) {
    Post(Key(0x58, 0x2D, 0x18, SHIFT | LCTRL));  // Ctrl+Shift+X
    Post(Key(0x51, 0x10, 0, LCTRL | RALT));      // AltGr+Q, no character
    Post(Key(0x32, 0x03, '@', LCTRL | RALT));    // AltGr+2 on some layouts
    EXPECT_EQ(Read(2), (V{0x18, '@'}));
}

TEST_F(RdKeyTest, KeyPressedRemovesOneNonKeyDownEventPerCallAndIdlesThroughTheClock) {
    Post(Key(0x41, 0x1E, 'a', 0, false));
    Post(kLetterQ, false);
    Post(kLetterQ);
    EXPECT_FALSE(KeyPressed());
    EXPECT_FALSE(KeyPressed());
    EXPECT_EQ(clock.now, 0u);  // removing an event is not idle
    EXPECT_TRUE(KeyPressed());
    EXPECT_TRUE(KeyPressed());  // stays queued for RdKey
    EXPECT_EQ(RdKey(), 'q');
    EXPECT_FALSE(KeyPressed());
    EXPECT_EQ(clock.now, 0u);   // the first empty poll after finding a key returns at once
    EXPECT_FALSE(KeyPressed());
    EXPECT_EQ(clock.now, 100000u);   // nothing came: the idle wait's longest
}

namespace {
uint64_t drawn = 0;
int published = 0;
uint64_t Drawn() { return drawn; }
void Publish() { ++published; }

// Replays nothing: only makes IO see a replay.
class SilentFeed final : public InputFeed {
    void EventsForPoll(uint64_t, std::vector<InputEvent>&) override {}
    void Exhausted(uint64_t) override {}
};
}  // namespace

// An empty poll waits only in a polling loop: after an empty poll with
// nothing drawn in between. The game polls once a frame between its drawing
// and must never wait (and so show the window a frame) in the middle of it.
// The wait publishes the frame drawn so far, and ends the moment input
// arrives, on the millisecond a loop polling every millisecond would see it.
TEST_F(RdKeyTest, AnEmptyPollWaitsForInputOnlyWhenNothingWasDrawnSinceTheLastEmptyPoll) {
    Waits::SetFrameHooks({Publish, Drawn});
    for (int frame = 0; frame < 3; ++frame) {
        ++drawn;                              // the frame's drawing
        EXPECT_FALSE(KeyPressed());
    }
    EXPECT_EQ(clock.now, 0u);
    EXPECT_EQ(published, 0);
    clock.afterWait = [&](uint64_t, uint64_t) {
        if (clock.now == 3500) Post(kSpace);   // typed mid-millisecond
    };
    clock.now = 500;
    EXPECT_FALSE(KeyPressed());               // the menu's loop: nothing drawn since
    EXPECT_EQ(clock.now, 3500u);
    EXPECT_EQ(published, 1);
    EXPECT_TRUE(KeyPressed());
    clock.afterWait = nullptr;
    Waits::SetFrameHooks({});
}

// A replay's keys come from its recording, not from the inbox: its idle
// polls pass a millisecond each, as the recorded loop's polls did.
TEST_F(RdKeyTest, AReplaysIdlePollPassesOneMillisecond) {
    SilentFeed feed;
    SetInputFeed(&feed);
    EXPECT_FALSE(KeyPressed());
    EXPECT_FALSE(KeyPressed());
    EXPECT_EQ(clock.now, 1000u);
    SetInputFeed(nullptr);
}

namespace {
int hookCalls = 0;
void PostSpaceWhenWaited() {
    ++hookCalls;
    Post(kSpace);
}
}  // namespace

TEST_F(RdKeyTest, EmptyQueueRunsTheWaitHook) {
    SetWaitHook(PostSpaceWhenWaited);
    Post(Key(0x10, 0x2A, 0, SHIFT));
    EXPECT_EQ(RdKey(), 0x20);
    EXPECT_EQ(hookCalls, 1);
}

TEST_F(RdKeyTest, BurstOfThousandsOfKeysFromAnotherThreadArrivesInOrder) {
    constexpr int kCount = 20000;
    std::thread poster([] {
        for (int k = 0; k < kCount; ++k) Post(Key(0x41, 0x1E, uint8_t('a' + k % 26), 0));
    });
    int wrong = 0;
    for (int k = 0; k < kCount; ++k) {
        if (RdKey() != 'a' + k % 26) ++wrong;
    }
    poster.join();
    EXPECT_EQ(wrong, 0);
}
