// The title glyphs and the intro, checked against the recorded requests.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/console/InputQueue.h"
#include "shows/Shows.h"
#include "shows/Titel.h"
#include "tests/shows/Opname.h"

using namespace ShowsTest;
using namespace KYR12;
using QX3D::Polyhedron;

namespace {

std::vector<std::string> Sterren(const Beeld& b) {
    std::vector<std::string> uit;
    for (const std::string& r : b.regels)
        if (r.rfind("rect ", 0) == 0 && r.find(" 7 fill") != std::string::npos) uit.push_back(r);
    return uit;
}

}  // namespace

TEST(Titel, GlyphsHaveTheirSlotsColoursAndOffsets) {
    Polyhedron C[4]{}, S[7]{}, SS[7]{};
    MaakC(C);
    MaakS(S);
    MaakSS(SS);
    // C1 corners 4 and 5 share (-20, -20), near and far face.
    EXPECT_EQ(C[1].hoek[4].x, -20);
    EXPECT_EQ(C[1].hoek[4].z, 50);
    EXPECT_EQ(C[1].hoek[5].z, -50);
    // The bevelled end of S4: corner 6 at (90, 30).
    EXPECT_EQ(S[4].hoek[6].x, 90);
    EXPECT_EQ(S[4].hoek[6].y, 30);
    for (int n = 1; n <= 5; ++n)
        for (int h = 0; h < 8; ++h) {
            EXPECT_EQ(SS[n].hoek[h].x, S[n].hoek[h].x + 70);
            EXPECT_EQ(SS[n].hoek[h].y, S[n].hoek[h].y);
        }
    EXPECT_EQ(C[3].kleur[5], LIGHTGREEN);
    EXPECT_EQ(S[2].kleur[0], LIGHTRED);
    EXPECT_EQ(SS[5].kleur[3], LIGHTYELLOW);
    // Slot 0 and slot 6 are never built.
    EXPECT_EQ(C[0].kleur[0], 0u);
    EXPECT_EQ(S[6].hoek[3].x, 0);
    EXPECT_EQ(SS[0].hoek[0].z, 0);
}

TEST(Titel, FullTurnBringsTheGlyphsBack) {
    Polyhedron C[4]{}, S[7]{}, SS[7]{};
    MaakC(C);
    MaakS(S);
    MaakSS(SS);
    verschuifC(C, QX3D::MaakVector(-70, 0, 258));
    verschuifS(S, QX3D::MaakVector(-70, 0, 258));
    verschuifSS(SS, QX3D::MaakVector(-70, 0, 258));
    Polyhedron C0[4], SS0[7];
    std::copy(std::begin(C), std::end(C), C0);
    std::copy(std::begin(SS), std::end(SS), SS0);
    for (int graad = 0; graad < 360; ++graad)
        DraaiKYRRondAs(C, S, SS, 1.0f, QX3D::MaakVector(0, 1, 0), QX3D::MaakVector(0, 0, 260));
    for (int h = 0; h < 8; ++h) {
        EXPECT_NEAR(C[2].hoek[h].x, C0[2].hoek[h].x, 0.05);
        EXPECT_NEAR(C[2].hoek[h].z, C0[2].hoek[h].z, 0.05);
        EXPECT_NEAR(SS[5].hoek[h].x, SS0[5].hoek[h].x, 0.05);
        EXPECT_NEAR(SS[5].hoek[h].z, SS0[5].hoek[h].z, 0.05);
    }
    EXPECT_EQ(SS[4].kleur[1], LIGHTYELLOW);
}

TEST(Intro, FramesTitleLinesAndQueuedKeys) {
    Omgeving();
    IO::InputEvent toets;
    toets.key.asciiChar = 'x';
    IO::PostInput(toets);
    const std::vector<Beeld> opname = Neem(KYR12::Intro);

    ASSERT_EQ(opname.size(), 581u);
    EXPECT_EQ(TotaleWacht(opname), 581u * 50);
    // Approach frames: 13 blocks of 12 edges, no text. C1 edge 0-1 at
    // depth offset 700 (corners at z 750 and 650), SS5 edge 2-6 (slot 3 colour).
    EXPECT_EQ(opname[0].regels.front(), wisScherm);
    std::vector<std::string> lijnen = opname[0].Lijnen();
    ASSERT_EQ(lijnen.size(), 156u);
    EXPECT_EQ(lijnen[0], "line 418 331 404 325 10");
    EXPECT_EQ(lijnen[155], "line 621 406 621 420 14");
    EXPECT_TRUE(opname[0].Teksten().empty());
    // The last approach frame stands at offset 260 (corners at z 310 and 210).
    EXPECT_EQ(opname[220].Lijnen()[0], "line 284 280 175 239 10");
    // The first turn frame shows the glyphs unturned at offset 258.
    EXPECT_EQ(opname[221].Lijnen()[0], "line 283 280 172 238 10");

    for (std::size_t b = 221; b < opname.size(); ++b) {
        const std::vector<Tekst> teksten = opname[b].Teksten();
        ASSERT_EQ(teksten.size(), 5u);
        EXPECT_EQ(teksten[0].tekst, "Tolvenmark Present:");
        EXPECT_EQ(teksten[1].tekst, "       in STUNNING 3D...");
        EXPECT_EQ(teksten[3].x, 380);
        EXPECT_EQ(teksten[3].y, 605);
        EXPECT_EQ(teksten[4].kleur, LIGHTYELLOW);
    }
    IO::InputEvent nog;
    ASSERT_TRUE(IO::PeekInput(nog));
    EXPECT_EQ(nog.key.asciiChar, 'x');
}

TEST(Intro, EveryReplaySeedsTheStarsFromTheClock) {
    Omgeving();
    ZetKlok(5, 370);
    const std::vector<std::string> eerste = Sterren(Neem(KYR12::Intro)[0]);
    const std::vector<std::string> tweede = Sterren(Neem(KYR12::Intro)[0]);
    ZetKlok(6, 370);
    const std::vector<std::string> derde = Sterren(Neem(KYR12::Intro)[0]);
    EXPECT_FALSE(eerste.empty());
    EXPECT_EQ(eerste, tweede);
    EXPECT_NE(eerste, derde);
}
