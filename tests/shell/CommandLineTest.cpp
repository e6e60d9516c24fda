// kyr's command line: good options fill the window options, every kind of
// bad argument is named on one safe line, and the built program answers
// --help, --version and a bad option without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <vector>

#include "shell/CommandLine.h"
#include "tests/shell/ProgramRun.h"
#include "tests/support/TempFiles.h"

namespace {

using Renderer = Graph::SdlWindowOptions::Renderer;
using Shell::ParseCommandLine;
using Shell::QuoteArgument;

Shell::ParsedCommandLine Parse(std::initializer_list<std::string_view> arguments) {
    return ParseCommandLine(std::vector<std::string_view>(arguments));
}

bool PrintableAscii(const std::string& text) {
    for (char c : text)
        if (c < 0x20 || c > 0x7e) return false;
    return true;
}

TEST(CommandLineTest, NoArgumentsRunTheGameWithTheDefaultWindow) {
    const char* argv[] = {"kyr"};
    const Shell::ParsedCommandLine parsed = ParseCommandLine(1, argv);
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    EXPECT_FALSE(parsed.options.help);
    EXPECT_FALSE(parsed.options.version);
    EXPECT_EQ(parsed.options.window.scale, 1);
    EXPECT_FALSE(parsed.options.window.fullscreen);
    EXPECT_EQ(parsed.options.window.renderer, Renderer::Automatic);

    std::ostringstream out, err;
    EXPECT_EQ(Shell::AnswerWithoutRunning(parsed, out, err), std::nullopt);
    EXPECT_EQ(out.str() + err.str(), "");
}

TEST(CommandLineTest, GoodOptionsFillTheWindowOptions) {
    for (int scale = 1; scale <= 4; ++scale) {
        const std::string text = std::to_string(scale);
        EXPECT_EQ(Parse({"--scale", text}).options.window.scale, scale);
        EXPECT_EQ(Parse({"--scale=" + text}).options.window.scale, scale) << "joined form";
    }
    EXPECT_EQ(Parse({"--scale", "auto"}).options.window.scale, Graph::SdlWindowOptions::kAutoScale);
    EXPECT_EQ(Parse({"--renderer", "software"}).options.window.renderer, Renderer::Software);
    EXPECT_EQ(Parse({"--renderer=hardware"}).options.window.renderer, Renderer::Hardware);
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_TRUE(Parse({"--version"}).options.version);

    // All together, in any order (argv form); the last of a repeated option wins.
    const char* argv[] = {"kyr", "--fullscreen", "--scale=4", "--renderer", "software", "--scale", "2"};
    const Shell::ParsedCommandLine parsed = ParseCommandLine(7, argv);
    ASSERT_TRUE(parsed.Ok()) << parsed.error;
    EXPECT_TRUE(parsed.options.window.fullscreen);
    EXPECT_EQ(parsed.options.window.scale, 2);
    EXPECT_EQ(parsed.options.window.renderer, Renderer::Software);
    EXPECT_FALSE(parsed.options.help || parsed.options.version);

    const Shell::CommandLine files = Parse({"--record", "a b.kyrrec", "--replay=old.kyrrec", "--trace", "t"}).options;
    EXPECT_EQ(files.record, "a b.kyrrec");
    EXPECT_EQ(files.replay, "old.kyrrec");
    EXPECT_EQ(files.trace, "t");
    EXPECT_EQ(Parse({"--record="}).error, "bad value '' for option '--record' (a file name)");
}

TEST(CommandLineTest, BadValuesAreNamedWithWhatIsAccepted) {
    const std::vector<std::string> badScales = {
        "0", "5", "2x", "", "-1", "+2", " 2", "2 ", "1.5", "0x2", "4294967297", "99999999999999999999999", "Auto"};
    for (const std::string& value : badScales) {
        const std::string expected =
            "bad value " + QuoteArgument(value) + " for option '--scale' (a whole number from 1 to 4, or auto)";
        EXPECT_EQ(Parse({"--scale", value}).error, expected);
        EXPECT_EQ(Parse({"--scale=" + value}).error, expected) << "joined form";
    }
    for (const std::string_view value : {"Software", "gpu", "", "automatic", "AUTO"})
        EXPECT_EQ(Parse({"--renderer", value}).error,
                  "bad value " + QuoteArgument(value) + " for option '--renderer' (auto, software or hardware)");
    // The value is always the next argument, even one that looks like an option.
    EXPECT_EQ(Parse({"--scale", "--fullscreen"}).error,
              "bad value '--fullscreen' for option '--scale' (a whole number from 1 to 4, or auto)");
}

TEST(CommandLineTest, MissingValuesUnknownOptionsAndPositionalArgumentsAreErrors) {
    EXPECT_EQ(Parse({"--scale"}).error, "option '--scale' needs a value (a whole number from 1 to 4, or auto)");
    EXPECT_EQ(Parse({"--fullscreen", "--renderer"}).error, "option '--renderer' needs a value (auto, software or hardware)");
    EXPECT_EQ(Parse({"--fullscreen=yes"}).error, "option '--fullscreen' takes no value");
    EXPECT_EQ(Parse({"--help="}).error, "option '--help' takes no value");

    EXPECT_EQ(Parse({"--bogus"}).error, "unknown option '--bogus'");
    EXPECT_EQ(Parse({"--bogus=3"}).error, "unknown option '--bogus'");
    EXPECT_EQ(Parse({"-x"}).error, "unknown option '-x'");
    EXPECT_EQ(Parse({"-h=1"}).error, "unknown option '-h=1'");
    EXPECT_EQ(Parse({"--"}).error, "unknown option '--'");
    EXPECT_EQ(Parse({"--SCALE", "2"}).error, "unknown option '--SCALE'");

    EXPECT_EQ(Parse({"game"}).error, "unexpected argument 'game'");
    EXPECT_EQ(Parse({""}).error, "unexpected argument ''");
    EXPECT_EQ(Parse({"-"}).error, "unexpected argument '-'");
    EXPECT_EQ(Parse({"--scale", "2", "3"}).error, "unexpected argument '3'");

    // The first bad argument is the one named; help does not excuse it.
    EXPECT_EQ(Parse({"--help", "--bogus", "--scale=9"}).error, "unknown option '--bogus'");
}

TEST(CommandLineTest, QuotingMakesHostileTextOneShortPrintableLine) {
    EXPECT_EQ(QuoteArgument("--scale"), "'--scale'");
    EXPECT_EQ(QuoteArgument(""), "''");
    EXPECT_EQ(QuoteArgument("it's a\\b"), "'it\\'s a\\\\b'");
    EXPECT_EQ(QuoteArgument("a\nb\tc\rd"), "'a\\nb\\tc\\rd'");
    EXPECT_EQ(QuoteArgument(std::string_view("\x1b[2J\x7f\0z", 7)), "'\\x1b[2J\\x7f\\x00z'");
    EXPECT_EQ(QuoteArgument("caf\xc3\xa9"), "'caf\\xc3\\xa9'");

    // Cut at 80 characters of quoted text, marked, never inside an escape.
    EXPECT_EQ(QuoteArgument(std::string(80, 'a')), "'" + std::string(80, 'a') + "'");
    EXPECT_EQ(QuoteArgument(std::string(81, 'a')), "'" + std::string(80, 'a') + "'...");
    EXPECT_EQ(QuoteArgument(std::string(79, 'a') + "\x01"), "'" + std::string(79, 'a') + "'...");
    std::string controls(100000, '\x01');
    std::string expected = "'";
    for (int i = 0; i < 20; ++i) expected += "\\x01";
    EXPECT_EQ(QuoteArgument(controls), expected + "'...");

    // Through the parser and the answer: one printable line, then the usage.
    const std::string hostile = "--\x1b]0;owned\x07\n" + std::string(5000, 'x');
    const Shell::ParsedCommandLine parsed = Parse({hostile});
    std::ostringstream out, err;
    EXPECT_EQ(Shell::AnswerWithoutRunning(parsed, out, err), 2);
    const std::string text = err.str();
    const std::size_t lineEnd = text.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    const std::string line = text.substr(0, lineEnd);
    EXPECT_TRUE(PrintableAscii(line)) << line;
    EXPECT_LE(line.size(), 120u) << line;
    EXPECT_EQ(line.rfind("kyr: unknown option '--\\x1b]0;owned\\x07\\nxxx", 0), 0u) << line;
    EXPECT_EQ(text.substr(lineEnd + 1), Shell::UsageText());
    EXPECT_EQ(out.str(), "");
}

TEST(CommandLineTest, HelpVersionAndErrorsAnswerWithTheirStatusAndStream) {
    struct Case {
        std::vector<std::string_view> arguments;
        int status;
        std::string out, err;
    };
    const std::string usage = Shell::UsageText();
    const std::vector<Case> cases = {
        {{"--help"}, 0, usage, ""},
        {{"-h", "--scale=3"}, 0, usage, ""},
        {{"--version", "--help"}, 0, usage, ""},  // help comes first
        {{"--version"}, 0, "kyr " KYR_VERSION "\n", ""},
        {{"--scale=0"}, 2, "", "kyr: bad value '0' for option '--scale' (a whole number from 1 to 4, or auto)\n" + usage},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(Shell::AnswerWithoutRunning(ParseCommandLine(c.arguments), out, err), c.status);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
    }
    EXPECT_EQ(Shell::VersionText(), "kyr " KYR_VERSION "\n");
    EXPECT_STRNE(KYR_VERSION, "");
}

TEST(CommandLineTest, AControllerPlaysUnlessTurnedOff) {
    EXPECT_TRUE(Parse({}).options.window.controller);
    EXPECT_FALSE(Parse({"--no-controller"}).options.window.controller);
    EXPECT_FALSE(Parse({"--scale", "2", "--no-controller", "--fullscreen"}).options.window.controller);
    EXPECT_TRUE(Parse({"--no-controller", "--controller"}).options.window.controller) << "the last one given wins";
    EXPECT_EQ(Parse({"--no-controller=yes"}).error, "option '--no-controller' takes no value");
    const std::string usage = Shell::UsageText();
    EXPECT_NE(usage.find("--no-controller"), std::string::npos);
    EXPECT_NE(usage.find("A game controller"), std::string::npos) << "the pad's keys are named";
}

TEST(CommandLineTest, UsageNamesEveryOptionAndFitsATerminal) {
    const std::string usage = Shell::UsageText();
    for (const char* word : {"--scale N", "auto", "--fullscreen", "--no-fullscreen", "--renderer", "software",
                             "hardware", "--config FILE", "--write-config", "-h, --help",
                             "--version", "SPACE", "F11", "Ctrl+C", "Exit status: 0", "1 no window", "2 bad"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        EXPECT_TRUE(PrintableAscii(line)) << line;
    }
}

TEST(CommandLineTest, MissingDisplayIsExplainedOnlyWhenNoneIsNamed) {
    EXPECT_EQ(Shell::MissingDisplayLine(nullptr, nullptr),
              "kyr: no display found; run it from a graphical session (DISPLAY is not set)");
    EXPECT_EQ(Shell::MissingDisplayLine("", nullptr),
              "kyr: no display found; run it from a graphical session (DISPLAY is empty)");
    EXPECT_NE(Shell::MissingDisplayLine(nullptr, ""), "");
    EXPECT_EQ(Shell::MissingDisplayLine(":0", nullptr), "");
    EXPECT_EQ(Shell::MissingDisplayLine("", "wayland-0"), "");
}

// The built program, with no display and standard input closed.
using shelltest::ProgramRun;

ProgramRun RunKyr(const std::string& arguments) {
    const std::string folder = testsupport::FreshFolder("kyr-commandline-");
    if (folder.empty()) return ProgramRun{};
    return shelltest::RunKyrIn(folder, arguments);
}

TEST(CommandLineProcessTest, HelpVersionAndABadOptionNeedNoDisplay) {
    const ProgramRun help = RunKyr("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, Shell::UsageText());
    EXPECT_EQ(help.err, "");

    const ProgramRun version = RunKyr("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kyr " KYR_VERSION "\n");
    EXPECT_EQ(version.err, "");

    const ProgramRun bogus = RunKyr("--bogus");
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.out, "");
    EXPECT_EQ(bogus.err, "kyr: unknown option '--bogus'\n" + Shell::UsageText());
}

TEST(CommandLineProcessTest, WithoutADisplayTheLastLineSaysWhy) {
    const ProgramRun run = RunKyr("--scale 2");
    EXPECT_EQ(run.status, 1);
    const std::string why = Shell::MissingDisplayLine(nullptr, nullptr) + "\n";
    ASSERT_GE(run.err.size(), why.size()) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - why.size()), why) << run.err;
}

}  // namespace
