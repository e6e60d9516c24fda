// kyr's settings file: its lines and their warnings, where it is looked
// for, the command line over it, writing it back, and files that are not
// settings (a FIFO, a folder, a device) never holding up or refusing the start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

#include "platform/console/QuotedText.h"
#include "shell/Settings.h"
#include "tests/shell/ProgramRun.h"
#include "tests/support/TempFiles.h"

namespace {

using Options = Graph::SdlWindowOptions;
using Renderer = Options::Renderer;

// A file name as kyr quotes it in a message (a long one is cut).
std::string Named(const std::string& path) { return IO::QuotedText(path, '\''); }

struct Applied {
    Options window;
    std::vector<std::string> warnings;
};

Applied FromText(std::string_view text, const std::string& path = "kyr.conf") {
    Applied a;
    Shell::ApplySettingsText(text, path, a.window, a.warnings);
    return a;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(SettingsTest, EveryLineFormSetsItsSetting) {
    const Applied a = FromText(
        "# my settings\n"
        "\n"
        "   scale=3\n"
        "fullscreen =yes   # a comment after the value\r\n"
        "\trenderer\t=\tsoftware\t\n"
        "controller = no\n"
        "scale = auto");  // the last line without its line end; the later line wins
    EXPECT_EQ(a.warnings, std::vector<std::string>{});
    EXPECT_EQ(a.window.scale, Options::kAutoScale);
    EXPECT_TRUE(a.window.fullscreen);
    EXPECT_EQ(a.window.renderer, Renderer::Software);
    EXPECT_FALSE(a.window.controller);

    // Nothing said is the default window.
    const Applied none = FromText("\n# nothing\n\n");
    EXPECT_TRUE(none.warnings.empty());
    EXPECT_EQ(none.window.scale, 1);
    EXPECT_FALSE(none.window.fullscreen);
    EXPECT_EQ(none.window.renderer, Renderer::Automatic);
    EXPECT_TRUE(none.window.controller);
}

TEST(SettingsTest, ABadLineIsOneWarningNamingFileLineAndWhyAndTheRestApplies) {
    const Applied a = FromText(
        "scal = 2\n"
        "scale = 2\n"
        "scale = 5\n"
        "fullscreen = true\n"
        "renderer = gpu\n"
        "just words\n",
        "/home/p/.config/kyr/kyr.conf");
    const std::vector<std::string> expected = {
        "kyr: '/home/p/.config/kyr/kyr.conf' line 1: unknown setting \"scal\"",
        "kyr: '/home/p/.config/kyr/kyr.conf' line 3: bad value \"5\" for scale (1 to 4, or auto)",
        "kyr: '/home/p/.config/kyr/kyr.conf' line 4: bad value \"true\" for fullscreen (yes or no)",
        "kyr: '/home/p/.config/kyr/kyr.conf' line 5: bad value \"gpu\" for renderer (auto, software or hardware)",
        "kyr: '/home/p/.config/kyr/kyr.conf' line 6: want \"setting = value\", not \"just words\"",
    };
    EXPECT_EQ(a.warnings, expected);
    EXPECT_EQ(a.window.scale, 2) << "a bad value leaves the good one before it";
    EXPECT_FALSE(a.window.fullscreen);

    // Hostile bytes stay quoted on one printable line; a file of junk is a
    // few warnings and a count, not a flood.
    const Applied junk = FromText(std::string("\x1b[2J = \x07\n", 9) + std::string(50, '\n') +
                                  std::string(200, 'x') + "\n" + std::string(1000, '\x01'), "a\nb");
    ASSERT_EQ(junk.warnings.size(), 3u);
    EXPECT_EQ(junk.warnings[0], "kyr: 'a\\nb' line 1: unknown setting \"\\x1b[2J\"");
    EXPECT_EQ(junk.warnings[1].rfind("kyr: 'a\\nb' line 52: want \"setting = value\", not \"xxx", 0), 0u);
    EXPECT_LT(junk.warnings[2].size(), 200u);
    for (const std::string& w : junk.warnings) EXPECT_EQ(w.find('\n'), std::string::npos) << w;

    std::string many;
    for (int i = 0; i < 12; ++i) many += "bogus = 1\n";
    const Applied flood = FromText(many + " = 4\nscale = 4\n");
    ASSERT_EQ(flood.warnings.size(), 6u);
    EXPECT_EQ(flood.warnings[4], "kyr: 'kyr.conf' line 5: unknown setting \"bogus\"");
    EXPECT_EQ(flood.warnings[5], "kyr: 'kyr.conf': 8 more lines not read");
    EXPECT_EQ(flood.window.scale, 4);
}

TEST(SettingsTest, TheFileIsFoundTheXdgWay) {
    EXPECT_EQ(Shell::SettingsPath("", "/xdg", "/home/p"), "/xdg/kyr/kyr.conf");
    EXPECT_EQ(Shell::SettingsPath("", nullptr, "/home/p"), "/home/p/.config/kyr/kyr.conf");
    // An empty or relative XDG_CONFIG_HOME is ignored.
    EXPECT_EQ(Shell::SettingsPath("", "", "/home/p"), "/home/p/.config/kyr/kyr.conf");
    EXPECT_EQ(Shell::SettingsPath("", "xdg", "/home/p"), "/home/p/.config/kyr/kyr.conf");
    EXPECT_EQ(Shell::SettingsPath("", "xdg", ""), "");
    EXPECT_EQ(Shell::SettingsPath("", nullptr, "home"), "");
    // --config names the file, whatever the variables say.
    EXPECT_EQ(Shell::SettingsPath("my.conf", "/xdg", "/home/p"), "my.conf");
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testsupport::FreshFolder("kyr-settings-");
        ASSERT_FALSE(folder_.empty());
    }

    Shell::ParsedCommandLine Read(std::vector<std::string_view> arguments, std::string& warnings) {
        std::ostringstream err;
        Shell::ParsedCommandLine parsed = Shell::ReadOptions(arguments, folder_.c_str(), "/nonexistent", err);
        warnings = err.str();
        return parsed;
    }

    Applied Load(const std::string& path, bool missingIsAnError = false) {
        Applied a;
        Shell::LoadSettings(path, missingIsAnError, a.window, a.warnings);
        return a;
    }

    std::string folder_;
};

TEST_F(SettingsFileTest, TheCommandLineOverridesTheFile) {
    ASSERT_EQ(mkdir((folder_ + "/kyr").c_str(), 0700), 0);
    WriteText(folder_ + "/kyr/kyr.conf", "scale = 3\nfullscreen = yes\nrenderer = software\ncontroller = no\n");
    std::string warnings;

    const Shell::ParsedCommandLine fromFile = Read({}, warnings);
    ASSERT_TRUE(fromFile.Ok()) << fromFile.error;
    EXPECT_EQ(warnings, "");
    EXPECT_EQ(fromFile.options.config, folder_ + "/kyr/kyr.conf");
    EXPECT_EQ(fromFile.options.window.scale, 3);
    EXPECT_TRUE(fromFile.options.window.fullscreen);
    EXPECT_EQ(fromFile.options.window.renderer, Renderer::Software);
    EXPECT_FALSE(fromFile.options.window.controller);

    // Before or after other options, every window option given wins.
    const Shell::ParsedCommandLine over =
        Read({"--scale", "auto", "--no-fullscreen", "--trace", "t", "--renderer=auto"}, warnings);
    ASSERT_TRUE(over.Ok()) << over.error;
    EXPECT_EQ(over.options.window.scale, Options::kAutoScale);
    EXPECT_FALSE(over.options.window.fullscreen);
    EXPECT_EQ(over.options.window.renderer, Renderer::Automatic);
    EXPECT_FALSE(over.options.window.controller) << "not given: the file's";
    EXPECT_EQ(over.options.trace, "t");
    EXPECT_TRUE(Read({"--controller"}, warnings).options.window.controller);

    // --config names another file; the usual one is then not read.
    WriteText(folder_ + "/other.conf", "scale = 2\n");
    const Shell::ParsedCommandLine other = Read({"--config", folder_ + "/other.conf"}, warnings);
    EXPECT_EQ(other.options.window.scale, 2);
    EXPECT_FALSE(other.options.window.fullscreen);
    EXPECT_EQ(other.options.config, folder_ + "/other.conf");
}

TEST_F(SettingsFileTest, HelpAndBadArgumentsAnswerBeforeTheFileIsRead) {
    ASSERT_EQ(mkdir((folder_ + "/kyr").c_str(), 0700), 0);
    WriteText(folder_ + "/kyr/kyr.conf", "bogus = 1\n");
    std::string warnings;
    EXPECT_TRUE(Read({"--help"}, warnings).options.help);
    EXPECT_EQ(warnings, "");
    EXPECT_EQ(Read({"--scale", "9"}, warnings).error,
              "bad value '9' for option '--scale' (a whole number from 1 to 4, or auto)");
    EXPECT_EQ(warnings, "");
    // A bad file never refuses the start: warned about, the game runs.
    const Shell::ParsedCommandLine run = Read({"--scale", "2"}, warnings);
    EXPECT_TRUE(run.Ok());
    EXPECT_EQ(warnings, "kyr: " + Named(folder_ + "/kyr/kyr.conf") + " line 1: unknown setting \"bogus\"\n");
}

TEST_F(SettingsFileTest, WrittenSettingsReadBackAsTheOptionsInForce) {
    std::vector<Options> cases(4);
    cases[1].scale = Options::kAutoScale;
    cases[1].renderer = Renderer::Hardware;
    cases[2].scale = 4;
    cases[2].fullscreen = true;
    cases[2].controller = false;
    cases[3].renderer = Renderer::Software;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        // Folders that are missing are made, private to the player.
        const std::string path = folder_ + "/" + std::to_string(i) + "/kyr/kyr.conf";
        ASSERT_EQ(Shell::WriteSettings(path, cases[i]), "");
        struct stat info {};
        ASSERT_EQ(stat((folder_ + "/" + std::to_string(i)).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);

        const Applied back = Load(path);
        EXPECT_TRUE(back.warnings.empty()) << back.warnings.front();
        EXPECT_EQ(back.window.scale, cases[i].scale) << i;
        EXPECT_EQ(back.window.fullscreen, cases[i].fullscreen) << i;
        EXPECT_EQ(back.window.renderer, cases[i].renderer) << i;
        EXPECT_EQ(back.window.controller, cases[i].controller) << i;
    }

    // --write-config: the file and the command line together, one line saying where.
    WriteText(folder_ + "/given.conf", "scale = 3\nfullscreen = yes\n");
    std::string warnings;
    const Shell::ParsedCommandLine parsed =
        Read({"--config", folder_ + "/given.conf", "--renderer", "software", "--write-config"}, warnings);
    ASSERT_TRUE(parsed.options.writeConfig);
    std::ostringstream out, err;
    EXPECT_EQ(Shell::AnswerWriteConfig(parsed.options, out, err), 0);
    EXPECT_EQ(out.str(), "Settings written to " + Named(folder_ + "/given.conf") + "\n");
    EXPECT_EQ(err.str(), "");
    const Applied written = Load(folder_ + "/given.conf");
    EXPECT_EQ(written.window.scale, 3);
    EXPECT_TRUE(written.window.fullscreen);
    EXPECT_EQ(written.window.renderer, Renderer::Software);
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenIsOneLineAndAFailingStatus) {
    WriteText(folder_ + "/plain", "");
    const std::string fifo = folder_ + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path, why;
    } cases[] = {
        {folder_ + "/plain/kyr.conf", "Not a directory"},
        {fifo, "a FIFO (named pipe), not a file"},
        {folder_, "a folder, not a file"},
        {"", ""},
    };
    for (const auto& c : cases) {
        Shell::CommandLine options;
        options.config = c.path;
        std::ostringstream out, err;
        EXPECT_NE(Shell::AnswerWriteConfig(options, out, err), 0) << c.path;
        EXPECT_EQ(out.str(), "");
        if (!c.path.empty())
            EXPECT_EQ(err.str(), "kyr: cannot write the settings file " + Named(c.path) + ": " + c.why + "\n");
        else
            EXPECT_EQ(err.str().rfind("kyr: no place for the settings file", 0), 0u) << err.str();
        const std::string said = err.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST_F(SettingsFileTest, FilesThatAreNotSettingsAreOneWarningAndNeverWaitedOn) {
    const std::string fifo = folder_ + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteText(folder_ + "/huge", std::string(64 * 1024, '\n') + "scale = 4\n");
    const struct {
        std::string path, why;
    } cases[] = {
        {fifo, "a FIFO (named pipe), not a file"},  // no writer: opening or reading would wait for ever
        {folder_, "a folder, not a file"},
        {"/dev/zero", "not a regular file"},  // reading would never end
        {folder_ + "/huge", "larger than 64 KiB"},
    };
    for (const auto& c : cases) {
        const Applied a = Load(c.path);
        EXPECT_EQ(a.warnings, std::vector<std::string>{"kyr: cannot read the settings file " + Named(c.path) + ": " + c.why});
        EXPECT_EQ(a.window.scale, 1) << c.path;
    }

    // No file is no settings: silent where kyr looks by itself, told when named.
    EXPECT_TRUE(Load(folder_ + "/missing").warnings.empty());
    EXPECT_EQ(Load(folder_ + "/missing", true).warnings,
              std::vector<std::string>{"kyr: cannot read the settings file " + Named(folder_ + "/missing") +
                                       ": No such file or directory"});
    EXPECT_TRUE(Load("/dev/null", true).warnings.empty()) << "an empty file";

    // Through the options: a named FIFO is warned about and the run goes on;
    // a missing file named to be written is no warning.
    std::string warnings;
    EXPECT_TRUE(Read({"--config", fifo, "--scale", "2"}, warnings).Ok());
    EXPECT_EQ(warnings, "kyr: cannot read the settings file " + Named(fifo) + ": a FIFO (named pipe), not a file\n");
    EXPECT_TRUE(Read({"--config", folder_ + "/new.conf", "--write-config"}, warnings).Ok());
    EXPECT_EQ(warnings, "");
}

using shelltest::ProgramRun;
// The built program, in a folder of its own that is also its XDG_CONFIG_HOME.
ProgramRun RunKyr(const std::string& folder, const std::string& arguments) {
    return shelltest::RunKyrIn(folder, arguments);
}

TEST(SettingsProcessTest, WriteConfigNeedsNoDisplayAndABadFileStopsNothing) {
    const std::string folder = testsupport::FreshFolder("kyr-settings-run-");
    ASSERT_FALSE(folder.empty());
    const ProgramRun written = RunKyr(folder, "--scale auto --fullscreen --write-config");
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.out, "Settings written to " + Named(folder + "/kyr/kyr.conf") + "\n");
    EXPECT_EQ(written.err, "");
    const std::string text = testsupport::ReadFile(folder + "/kyr/kyr.conf");
    EXPECT_NE(text.find("\nscale = auto"), std::string::npos) << text;
    EXPECT_NE(text.find("\nfullscreen = yes"), std::string::npos) << text;

    // The file's settings are kept unless given again.
    EXPECT_EQ(RunKyr(folder, "--renderer software --write-config").status, 0);
    const std::string again = testsupport::ReadFile(folder + "/kyr/kyr.conf");
    EXPECT_NE(again.find("\nscale = auto"), std::string::npos) << again;
    EXPECT_NE(again.find("\nrenderer = software"), std::string::npos) << again;

    // A FIFO as the settings file: one warning, then the start goes on
    // (here to the missing display), within the run's time limit.
    ASSERT_EQ(mkfifo((folder + "/fifo").c_str(), 0600), 0);
    const ProgramRun fifo = RunKyr(folder, "--config fifo");
    EXPECT_EQ(fifo.status, 1) << fifo.err;
    EXPECT_EQ(fifo.err.substr(0, fifo.err.find('\n') + 1),
              "kyr: cannot read the settings file 'fifo': a FIFO (named pipe), not a file\n");
}

}  // namespace
