// Test support for the game: console key records, a capture of Graph's
// request trace (with the clock's waits), and a fixture with the program
// freshly initialised (level 1, speed 0, offscreen window) on a fake clock
// whose waits take no real time.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "game/GameState.h"
#include "shell/StandardLib.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TraceRecorder.h"

namespace spel_test {

using testsupport::FakeClock;

// A key by the code RdArrowKey reads for it; Q is the q key, one of the
// other keys (which end a game).
enum class Toets : CARDINAL {
    Op = StandardLib::ArrowUp,
    Rechts = StandardLib::ArrowRight,
    Neer = StandardLib::ArrowDown,
    Links = StandardLib::ArrowLeft,
    Spatie = StandardLib::ArrowSpace,
    Q = StandardLib::ArrowOther,
};
// Posts the key-down record of the key, without modifiers.
void Druk(Toets toets);

// Graph's request trace between Start and Stop; with a clock, each of its
// waits is traced too, as "wait US" (the clock's hook is taken meanwhile).
class Spoor {
public:
    void Start(FakeClock* klok = nullptr);
    std::vector<std::string> Stop();
    ~Spoor() { Stop(); }

private:
    std::optional<testsupport::TraceRecorder> opname_;
    FakeClock* klok_ = nullptr;
};
using testsupport::LinesStartingWith;

// Objects placed straight into the level; the counter grows to cover them.
void ZetVijand(CARDINAL i, QX3D::Vector positie, QX3D::Vector richting = {0.0f, 0.0f, 0.0f});
void ZetKogelA(CARDINAL j, QX3D::Vector positie);
void ZetKogelV(CARDINAL j, QX3D::Vector positie);

class SpelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    FakeClock klok;
};

}  // namespace spel_test
