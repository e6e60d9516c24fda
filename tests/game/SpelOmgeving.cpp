#include "tests/game/SpelOmgeving.h"

#include <algorithm>
#include <cstdio>

#include "game/Game.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/InputQueue.h"
#include "platform/console/UsKeyboard.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "shell/StandardLib.h"

namespace spel_test {

void Druk(Toets toets) {
    using IO::KnownKey;
    // Indexed by RdArrowKey's code.
    static constexpr const IO::UsKey* toetsen[] = {
        &KnownKey(IO::UsKeyNamed("UP")),   &KnownKey(IO::UsKeyNamed("RIGHT")),
        &KnownKey(IO::UsKeyNamed("DOWN")), &KnownKey(IO::UsKeyNamed("LEFT")),
        &KnownKey(IO::UsKeyTyping('q')),   &KnownKey(IO::UsKeyNamed("SPACE"))};
    const IO::UsKey& k = *toetsen[static_cast<CARDINAL>(toets)];
    IO::InputEvent e;
    e.key = {true, 1, k.virtualKeyCode, k.scanCode, k.plain, k.enhanced ? IO::ENHANCED_KEY : 0u};
    IO::PostInput(e);
}

void Spoor::Start(FakeClock* klok) {
    opname_.emplace();
    klok_ = klok;
    if (klok_ != nullptr) {
        klok_->afterWait = [bestand = opname_->File()](uint64_t van, uint64_t tot) {
            std::fprintf(bestand, "wait %llu\n", static_cast<unsigned long long>(std::max(van, tot) - van));
        };
    }
}

std::vector<std::string> Spoor::Stop() {
    if (!opname_) return {};
    opname_->Stop();
    if (klok_ != nullptr) klok_->afterWait = nullptr;
    std::vector<std::string> regels = opname_->Lines();
    opname_.reset();
    return regels;
}

void ZetVijand(CARDINAL i, QX3D::Vector positie, QX3D::Vector richting) {
    KYR12::VijandAr[i] = KYR12::VijandRc{positie, richting, true, 1, RED};
    KYR12::CNTVijand = std::max(KYR12::CNTVijand, i);
}

void ZetKogelA(CARDINAL j, QX3D::Vector positie) {
    KYR12::KogelAAr[j] = KYR12::BulletRc{positie, {0.0f, 0.0f, 10.0f}, true};
    KYR12::CNTKogA = std::max(KYR12::CNTKogA, j);
}

void ZetKogelV(CARDINAL j, QX3D::Vector positie) {
    KYR12::KogelVAr[j] = KYR12::BulletRc{positie, {0.0f, 0.0f, -10.0f}, true};
    KYR12::CNTKogV = std::max(KYR12::CNTKogV, j);
}

void SpelTest::SetUp() {
    static bool venster = false;
    klok.now = 5'000'000;
    klok.wall = {2026, 12, 7, 5, 0, 17, 430, 0, true, false};
    Clock::Use(klok);
    if (!venster) {
        Graph::ModuleInit();
        ASSERT_TRUE(Graph::Init(1, 1, 1025, 730));
        venster = true;
    }
    QX3D::Init3D(1025, 730, 60.0f);
    IO::ModuleInit();
    IO::ClearInput();
    Lib::ModuleInit();
    StandardLib::ModuleInit();
    KYR12::ResetGameState();
    KYR12::level = 1;
    KYR12::Snelheid = 0.0f;
    KYR12::Initialize();
}

void SpelTest::TearDown() {
    Graph::SetTrace(nullptr);
    Graph::Sync();
    IO::ClearInput();
    Clock::Use(Clock::RealClock());
}

}  // namespace spel_test
