// The 3D engine demonstration, checked against the recorded requests of one whole run.
#include <gtest/gtest.h>

#include <set>

#include "engine3d/QX3D.h"
#include "shows/Demo.h"
#include "shows/PiCijfers.h"
#include "shows/Shows.h"
#include "tests/shows/ShowRecording.h"

using namespace showtest;

namespace {

std::set<int64_t> LineColours(const Frame& b) {
    std::set<int64_t> colours;
    for (const std::string& l : b.Requests("line")) colours.insert(testsupport::ParseTraceLine(l).value().numbers.at(4));
    return colours;
}

// Scene 4's painting cube: light blue, then after every hundredth frame the
// next colour from blue on; the small cube takes over at frame 1000.
int Scene4Colour(std::size_t i) {
    if (i == 0) return LIGHTBLUE;
    if (i < 1000) return static_cast<int>((i - 1) / 100 + 1);
    return i == 1000 ? LIGHTYELLOW : LIGHTCYAN;
}

}  // namespace

TEST(Demo, WaveBlocksFormOneRipplingSurface) {
    QX3D::Polyhedron golf[KYR12::golfBlokken];
    KYR12::PrepareTheWave(golf);
    for (CARDINAL i = 0; i <= 400; ++i) {
        KYR12::BeweegGolf(golf, i);
        for (std::size_t j = 0; j + 1 < KYR12::golfBlokken; ++j) {
            ASSERT_EQ(golf[j].hoek[2].y, golf[j + 1].hoek[1].y) << "frame " << i;
            ASSERT_EQ(golf[j].hoek[3].y, golf[j + 1].hoek[0].y) << "frame " << i;
            ASSERT_EQ(golf[j].hoek[6].y, 170);
            ASSERT_NEAR(golf[j].hoek[0].y, 130, 100);   // the offsets add up but stay bounded
        }
    }
}

TEST(Demo, WholeRun) {
    PrepareShow();
    const QX3D::Vector punt = QX3D::MaakVector(-100, 37, 886.81f);
    const INTEGER kolom = QX3D::ProjectieX(punt), rij = QX3D::ProjectieY(punt);
    PostKeyDown("d");
    const std::vector<Frame> o = Record(KYR12::Demo);

    // 4189 frames paced at 25 or 50 ms, the pauses, and the engine setting back.
    const std::vector<const Frame*> b25 = FramesWaiting(o, 25), b50 = FramesWaiting(o, 50);
    ASSERT_EQ(b25.size(), 1194u + 1501 + 501);
    ASSERT_EQ(b50.size(), 45u + 45 + 401 + 301 + 201);
    EXPECT_EQ(TotalWaitMs(o), 131600u);
    EXPECT_EQ(QX3D::ProjectieX(punt), kolom);
    EXPECT_EQ(QX3D::ProjectieY(punt), rij);
    EXPECT_EQ(FirstQueuedCharacter(), 'd');

    // Scene 4: the black copy of the hidden cube, then the painting cube.
    for (std::size_t i = 0; i <= 1500; ++i)
        ASSERT_EQ(LineColours(*b25[1194 + i]), (std::set<int64_t>{BLACK, Scene4Colour(i)})) << "frame " << i;

    // Scene 6: the digit rows, and white flashes after six of its frames.
    const std::vector<TraceText> pi = b25[2695]->Texts();
    ASSERT_EQ(pi.size(), 28u);
    for (int r = 0; r < 28; ++r) {
        EXPECT_EQ(pi[r].text, KYR12::PiRegels()[r]);
        EXPECT_EQ(pi[r].y, 100 + 15 * r);
    }
    std::vector<std::size_t> flitsen;
    const std::size_t scene6 = static_cast<std::size_t>(b25[2695] - o.data());
    for (std::size_t n = scene6; n < o.size(); ++n) {
        if (o[n].waitMs != 100) continue;
        flitsen.push_back(n - 1 - scene6 - flitsen.size());
        EXPECT_EQ(o[n].lines.front(), "rect 0 0 1025 730 15 fill");
        EXPECT_EQ(o[n].Texts()[27].colour, LIGHTGREEN);
        EXPECT_EQ(LineColours(o[n]), std::set<int64_t>{BRIGHTWHITE});
        EXPECT_EQ(o[n + 1].lines.front(), kClearScreen);
    }
    EXPECT_EQ(flitsen, (std::vector<std::size_t>{300, 304, 308, 315, 316, 330}));

    // Scene 7: frame n is projected with a view angle of 29 + n degrees, so
    // at frame 151 (180 degrees) the cross shrinks onto the picture centre.
    for (const std::string& l : b50[491 + 151]->Requests("line")) EXPECT_EQ(l, "line 512 365 512 365 15");
    EXPECT_NE(b50[491 + 150]->Requests("line"), b50[491 + 151]->Requests("line"));
}
