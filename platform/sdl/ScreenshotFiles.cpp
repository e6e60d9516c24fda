// The pictures folder from user-dirs.dirs (the file the desktop's folder
// tool writes: one shell assignment a line) and the screenshot's file name.
#include "platform/sdl/ScreenshotFiles.h"

#include <cstdio>

namespace Graph::Screenshots {

namespace {

constexpr std::string_view kPicturesKey = "XDG_PICTURES_DIR";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimmedLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

// The assignment's value as the shell reads it: between double quotes
// (backslash escapes the next character) or bare up to a blank or a comment.
std::string Unquoted(std::string_view value) {
    std::string out;
    if (!value.empty() && value.front() == '"') {
        for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size()) ++i;
            out += value[i];
        }
        return out;
    }
    for (char c : value) {
        if (IsBlank(c) || c == '#') break;
        out += c;
    }
    return out;
}

// $HOME or ${HOME} at the start, alone or before a slash, becomes `home`.
// Only that and absolute folders are meaningful in the file.
std::string Expanded(const std::string& value, std::string_view home) {
    for (std::string_view name : {std::string_view("$HOME"), std::string_view("${HOME}")}) {
        if (value.compare(0, name.size(), name) != 0) continue;
        const std::string rest = value.substr(name.size());
        if (!rest.empty() && rest.front() != '/') return {};
        if (home.empty()) return {};
        return std::string(home) + rest;
    }
    return !value.empty() && value.front() == '/' ? value : std::string();
}

}  // namespace

std::string UserDirsPath(const char* xdgConfigHome, const char* home) {
    if (xdgConfigHome && xdgConfigHome[0] == '/') return std::string(xdgConfigHome) + "/user-dirs.dirs";
    if (home && *home) return std::string(home) + "/.config/user-dirs.dirs";
    return {};
}

std::string PicturesDirFromUserDirs(std::string_view text, std::string_view home) {
    std::string found;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = TrimmedLeft(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.compare(0, kPicturesKey.size(), kPicturesKey) != 0) continue;
        line.remove_prefix(kPicturesKey.size());
        if (line.empty() || line.front() != '=') continue;
        // A later line wins, as when the shell reads the file; one that
        // names nothing usable leaves the earlier one.
        const std::string folder = Expanded(Unquoted(line.substr(1)), home);
        if (!folder.empty()) found = folder;
    }
    return found;
}

std::string ChooseFolder(const FolderSources& sources) {
    std::string named = PicturesDirFromUserDirs(sources.userDirsText, sources.home);
    if (!named.empty()) return named;
    if (!sources.home.empty() && sources.homePicturesExists) return sources.home + "/Pictures";
    return ".";
}

std::string FileName(const std::tm& when, int copy) {
    char name[64];
    std::snprintf(name, sizeof name, "kyr-%04d-%02d-%02d-%02d-%02d-%02d", when.tm_year + 1900, when.tm_mon + 1,
                  when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::string out = name;
    if (copy > 1) out += "-" + std::to_string(copy);
    return out + ".png";
}

std::string FreePath(const std::string& folder, const std::tm& when,
                     const std::function<bool(const std::string& path)>& taken, int limit) {
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (int copy = 1; copy <= limit; ++copy) {
        std::string path = prefix + FileName(when, copy);
        if (!taken(path)) return path;
    }
    return {};
}

}  // namespace Graph::Screenshots
