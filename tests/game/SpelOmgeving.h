// Test support for the game: a virtual clock whose waits take no real time,
// console key records, a capture of Graph's request trace, and a fixture
// with the program freshly initialised (level 1, speed 0, offscreen window).
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "game/GameState.h"
#include "platform/console/Clock.h"

namespace spel_test {

// Time moves only when the program waits; the hook runs after every wait.
class NepKlok : public Clock::Source {
public:
    uint64_t nu = 5'000'000;
    std::function<void(uint64_t van, uint64_t tot)> naWachten;
    std::FILE* spoor = nullptr;   // when set, each wait is traced as "wait US"
    uint64_t NowUs() override { return nu; }
    void SleepUntilUs(uint64_t deadline) override;
    Clock::WallTime LocalTime() override { return {2026, 12, 7, 5, 0, 17, 430, 0, true, false}; }
};

enum class Toets { Op, Rechts, Neer, Links, Spatie, Q };
void Druk(Toets toets);

// Graph's request trace (and the clock's waits) between Start and Stop.
class Spoor {
public:
    void Start(NepKlok* klok = nullptr);
    std::vector<std::string> Stop();
    ~Spoor() { Stop(); }

private:
    std::FILE* bestand_ = nullptr;
    NepKlok* klok_ = nullptr;
};
std::vector<std::string> Met(const std::vector<std::string>& regels, const std::string& begin);

// Objects placed straight into the level; the counter grows to cover them.
void ZetVijand(CARDINAL i, QX3D::Vector positie, QX3D::Vector richting = {0.0f, 0.0f, 0.0f});
void ZetKogelA(CARDINAL j, QX3D::Vector positie);
void ZetKogelV(CARDINAL j, QX3D::Vector positie);

class SpelTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    NepKlok klok;
};

}  // namespace spel_test
