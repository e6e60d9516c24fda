// Test support for the game: a virtual clock whose waits take no real time,
// key records as the console delivers them, a capture of Graph's request
// trace, and short ways to put enemies and bullets into the game state.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine3d/QX3D.h"
#include "game/GameState.h"
#include "platform/console/Clock.h"

namespace spel_test {

// Time only moves when the program waits. After every wait the test's hook
// runs, which is how a test acts "between frames" of a running game.
class NepKlok : public Clock::Source {
public:
    uint64_t nu = 5'000'000;
    std::function<void(uint64_t van, uint64_t tot)> naWachten;
    std::FILE* spoor = nullptr;   // when set, each wait is written as "wait US"

    uint64_t NowUs() override { return nu; }
    void SleepUntilUs(uint64_t deadline) override;
    Clock::WallTime LocalTime() override;
};

enum class Toets { Op, Rechts, Neer, Links, Spatie, Q, Enter };
void Druk(Toets toets);

// Graph's request trace between Start and Stop, one line per request.
class Spoor {
public:
    void Start(NepKlok* klok = nullptr);
    std::vector<std::string> Stop();
    ~Spoor();

private:
    std::FILE* bestand_ = nullptr;
    NepKlok* klok_ = nullptr;
};

// Lines of `regels` that begin with `begin`.
std::vector<std::string> Met(const std::vector<std::string>& regels, const std::string& begin);
// Index of the first line equal to `regel` from `vanaf`, or -1.
int Zoek(const std::vector<std::string>& regels, const std::string& regel, int vanaf = 0);

// Places objects directly into the level state; the counter grows to cover them.
void ZetVijand(CARDINAL i, QX3D::Vector positie, QX3D::Vector richting = {0.0f, 0.0f, 0.0f});
void ZetKogelA(CARDINAL j, QX3D::Vector positie, QX3D::Vector richting = {0.0f, 0.0f, 10.0f});
void ZetKogelV(CARDINAL j, QX3D::Vector positie, QX3D::Vector richting = {0.0f, 0.0f, -10.0f});

// Every test starts from a freshly initialised program at level 1, speed 0,
// with the graphics window open offscreen and the virtual clock installed.
class SpelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    NepKlok klok;
};

}  // namespace spel_test
