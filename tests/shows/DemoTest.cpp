// The 3D engine demonstration, checked against the recorded requests of one whole run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "engine3d/QX3D.h"
#include "platform/console/InputQueue.h"
#include "shows/Demo.h"
#include "shows/PiCijfers.h"
#include "shows/Shows.h"
#include "tests/shows/Opname.h"

using namespace ShowsTest;

namespace {

std::set<int> LijnKleuren(const Beeld& b) {
    std::set<int> kleuren;
    for (const std::string& l : b.Lijnen()) kleuren.insert(std::atoi(l.substr(l.rfind(' ') + 1).c_str()));
    return kleuren;
}

bool HeeftTekst(const Beeld& b, const std::string& tekst) {
    for (const Tekst& t : b.Teksten())
        if (t.tekst == tekst) return true;
    return false;
}

// The painting cube's colour in scene 4: light blue, then after every
// hundredth frame the next colour from blue on; the small cube takes over at 1000.
int Scene4Kleur(std::size_t i) {
    if (i == 0) return LIGHTBLUE;
    if (i < 1000) return static_cast<int>((i - 1) / 100 + 1);
    return i == 1000 ? LIGHTYELLOW : LIGHTCYAN;
}

}  // namespace

TEST(Demo, WaveBlocksFormOneSurface) {
    QX3D::Polyhedron golf[KYR12::golfBlokken];
    KYR12::PrepareTheWave(golf);
    EXPECT_EQ(golf[0].hoek[0].x, -350);
    EXPECT_EQ(golf[6].hoek[3].x, 350);
    for (CARDINAL i = 0; i <= 400; ++i) {
        KYR12::BeweegGolf(golf, i);
        for (std::size_t j = 0; j + 1 < KYR12::golfBlokken; ++j) {
            ASSERT_EQ(golf[j].hoek[2].y, golf[j + 1].hoek[1].y) << "frame " << i;
            ASSERT_EQ(golf[j].hoek[3].y, golf[j + 1].hoek[0].y) << "frame " << i;
        }
        for (const QX3D::Polyhedron& blok : golf) {
            ASSERT_EQ(blok.hoek[6].y, 170);
            ASSERT_NEAR(blok.hoek[0].y, 130, 100);   // the offsets add up but stay bounded
        }
    }
}

TEST(Demo, WholeRun) {
    Omgeving();
    const QX3D::Vector punt = QX3D::MaakVector(-100, 37, 886.81f);
    const INTEGER kolom = QX3D::ProjectieX(punt), rij = QX3D::ProjectieY(punt);
    IO::InputEvent toets;
    toets.key.asciiChar = 'd';
    IO::PostInput(toets);

    const std::vector<Beeld> opname = Neem(KYR12::Demo);

    // Frames and waits: 4189 frames paced at 25 or 50 ms, plus the pauses.
    const std::vector<const Beeld*> b25 = MetWacht(opname, 25), b50 = MetWacht(opname, 50);
    ASSERT_EQ(b25.size(), 1194u + 1501 + 501);
    ASSERT_EQ(b50.size(), 45u + 45 + 401 + 301 + 201);
    EXPECT_EQ(MetWacht(opname, 100).size(), 6u);
    EXPECT_EQ(TotaleWacht(opname), 131600u);

    // The engine is back at the start-up setting; keys are still queued.
    EXPECT_EQ(QX3D::ProjectieX(punt), kolom);
    EXPECT_EQ(QX3D::ProjectieY(punt), rij);
    IO::InputEvent nog;
    ASSERT_TRUE(IO::PeekInput(nog));
    EXPECT_EQ(nog.key.asciiChar, 'd');

    // Scene 3 (i from 7 to 1200): the texts of the erase-and-redraw frames.
    std::size_t serieus = 0, indien = 0;
    for (std::size_t f = 0; f < 1194; ++f) {
        serieus += HeeftTekst(*b25[f], "Nu serieus !!");
        indien += HeeftTekst(*b25[f], "Indien u zeer gefacsineerd ben door de wondere");
    }
    EXPECT_EQ(serieus, 1200u - 490);
    EXPECT_EQ(indien, 1099u - 350);

    // Scene 4: the black copy of the hidden cube, then the painting cube.
    for (std::size_t i = 0; i <= 1500; ++i)
        ASSERT_EQ(LijnKleuren(*b25[1194 + i]), (std::set<int>{BLACK, Scene4Kleur(i)})) << "frame " << i;

    // Scene 6: the digit rows every frame, the white flashes after six frames.
    const std::vector<Tekst> pi = b25[2695]->Teksten();
    ASSERT_EQ(pi.size(), 28u);
    for (std::size_t r = 0; r < 28; ++r) {
        EXPECT_EQ(pi[r].y, 100 + 15 * static_cast<int>(r));
        EXPECT_EQ(pi[r].tekst, KYR12::PiRegels()[r]);
    }
    std::vector<std::size_t> flitsen;
    std::size_t scene6 = 0;
    for (std::size_t n = 0; n < opname.size(); ++n) {
        if (&opname[n] == b25[2695]) scene6 = n;
        if (opname[n].wachtMs != 100) continue;
        flitsen.push_back(n - 1 - scene6 - flitsen.size());
        EXPECT_EQ(opname[n].regels.front(), "rect 0 0 1025 730 15 fill");
        EXPECT_EQ(opname[n].Teksten()[27].kleur, LIGHTGREEN);
        EXPECT_EQ(LijnKleuren(opname[n]), std::set<int>{BRIGHTWHITE});
        EXPECT_EQ(opname[n + 1].regels.front(), wisScherm);
    }
    EXPECT_EQ(flitsen, (std::vector<std::size_t>{300, 304, 308, 315, 316, 330}));

    // Scene 7: frame n is projected with a view angle of 29 + n degrees, so
    // at frame 151 (180 degrees) the cross shrinks onto the picture centre.
    for (const std::string& l : b50[491 + 151]->Lijnen()) EXPECT_EQ(l, "line 512 365 512 365 15");
    EXPECT_NE(b50[491 + 149]->Lijnen(), b50[491 + 151]->Lijnen());
}
