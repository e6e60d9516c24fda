// The comparisons behind the golden tests: a difference must be found and
// placed exactly, in the frames a golden keeps whole and in those it keeps
// as digests, and in pictures down to one pixel.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempFiles.h"
#include "tools/golden/GoldenPicture.h"
#include "tools/golden/GoldenTrace.h"

namespace {

// Five frames of three requests and a mark: frame f's lines are 4f+1 .. 4f+4.
std::string FiveFrames(int changedLine = 0) {
    std::string text;
    for (int line = 1; line <= 20; ++line) {
        if (line % 4 == 0) text += "frame " + std::to_string(line / 4 * 50) + "\n";
        else text += line == changedLine ? "line 9 9 9 9 9\n" : "rect " + std::to_string(line) + " 0 1 1 7 fill\n";
    }
    return text;
}

Golden::Trace Parsed(const std::string& text) {
    Golden::Trace t;
    std::string error;
    EXPECT_TRUE(Golden::ParseTrace(text, t, error)) << error;
    return t;
}

TEST(GoldenTrace, GoldenKeepsFirstFramesWholeAndFindsTheFirstDifference) {
    const Golden::Trace fresh = Golden::CutFrames(FiveFrames());
    ASSERT_EQ(fresh.frames.size(), 5u);
    const std::string text = Golden::GoldenText(fresh, 2, "header");
    EXPECT_EQ(text.rfind("# header\nrect 1 0 1 1 7 fill\n", 0), 0u);
    EXPECT_NE(text.find("frame 100\ndigest 2 4 "), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 5), " 250\n");
    const Golden::Trace golden = Parsed(text);
    ASSERT_EQ(golden.frames.size(), 5u);
    EXPECT_TRUE(golden.frames[1].full);
    EXPECT_FALSE(golden.frames[2].full);
    EXPECT_EQ(Golden::FirstDifference(golden, fresh), "");

    // In a whole frame: the request itself, numbered as in the trace.
    std::string d = Golden::FirstDifference(golden, Golden::CutFrames(FiveFrames(6)));
    EXPECT_EQ(d.rfind("first difference at line 6, frame 1, shown at 100 ms", 0), 0u) << d;
    EXPECT_NE(d.find("  > 6  rect 6 0 1 1 7 fill\n"), std::string::npos) << d;
    EXPECT_NE(d.find("  > 6  line 9 9 9 9 9\n"), std::string::npos) << d;
    // In a digest: the frame and where it starts.
    d = Golden::FirstDifference(golden, Golden::CutFrames(FiveFrames(15)));
    EXPECT_EQ(d.rfind("first difference in frame 3, from line 13, shown at 200 ms", 0), 0u) << d;
    // ... or shown at another time.
    std::string later = FiveFrames();
    later.replace(later.find("frame 200"), 9, "frame 201");
    d = Golden::FirstDifference(golden, Golden::CutFrames(later));
    EXPECT_EQ(d.rfind("first difference in frame 3, from line 13, shown at 201 ms", 0), 0u) << d;
    // A frame more or less.
    d = Golden::FirstDifference(golden, Golden::CutFrames(FiveFrames() + "rect 0 0 1 1 7 fill\n"));
    EXPECT_EQ(d.rfind("the actual trace goes on after the expected one's last frame: frame 5 from line 21", 0), 0u);
    const std::string four = FiveFrames().substr(0, FiveFrames().find("rect 17"));
    EXPECT_EQ(Golden::FirstDifference(golden, Golden::CutFrames(four)).rfind("the actual trace ends after line 16", 0),
              0u);

    Golden::Trace broken;
    std::string error;
    EXPECT_FALSE(Golden::ParseTrace("# h\ndigest 0 4 0123456789abcdef 50\ndigest 2 4 0123456789abcdef 100\n", broken, error));
    EXPECT_EQ(error, "line 3: bad digest line");
}

TEST(GoldenPicture, CountsAndBoundsDifferingPixelsAndShowsThemRed) {
    Golden::Picture want{4, 3, std::vector<uint32_t>(12, 0x808080FFu)};
    Golden::Picture got = want;
    got.rgba[1 * 4 + 3] = 0x808081FFu;   // (3, 1): one channel one step off
    got.rgba[2 * 4 + 1] = 0x80808000u;   // (1, 2): alpha only
    const std::string path = testsupport::FreshFolder("golden-") + "/got.png";
    ASSERT_TRUE(Golden::WritePicture(path, got));
    Golden::Picture read;
    ASSERT_TRUE(Golden::ReadPicture(path, read));
    EXPECT_EQ(read.rgba, got.rgba);

    const Golden::PictureDifference d = Golden::Compare(want, read);
    EXPECT_FALSE(d.sizes);
    EXPECT_EQ(d.pixels, 2);
    EXPECT_EQ((std::vector<int>{d.left, d.top, d.right, d.bottom}), (std::vector<int>{1, 1, 3, 2}));
    const Golden::Picture diff = Golden::DifferencePicture(want, read);
    EXPECT_EQ(diff.rgba[7], 0xFF0000FFu);
    EXPECT_EQ(diff.rgba[0], 0x202020FFu);
    EXPECT_EQ(Golden::Compare(want, Golden::Picture{3, 4, want.rgba}).sizes, true);
    EXPECT_EQ(Golden::Compare(want, want).pixels, 0);
}

}  // namespace
