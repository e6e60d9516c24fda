#include "shell/CommandLine.h"

#include "platform/console/QuotedText.h"
#include "shell/Settings.h"

#include <vector>

#ifndef KYR_VERSION
#error "KYR_VERSION must come from the build (the project's version)"
#endif

namespace Shell {

namespace {

// One option. Options with a value take it from the next argument or after
// '='; apply returns false for a value the option does not accept.
struct Option {
    std::string_view name;
    std::string_view alias;     // a short form, or empty
    bool takesValue;
    std::string_view accepted;  // the values accepted, for the error line
    bool (*apply)(CommandLine& options, std::string_view value);
};

bool ApplyScale(CommandLine& options, std::string_view value) { return ReadScaleWord(value, options.window.scale); }

bool ApplyRenderer(CommandLine& options, std::string_view value) {
    return ReadRendererWord(value, options.window.renderer);
}

// A file name for --record, --replay, --trace and --config: anything but empty.
template <std::string CommandLine::*Field>
bool ApplyFile(CommandLine& options, std::string_view value) {
    if (value.empty()) return false;
    options.*Field = std::string(value);
    return true;
}

constexpr Option kOptions[] = {
    {"--help", "-h", false, "", [](CommandLine& o, std::string_view) { o.help = true; return true; }},
    {"--version", "", false, "", [](CommandLine& o, std::string_view) { o.version = true; return true; }},
    {"--scale", "", true, "a whole number from 1 to 4, or auto", ApplyScale},
    {"--fullscreen", "", false, "", [](CommandLine& o, std::string_view) { o.window.fullscreen = true; return true; }},
    {"--no-fullscreen", "", false, "", [](CommandLine& o, std::string_view) { o.window.fullscreen = false; return true; }},
    {"--renderer", "", true, "auto, software or hardware", ApplyRenderer},
    {"--controller", "", false, "", [](CommandLine& o, std::string_view) { o.window.controller = true; return true; }},
    {"--no-controller", "", false, "", [](CommandLine& o, std::string_view) { o.window.controller = false; return true; }},
    {"--record", "", true, "a file name", ApplyFile<&CommandLine::record>},
    {"--replay", "", true, "a file name", ApplyFile<&CommandLine::replay>},
    {"--trace", "", true, "a file name", ApplyFile<&CommandLine::trace>},
    {"--config", "", true, "a file name", ApplyFile<&CommandLine::config>},
    {"--write-config", "", false, "", [](CommandLine& o, std::string_view) { o.writeConfig = true; return true; }},
};

const Option* FindOption(std::string_view name) {
    for (const Option& option : kOptions)
        if (name == option.name || (!option.alias.empty() && name == option.alias)) return &option;
    return nullptr;
}

std::string Named(const Option& option) { return "option '" + std::string(option.name) + "'"; }


}  // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments, const Graph::SdlWindowOptions& window) {
    ParsedCommandLine parsed;
    parsed.options.window = window;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            parsed.error = "unexpected argument " + QuoteArgument(argument);
            return parsed;
        }
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); argument.starts_with("--") && equals != argument.npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const Option* option = FindOption(name);
        if (option == nullptr) {
            parsed.error = "unknown option " + QuoteArgument(name);
            return parsed;
        }
        if (!option->takesValue && value) {
            parsed.error = Named(*option) + " takes no value";
            return parsed;
        }
        if (option->takesValue && !value) {
            if (i + 1 == arguments.size()) {
                parsed.error = Named(*option) + " needs a value (" + std::string(option->accepted) + ")";
                return parsed;
            }
            value = arguments[++i];
        }
        if (!option->apply(parsed.options, value.value_or(""))) {
            parsed.error = "bad value " + QuoteArgument(*value) + " for " + Named(*option) + " (" +
                           std::string(option->accepted) + ")";
            return parsed;
        }
    }
    return parsed;
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return ParseCommandLine(arguments);
}

std::string UsageText() {
    return "Usage: kyr [--scale N|auto] [--fullscreen|--no-fullscreen] [--renderer KIND]\n"
           "           [--record FILE] [--replay FILE] [--trace FILE] [--config FILE]\n"
           "           [--controller|--no-controller]\n"
           "       kyr [--config FILE] [window options] --write-config\n"
           "       kyr --help | --version\n"
           "The KYR space shooter, in a window.\n"
           "\n"
           "  --scale N         each pixel an N x N block, N from 1 to 4 (default 1);\n"
           "                    auto: the largest that fits the screen\n"
           "  --fullscreen      fill the screen: the largest whole scale, centred on black\n"
           "  --no-fullscreen   a window, whatever the settings file says\n"
           "  --renderer KIND   auto, software or hardware (auto: hardware where it works)\n"
           "  --controller      the first game controller plays too (the default),\n"
           "                    whatever the settings file says\n"
           "  --no-controller   no game controller: the keyboards alone play\n"
           "  --record FILE     write the session to FILE, to be replayed exactly\n"
           "  --replay FILE     play the session recorded in FILE; live keys are ignored\n"
           "                    (Ctrl+C and closing the window still end it)\n"
           "  --trace FILE      write every drawing request to FILE, one per line\n"
           "  --config FILE     the settings file (default ~/.config/kyr/kyr.conf, in\n"
           "                    XDG_CONFIG_HOME if set); the command line overrides it\n"
           "  --write-config    write the window options in force to the settings file\n"
           "                    and exit\n"
           "  -h, --help        show this text and exit\n"
           "  --version         show the version and exit\n"
           "\n"
           "Keys: arrows steer/move the highlight, SPACE fires/chooses, Alt+Enter/F11 in the\n"
           "window toggles fullscreen; Ctrl+C in the terminal or closing the window quits.\n"
           "A game controller plays too: D-pad or left stick the arrows, A SPACE,\n"
           "B or Back Escape, Start Enter.\n"
           "\n"
           "Exit status: 0 ok, 1 no window could be opened, 2 bad command line or\n"
           "recording, or a recording, trace or settings file that could not be written,\n"
           "3 the replay stopped short of its recorded end; Ctrl+C ends it as a shell\n"
           "expects (130).\n";
}

std::string VersionText() { return std::string(kProgramName) + " " KYR_VERSION "\n"; }

std::string QuoteArgument(std::string_view text) { return IO::QuotedText(text, '\''); }

std::optional<int> AnswerWithoutRunning(const ParsedCommandLine& parsed, std::ostream& out, std::ostream& err) {
    if (!parsed.Ok()) {
        err << kProgramName << ": " << parsed.error << '\n' << UsageText() << std::flush;
        return kStatusBadCommandLine;
    }
    if (parsed.options.help) {
        out << UsageText() << std::flush;
        return kStatusOk;
    }
    if (parsed.options.version) {
        out << VersionText() << std::flush;
        return kStatusOk;
    }
    return std::nullopt;
}

std::string MissingDisplayLine(const char* display, const char* waylandDisplay) {
    const auto named = [](const char* value) { return value != nullptr && *value != '\0'; };
    if (named(display) || named(waylandDisplay)) return "";
    return std::string(kProgramName) + ": no display found; run it from a graphical session (DISPLAY is " +
           (display == nullptr ? "not set" : "empty") + ")";
}

}  // namespace Shell
