// The runner's script language: what it accepts, and the line-numbered
// message for every kind of fault.
#include <gtest/gtest.h>

#include <string>

#include "headless/Quote.h"
#include "headless/Script.h"

namespace {

using Headless::CommandKind;
using Headless::ParseScriptText;

TEST(ScriptTest, ParsesEveryCommandSkippingCommentsAndBlankLines) {
    auto script = ParseScriptText(
        "# a comment\n"
        "\n"
        "at 0 trace out/trace.txt   # traced from the start\n"
        "at 0 key UP\n"
        "  at 250   key   CTRL+UP  \n"
        "at 250 event OTHER\n"
        "at 300 event\n"
        "at 400 snap shots/menu one.png\n"
        "at 500 trace off\n"
        "at 900 end\n");
    ASSERT_TRUE(script.Ok()) << script.error;
    ASSERT_EQ(script.commands.size(), 8u);
    const auto& c = script.commands;
    EXPECT_EQ(c[0].kind, CommandKind::Trace);
    EXPECT_EQ(c[0].path, "out/trace.txt");
    EXPECT_EQ(c[1].kind, CommandKind::Key);
    EXPECT_EQ(c[1].key.down.virtualKeyCode, 0x26);
    EXPECT_EQ(c[2].timeMs, 250u);
    EXPECT_EQ(c[2].line, 5);
    EXPECT_EQ(c[3].kind, CommandKind::Event);
    EXPECT_EQ(c[4].kind, CommandKind::Event);
    EXPECT_EQ(c[5].kind, CommandKind::Snap);
    EXPECT_EQ(c[5].path, "shots/menu one.png");  // file names are taken as written
    EXPECT_EQ(c[6].kind, CommandKind::TraceOff);
    EXPECT_EQ(c[7].kind, CommandKind::End);
    EXPECT_EQ(c[7].timeMs, 900u);
}

TEST(ScriptTest, EmptyScriptIsSound) {
    EXPECT_TRUE(ParseScriptText("").Ok());
    EXPECT_TRUE(ParseScriptText("# only a comment\n\n   \n").commands.empty());
}

TEST(ScriptTest, FaultsNameTheirLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"at 0 key UP\n\n# x\nat 5 key UPP\n", "script line 4: unknown key name \"UPP\""},
        {"at 5 press UP\n", "script line 1: unknown command \"press\""},
        {"wait 5\n", "script line 1: unknown command \"wait\" (lines begin with \"at MS\")"},
        {"at -5 key UP\n", "script line 1: bad time \"-5\""},
        {"at 5ms key UP\n", "script line 1: bad time \"5ms\""},
        {"at 99999999999999999999 end\n", "script line 1: bad time \"99999999999999999999\""},
        {"at 10 key UP\nat 9 key UP\n", "script line 2: time 9 is earlier than the line before (10)"},
        {"at\n", "script line 1: missing time"},
        {"at 5\n", "script line 1: missing command after the time"},
        {"at 5 key\n", "script line 1: missing key name"},
        {"at 5 snap\n", "script line 1: missing file name after snap"},
        {"at 5 trace   # no file\n", "script line 1: missing file name after trace"},
        {"at 5 key UP DOWN\n", "script line 1: unexpected \"DOWN\" after UP"},
        {"at 5 end now\n", "script line 1: unexpected \"now\" after end"},
        {"at 5 event KEYBOARD\n", "script line 1: unknown event \"KEYBOARD\""},
    };
    for (const Case& c : cases) {
        auto script = ParseScriptText(c.text);
        EXPECT_EQ(script.error, c.error) << c.text;
        EXPECT_TRUE(script.commands.empty()) << c.text;
    }
}

TEST(ScriptTest, EqualTimesKeepFileOrder) {
    auto script = ParseScriptText("at 7 key a\nat 7 key b\nat 7 key c\n");
    ASSERT_TRUE(script.Ok());
    ASSERT_EQ(script.commands.size(), 3u);
    EXPECT_EQ(script.commands[0].key.down.asciiChar, 'a');
    EXPECT_EQ(script.commands[2].key.down.asciiChar, 'c');
}

TEST(ScriptTest, ScriptThatCannotBeReadToItsEndIsAnError) {
    // Missing, a folder, a read error at once, and an endless file.
    const struct {
        std::string path;
        const char* why;
    } unreadable[] = {{"/nonexistent/dir/script.txt", "No such file or directory"},
                      {testing::TempDir(), "a folder, not a file"},
                      {"/proc/self/mem", "Input/output error"}};
    for (const auto& [path, why] : unreadable) {
        auto script = Headless::LoadScript(path);
        EXPECT_EQ(script.error, "cannot read script " + Headless::Quote(path) + ": " + why) << path;
        EXPECT_TRUE(script.commands.empty()) << path;
    }
    auto endless = Headless::LoadScript("/dev/zero");
    EXPECT_EQ(endless.error, "cannot read script \"/dev/zero\" (longer than 4 MiB)");
    EXPECT_TRUE(endless.commands.empty());
}

TEST(ScriptTest, FaultsQuoteTheOffendingTextOnOneLine) {
    EXPECT_EQ(ParseScriptText("at 5 key \x01\x7f\xc3\xa9\\\"\n").error,
              "script line 1: unknown key name \"\\x01\\x7f\\xc3\\xa9\\\\\\\"\"");
    EXPECT_EQ(ParseScriptText(std::string("at 5 snap a\0b.png\n", 18)).error,
              "script line 1: file name \"a\\x00b.png\" holds a NUL byte");
    // Cut at 80 shown characters, never inside an escape.
    std::string error = ParseScriptText("at 5 key " + std::string(79, 'K') + "\x01K\n").error;
    EXPECT_EQ(error, "script line 1: unknown key name \"" + std::string(79, 'K') + "\"...");
}

TEST(QuoteTest, EscapesAndCuts) {
    using Headless::Quote;
    EXPECT_EQ(Quote(""), "\"\"");
    EXPECT_EQ(Quote("menu one.png"), "\"menu one.png\"");
    EXPECT_EQ(Quote(std::string("a\nb\rc\td\\e\"f\0g\xff", 14)), "\"a\\nb\\rc\\td\\\\e\\\"f\\x00g\\xff\"");
    EXPECT_EQ(Quote(std::string(80, 'x')), "\"" + std::string(80, 'x') + "\"");
    EXPECT_EQ(Quote(std::string(500, 'x')), "\"" + std::string(80, 'x') + "\"...");
}

}  // namespace
