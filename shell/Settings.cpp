#include "shell/Settings.h"

#include "platform/console/NamedFiles.h"
#include "platform/console/QuotedText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace Shell {

namespace {

using Options = Graph::SdlWindowOptions;
using Renderer = Options::Renderer;

// A settings file is a few lines; anything larger is not one (a device, a
// file named by mistake), and reading stops there.
constexpr std::size_t kLargestFile = 64 * 1024;
// Bad lines named one by one; the rest are counted.
constexpr int kNamedBadLines = 5;

struct Setting {
    std::string_view key;
    std::string_view accepted;  // the values accepted, for a warning
    bool (*apply)(Options& window, std::string_view value);
    std::string (*text)(const Options& window);
};

constexpr Setting kSettings[] = {
    {"scale", "1 to 4, or auto", [](Options& w, std::string_view v) { return ReadScaleWord(v, w.scale); },
     [](const Options& w) { return ScaleWord(w.scale); }},
    {"fullscreen", "yes or no", [](Options& w, std::string_view v) { return ReadYesNoWord(v, w.fullscreen); },
     [](const Options& w) { return std::string(w.fullscreen ? "yes" : "no"); }},
    {"renderer", "auto, software or hardware",
     [](Options& w, std::string_view v) { return ReadRendererWord(v, w.renderer); },
     [](const Options& w) { return std::string(RendererWord(w.renderer)); }},
    {"controller", "yes or no", [](Options& w, std::string_view v) { return ReadYesNoWord(v, w.controller); },
     [](const Options& w) { return std::string(w.controller ? "yes" : "no"); }},
};

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Quoted(std::string_view text) { return IO::QuotedText(text, '"'); }
std::string FileName(const std::string& path) { return IO::QuotedText(path, '\''); }

// Why the line cannot be read; empty when it was applied (or says nothing).
std::string ApplyLine(std::string_view line, Options& window) {
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) return "";
    const std::size_t equals = line.find('=');
    if (equals == line.npos) return "want \"setting = value\", not " + Quoted(line);
    const std::string_view key = Trimmed(line.substr(0, equals));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    for (const Setting& setting : kSettings) {
        if (key != setting.key) continue;
        if (setting.apply(window, value)) return "";
        return "bad value " + Quoted(value) + " for " + std::string(key) + " (" + std::string(setting.accepted) + ")";
    }
    return "unknown setting " + Quoted(key);
}

// Makes the folders leading to `path` that are missing; why not, or empty.
std::string MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != path.npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
    }
    return "";
}

}  // namespace

bool ReadScaleWord(std::string_view word, int& scale) {
    if (word == "auto") {
        scale = Options::kAutoScale;
        return true;
    }
    // Digits only: from_chars alone would take a sign.
    if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    int value = 0;
    const auto [end, problem] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (problem != std::errc() || end != word.data() + word.size()) return false;
    if (value < Options::kMinScale || value > Options::kMaxScale) return false;
    scale = value;
    return true;
}

bool ReadRendererWord(std::string_view word, Renderer& renderer) {
    if (word == "auto") renderer = Renderer::Automatic;
    else if (word == "software") renderer = Renderer::Software;
    else if (word == "hardware") renderer = Renderer::Hardware;
    else return false;
    return true;
}

bool ReadYesNoWord(std::string_view word, bool& yes) {
    if (word != "yes" && word != "no") return false;
    yes = word == "yes";
    return true;
}

std::string ScaleWord(int scale) { return scale == Options::kAutoScale ? "auto" : std::to_string(scale); }

std::string_view RendererWord(Renderer renderer) {
    return renderer == Renderer::Software ? "software" : renderer == Renderer::Hardware ? "hardware" : "auto";
}

std::string SettingsPath(const std::string& named, const char* xdgConfigHome, const char* home) {
    if (!named.empty()) return named;
    // XDG: a relative or empty XDG_CONFIG_HOME is ignored.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return std::string(xdgConfigHome) + "/kyr/kyr.conf";
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/kyr/kyr.conf";
    return "";
}

void ApplySettingsText(std::string_view text, const std::string& path, Options& window,
                       std::vector<std::string>& warnings) {
    int bad = 0, number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        const std::string why = ApplyLine(line, window);
        if (why.empty()) continue;
        if (++bad <= kNamedBadLines)
            warnings.push_back("kyr: " + FileName(path) + " line " + std::to_string(number) + ": " + why);
    }
    if (bad > kNamedBadLines)
        warnings.push_back("kyr: " + FileName(path) + ": " + std::to_string(bad - kNamedBadLines) +
                           " more lines not read");
}

void LoadSettings(const std::string& path, bool missingIsAnError, Options& window,
                  std::vector<std::string>& warnings) {
    if (path.empty()) return;
    const auto cannot = [&](const std::string& why) {
        warnings.push_back("kyr: cannot read the settings file " + FileName(path) + ": " + why);
    };
    struct stat info {};
    if (!missingIsAnError && ::stat(path.c_str(), &info) != 0 && errno == ENOENT) return;
    std::string why;
    const int fd = IO::OpenNamedFile(path, IO::FileUse::Read, why);
    if (fd < 0) return cannot(why);
    // A terminal or another device would wait for input, or never end;
    // /dev/null is an empty file.
    if (::fstat(fd, &info) != 0 || (!S_ISREG(info.st_mode) && !IO::SameFile(path, "/dev/null"))) {
        ::close(fd);
        return cannot("not a regular file");
    }
    std::string text(kLargestFile + 1, '\0');
    std::size_t size = 0;
    while (size < text.size()) {
        const ssize_t n = ::read(fd, text.data() + size, text.size() - size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return cannot(std::strerror(error));
        }
        if (n == 0) break;
        size += std::size_t(n);
    }
    ::close(fd);
    if (size > kLargestFile) return cannot("larger than " + std::to_string(kLargestFile / 1024) + " KiB");
    text.resize(size);
    ApplySettingsText(text, path, window, warnings);
}

std::string SettingsText(const Options& window) {
    std::string text =
        "# kyr's settings, written by kyr --write-config. One \"setting = value\" a line;\n"
        "# the command line overrides them.\n";
    for (const Setting& setting : kSettings)
        text += std::string(setting.key) + " = " + setting.text(window) + "  # " + std::string(setting.accepted) + "\n";
    return text;
}

std::string WriteSettings(const std::string& path, const Options& window) {
    if (std::string why = MakeFolders(path); !why.empty()) return why;
    std::string why;
    std::FILE* file = IO::OpenNamedStream(path, IO::FileUse::Write, why);
    if (file == nullptr) return why;
    const std::string text = SettingsText(window);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    const int error = errno;
    if (std::fclose(file) != 0 || !written) return std::strerror(written ? errno : error);
    return "";
}

ParsedCommandLine ReadOptions(std::span<const std::string_view> arguments, const char* xdgConfigHome,
                              const char* home, std::ostream& err) {
    const ParsedCommandLine first = ParseCommandLine(arguments);
    if (!first.Ok() || first.options.help || first.options.version) return first;
    const std::string path = SettingsPath(first.options.config, xdgConfigHome, home);

    // A file named on the command line should be there, unless it is to be written.
    Options window;
    std::vector<std::string> warnings;
    LoadSettings(path, !first.options.config.empty() && !first.options.writeConfig, window, warnings);
    for (const std::string& warning : warnings) err << warning << '\n';
    err << std::flush;

    ParsedCommandLine parsed = ParseCommandLine(arguments, window);
    parsed.options.config = path;
    return parsed;
}

ParsedCommandLine ReadOptions(int argc, const char* const* argv, const char* xdgConfigHome, const char* home,
                              std::ostream& err) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return ReadOptions(arguments, xdgConfigHome, home, err);
}

int AnswerWriteConfig(const CommandLine& options, std::ostream& out, std::ostream& err) {
    if (options.config.empty()) {
        err << kProgramName << ": no place for the settings file (neither XDG_CONFIG_HOME nor HOME is an absolute"
            << " path); name one with --config FILE" << std::endl;
        return kStatusBadCommandLine;
    }
    if (const std::string why = WriteSettings(options.config, options.window); !why.empty()) {
        err << kProgramName << ": cannot write the settings file " << FileName(options.config) << ": " << why
            << std::endl;
        return kStatusBadCommandLine;
    }
    out << "Settings written to " << FileName(options.config) << std::endl;
    return kStatusOk;
}

}  // namespace Shell
