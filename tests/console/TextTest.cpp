// Whole numbers as text, and text written to standard output.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/console/IO.h"
#include "platform/console/WholeStr.h"

namespace {

// Runs body with standard output sent into a pipe; returns what it wrote.
template <typename Body>
std::string CaptureStdout(Body body) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    int saved = dup(STDOUT_FILENO);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[1]);
    body();
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(n));
    close(fds[0]);
    return text;
}

// Every byte of the array, terminating zero or not.
template <std::size_t N>
std::string Bytes(const CHAR (&s)[N]) {
    return std::string(s, N);
}

}  // namespace

TEST(WholeStr, CardToStrFitsCutsAndTerminates) {
    CHAR four[4];
    std::memset(four, '#', sizeof four);
    WholeStr::CardToStr(25, four);
    EXPECT_EQ(Bytes(four), std::string("25\0#", 4));

    CHAR three[3];
    WholeStr::CardToStr(12345, three);
    EXPECT_EQ(Bytes(three), "123");  // leading digits, no zero byte

    CHAR exact[3];
    WholeStr::CardToStr(999, exact);
    EXPECT_EQ(Bytes(exact), "999");

    CHAR wide[12];
    WholeStr::CardToStr(0, wide);
    EXPECT_STREQ(wide, "0");
    WholeStr::CardToStr(4294967295u, wide);
    EXPECT_STREQ(wide, "4294967295");
}

TEST(WholeStr, IntToStrSignsAndTheMostNegativeValue) {
    CHAR s[12];
    WholeStr::IntToStr(25, s);
    EXPECT_STREQ(s, "25");
    WholeStr::IntToStr(0, s);
    EXPECT_STREQ(s, "0");
    WholeStr::IntToStr(-5, s);
    EXPECT_STREQ(s, "-5");
    WholeStr::IntToStr(INT_MIN, s);
    EXPECT_STREQ(s, "-2147483648");
    WholeStr::IntToStr(INT_MAX, s);
    EXPECT_STREQ(s, "2147483647");

    CHAR five[5];
    WholeStr::IntToStr(INT_MIN, five);
    EXPECT_EQ(Bytes(five), "-2147");
    CHAR one[1];
    WholeStr::IntToStr(-5, one);
    EXPECT_EQ(Bytes(one), "-");
    CHAR two[2] = {'#', '#'};
    WholeStr::IntToStr(7, two);
    EXPECT_EQ(Bytes(two), std::string("7\0", 2));
    WholeStr::IntToStr(-5, two, 0);  // an empty array is left alone
    WholeStr::CardToStr(5, two, 0);
    EXPECT_EQ(Bytes(two), std::string("7\0", 2));
}

TEST(ConsoleOutput, WrStrStopsAtZeroOrAtTheArraysEndAndWrCardWritesPlainDigits) {
    const CHAR withZero[6] = {'a', 'b', '\0', 'c', 'd', '\0'};
    const CHAR full[3] = {'x', 'y', 'z'};
    EXPECT_EQ(CaptureStdout([&] { IO::WrStr(withZero); }), "ab");
    EXPECT_EQ(CaptureStdout([&] { IO::WrStr(full); }), "xyz");
    EXPECT_EQ(CaptureStdout([] { IO::WrStr("[ERROR] line"); IO::WrLn(); }), "[ERROR] line\n");
    EXPECT_EQ(CaptureStdout([] { IO::WrCard(0, 0); }), "0");
    EXPECT_EQ(CaptureStdout([] { IO::WrCard(4294967295u, 0); }), "4294967295");
    EXPECT_EQ(CaptureStdout([] { IO::WrCard(42, 5); }), "   42");
    EXPECT_EQ(CaptureStdout([] { IO::WrCard(12345, 2); }), "12345");
}

TEST(ConsoleOutput, WritingToAClosedPipeDoesNotEndTheProgram) {
    IO::ModuleInit();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    int saved = dup(STDOUT_FILENO);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[1]);
    IO::WrStr("nobody reads this");
    IO::WrLn();
    dup2(saved, STDOUT_FILENO);
    close(saved);
    SUCCEED();
}
