// Comparing two request traces (or any two texts of lines): where they first
// part, in a message short enough to read when a test fails.
#pragma once
#include <cstddef>
#include <string>

namespace testsupport {

inline std::size_t LineCount(const std::string& text) {
    std::size_t n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

// Empty when `a` and `b` are equal; else the first line where they differ.
// When `prefixOnly`, `a` may also end early (be a prefix of `b`).
inline std::string TraceDifference(const std::string& a, const std::string& b, bool prefixOnly = false) {
    if (a == b || (prefixOnly && b.compare(0, a.size(), a) == 0)) return "";
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const std::size_t lineStart = a.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t from = lineStart == std::string::npos || at == 0 ? 0 : lineStart + 1;
    auto lineAt = [from](const std::string& s) {
        if (from >= s.size()) return std::string("<end>");
        return s.substr(from, s.find('\n', from) - from);
    };
    return "line " + std::to_string(LineCount(a.substr(0, from)) + 1) + ": \"" + lineAt(a) + "\" against \"" +
           lineAt(b) + "\" (" + std::to_string(LineCount(a)) + " and " + std::to_string(LineCount(b)) + " lines)";
}

// The text's last line without its line end.
inline std::string LastLine(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const std::size_t before = text.rfind('\n');
    return before == std::string::npos ? text : text.substr(before + 1);
}

}  // namespace testsupport
