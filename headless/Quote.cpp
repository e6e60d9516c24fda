#include "headless/Quote.h"

namespace Headless {

namespace {

void AppendEscaped(std::string& out, unsigned char c) {
    constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\t': out += "\\t"; return;
    case '\r': out += "\\r"; return;
    default: break;
    }
    if (c >= 0x20 && c < 0x7f) {
        out += char(c);
        return;
    }
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xf];
}

}  // namespace

std::string Quote(std::string_view text) {
    constexpr std::size_t kMaxShown = 80;
    std::string shown;
    bool cut = false;
    for (char c : text) {
        std::string piece;
        AppendEscaped(piece, static_cast<unsigned char>(c));
        if (shown.size() + piece.size() > kMaxShown) {
            cut = true;
            break;
        }
        shown += piece;
    }
    return "\"" + shown + "\"" + (cut ? "..." : "");
}

}  // namespace Headless
