// The whole program through kyr-headless, as seen from the sequences: keys
// typed during the intro wait for the menu, Close plays the credits last,
// and the run ends with its two line ends and status 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/headless/HeadlessRun.h"

namespace {

using HeadlessRun::TextLine;

std::size_t Tel(const std::vector<TextLine>& lines, const std::string& text, unsigned x) {
    std::size_t n = 0;
    for (const TextLine& t : lines) n += t.text == text && t.x == x;
    return n;
}

long Laatste(const std::vector<TextLine>& lines, const std::string& text) {
    for (long i = static_cast<long>(lines.size()) - 1; i >= 0; --i)
        if (lines[i].text == text) return i;
    return -1;
}

long Eerste(const std::vector<TextLine>& lines, const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].text == text) return static_cast<long>(i);
    return -1;
}

}  // namespace

TEST(ProgramRun, IntroKeysWaitForTheMenuAndCloseEndsWithTheCredits) {
    // SPACE typed during the first intro performs entry 1 (the intro again)
    // as soon as the menu reads keys; UP and SPACE then choose Close.
    const HeadlessRun::Result r = HeadlessRun::RunHeadless(
        "at 0 trace trace.txt\n"
        "at 1000 key SPACE\n"
        "at 70000 key UP\n"
        "at 70010 key SPACE\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "\n\n");

    const std::vector<TextLine> lines = HeadlessRun::TextLines(HeadlessRun::ReadFile(r.dir + "/trace.txt"));
    EXPECT_EQ(Tel(lines, "Skyrothane", 447), 2u * 360);
    EXPECT_EQ(Tel(lines, "* KYR was designed and created by:... *", 380), 701u);
    EXPECT_EQ(Tel(lines, "* KYR was designed and created by:... *", 400), 601u);
    // Intro, menu, intro, menu, credits: nothing of the menu after the credits begin.
    const long credits = Eerste(lines, "* KYR was designed and created by:... *");
    EXPECT_LT(Eerste(lines, "**9**     Close"), Laatste(lines, "Skyrothane"));
    EXPECT_LT(Laatste(lines, "Skyrothane"), Laatste(lines, "**9**     Close"));
    EXPECT_LT(Laatste(lines, "**9**     Close"), credits);
    // The last request of the run is the wave of the thanks line (row 450, amplitude 7).
    EXPECT_NEAR(static_cast<int>(lines.back().y), 450, 7);
}
