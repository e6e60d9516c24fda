// Key records into IO.KeyPressed and IO.RdKey results.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "platform/console/KeyDecoder.h"
#include "tests/console/FakeClock.h"

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

void Post(const KeyRecord& key) {
    InputEvent e;
    e.isKey = true;
    e.key = key;
    PostInput(e);
}

void PostNonKey() {
    InputEvent e;
    e.isKey = false;
    PostInput(e);
}

const KeyRecord kUp = Key(0x26, 0x48, 0, ENHANCED_KEY);
const KeyRecord kSpace = Key(0x20, 0x39, ' ', 0);
const KeyRecord kLetterQ = Key(0x51, 0x10, 'q', 0);
const KeyRecord kShiftAlone = Key(0x10, 0x2A, 0, SHIFT_PRESSED);

// Posts the keys a terminal sends for these bytes.
void Type(const std::string& bytes) {
    KeyDecoder decoder;
    std::vector<KeyRecord> out;
    decoder.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
    decoder.TimePassed(out);
    for (const KeyRecord& k : out) Post(k);
}

class RdKeyTest : public testing::Test {
protected:
    void SetUp() override {
        ClearInput();
        IO::ModuleInit();
    }
    void TearDown() override { SetWaitHook(nullptr); }

    // Reads n characters.
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

TEST_F(RdKeyTest, UnmodifiedKeys) {
    Post(Key(0x28, 0x50, 0, ENHANCED_KEY));               // Down
    Post(Key(0x25, 0x4B, 0, 0));                          // keypad 4, Num Lock off
    Post(Key(0x27, 0x4D, 0, ENHANCED_KEY | NUMLOCK_ON | CAPSLOCK_ON | SCROLLLOCK_ON));
    Post(Key(0x0D, 0x1C, 0x0D, 0));                       // Enter
    Post(Key(0x0D, 0x1C, 0x0D, ENHANCED_KEY));            // keypad Enter
    Post(Key(0x1B, 0x01, 0x1B, 0));                       // Esc
    Post(Key(0x1B, 0x01, 0, 0));                          // Esc without a character
    Post(Key(0x70, 0x3B, 0, 0));                          // F1
    Post(Key(0x41, 0x1E, 'a', CAPSLOCK_ON));
    EXPECT_EQ(Read(13), (V{0, 0x50, 0, 0x4B, 0, 0x4D, 0x0D, 0x0D, 0x1B, 0x1B, 0, 0x3B, 'a'}));
}

TEST_F(RdKeyTest, ModifierKeysAloneAndShiftWithoutCharacterAreSkipped) {
    Post(kShiftAlone);
    Post(Key(0x10, 0x36, 0, SHIFT_PRESSED));                       // right Shift
    Post(Key(0x11, 0x1D, 0, LEFT_CTRL_PRESSED));                   // left Ctrl
    Post(Key(0x11, 0x1D, 0, RIGHT_CTRL_PRESSED | ENHANCED_KEY));   // right Ctrl
    Post(Key(0x12, 0x38, 0, LEFT_ALT_PRESSED));                    // left Alt
    Post(Key(0x12, 0x38, 0, RIGHT_ALT_PRESSED | ENHANCED_KEY));    // right Alt
    Post(Key(0x26, 0x48, 0, SHIFT_PRESSED | ENHANCED_KEY));        // Shift+Up
    Post(Key(0x70, 0x3B, 0, SHIFT_PRESSED));                       // Shift+F1
    Post(Key(0x41, 0x1E, 0, LEFT_CTRL_PRESSED | LEFT_ALT_PRESSED));  // Ctrl+Alt+A
    Post(Key(0x41, 0x1E, 'A', SHIFT_PRESSED));
    EXPECT_TRUE(KeyPressed());  // the Shift key counts as pressed...
    EXPECT_EQ(RdKey(), 'A');    // ...but RdKey waits for a real key
    ASSERT_FALSE(KeyPressed());
}

TEST_F(RdKeyTest, ShiftWithScanCodeOfLeftShiftIsSkippedEvenWithACharacter) {
    Post(Key(0x10, 0x2A, 'x', SHIFT_PRESSED));
    Post(kLetterQ);
    EXPECT_EQ(RdKey(), 'q');
}

TEST_F(RdKeyTest, CtrlCombinationsGiveZeroThenCtrlCode) {
    Post(Key(0x26, 0x48, 0, LEFT_CTRL_PRESSED | ENHANCED_KEY));   // Ctrl+Up
    Post(Key(0x28, 0x50, 0, RIGHT_CTRL_PRESSED | ENHANCED_KEY));  // right Ctrl+Down
    Post(Key(0x09, 0x0F, 0x09, LEFT_CTRL_PRESSED));               // Ctrl+Tab
    Post(Key(0x71, 0x3C, 0, LEFT_CTRL_PRESSED));                  // Ctrl+F2
    Post(Key(0x78, 0x43, 0, RIGHT_CTRL_PRESSED));                 // Ctrl+F9
    Post(Key(0x2D, 0x52, 0, LEFT_CTRL_PRESSED | ENHANCED_KEY | NUMLOCK_ON));  // Ctrl+Insert
    EXPECT_EQ(Read(12), (V{0, 0x8D, 0, 0x91, 0, 0x94, 0, 0x5F, 0, 0x66, 0, 0x92}));
}

TEST_F(RdKeyTest, CombinationWithoutSecondCodeGivesALoneZero) {
    Post(Key(0x41, 0x1E, 0x01, LEFT_CTRL_PRESSED));  // Ctrl+A
    Post(Key(0x51, 0x10, 'q', LEFT_ALT_PRESSED));    // Alt+Q
    Post(kSpace);
    EXPECT_EQ(Read(3), (V{0, 0, 0x20}));
}

TEST_F(RdKeyTest, AltCombinations) {
    Post(Key(0x24, 0x47, 0, LEFT_ALT_PRESSED | ENHANCED_KEY));   // Alt+Home
    Post(Key(0x2D, 0x52, 0, RIGHT_ALT_PRESSED | ENHANCED_KEY));  // Alt+Insert
    Post(Key(0x78, 0x43, 0, LEFT_ALT_PRESSED));                  // Alt+F9
    EXPECT_EQ(Read(6), (V{0, 0x97, 0, 0xA2, 0, 0x70}));
}

TEST_F(RdKeyTest, OtherModifierMixesGiveTheCharacterOrAreSkipped) {
    Post(Key(0x58, 0x2D, 0x18, SHIFT_PRESSED | LEFT_CTRL_PRESSED));    // Ctrl+Shift+X
    Post(Key(0x51, 0x10, 0, LEFT_CTRL_PRESSED | RIGHT_ALT_PRESSED));   // AltGr+Q, no character
    Post(Key(0x32, 0x03, '@', LEFT_CTRL_PRESSED | RIGHT_ALT_PRESSED));  // AltGr+2 on some layouts
    EXPECT_EQ(Read(2), (V{0x18, '@'}));
}

TEST_F(RdKeyTest, RepeatCountGivesOneCharacter) {
    KeyRecord held = Key(0x41, 0x1E, 'a', 0);
    held.repeatCount = 5;
    Post(held);
    Post(kLetterQ);
    EXPECT_EQ(Read(2), (V{'a', 'q'}));
}

TEST_F(RdKeyTest, KeyUpAndNonKeyEventsNeverReachRdKey) {
    Post(Key(0x41, 0x1E, 'a', 0, false));
    PostNonKey();
    Post(kLetterQ);
    EXPECT_EQ(RdKey(), 'q');
}

TEST_F(RdKeyTest, KeyPressedRemovesOneNonKeyDownEventPerCall) {
    Post(Key(0x41, 0x1E, 'a', 0, false));
    PostNonKey();
    Post(kLetterQ);
    EXPECT_FALSE(KeyPressed());
    EXPECT_FALSE(KeyPressed());
    EXPECT_TRUE(KeyPressed());
    EXPECT_TRUE(KeyPressed());  // stays queued for RdKey
    EXPECT_EQ(RdKey(), 'q');
}

TEST_F(RdKeyTest, IdleKeyPressedYieldsAboutAMillisecondThroughTheClock) {
    EXPECT_FALSE(KeyPressed());
    EXPECT_EQ(clock.now, 1000u);
    PostNonKey();
    EXPECT_FALSE(KeyPressed());  // removing an event is not idle
    EXPECT_EQ(clock.now, 1000u);
}

TEST_F(RdKeyTest, ArrowAfterALoneZeroIsReadAsItsSecondHalf) {
    // The arrow-key reader's view: Alt+letter leaves nothing pending, so an
    // arrow's own first half follows it and the arrow's scan code stays.
    Post(Key(0x51, 0x10, 'q', LEFT_ALT_PRESSED));
    Post(kUp);
    EXPECT_EQ(Read(3), (V{0, 0, 0x48}));
}

TEST_F(RdKeyTest, ModuleInitClearsThePendingHalf) {
    Post(kUp);
    EXPECT_EQ(RdKey(), 0);
    IO::ModuleInit();
    Post(kLetterQ);
    EXPECT_EQ(RdKey(), 'q');
}

namespace {
int hookCalls = 0;
void PostSpaceWhenWaited() {
    ++hookCalls;
    Post(kSpace);
}
}  // namespace

TEST_F(RdKeyTest, EmptyQueueRunsTheWaitHook) {
    hookCalls = 0;
    SetWaitHook(PostSpaceWhenWaited);
    Post(kShiftAlone);
    EXPECT_EQ(RdKey(), 0x20);
    EXPECT_EQ(hookCalls, 1);
}

TEST_F(RdKeyTest, RdKeyBlocksUntilAnotherThreadPosts) {
    std::thread poster([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Post(kLetterQ);
    });
    EXPECT_EQ(RdKey(), 'q');
    poster.join();
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

TEST_F(RdKeyTest, TerminalKeysAsTheProgramReadsThem) {
    Type("\x1b[A");        // Up
    Type("\x1bOB");        // Down, application cursor keys
    Type(" ");
    Type("\r");
    Type("\x1bOM");        // keypad Enter
    Type("\x1b[1;5A");     // Ctrl+Up
    Type("\x1b" "a");      // Alt+a: a lone 0
    Type("\x1b[1;2A");     // Shift+Up: skipped
    Type("\x1b");          // Esc
    Type("\x1b[5;5~");     // Ctrl+PgUp
    Type("\x1b[1;3H");     // Alt+Home
    Type("\x1b[20;3~");    // Alt+F9
    Type("\x7f");          // Backspace
    Type("Q");
    EXPECT_EQ(Read(18), (V{0, 0x48, 0, 0x50, 0x20, 0x0D, 0x0D, 0, 0x8D, 0, 0x1B, 0, 0x84, 0, 0x97, 0, 0x70, 0x08}));
    EXPECT_EQ(RdKey(), 'Q');
}
