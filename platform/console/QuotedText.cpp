// Quoting outside text for console messages (see QuotedText.h).
#include "platform/console/QuotedText.h"

namespace IO {

namespace {

constexpr std::size_t kMaxShown = 80;

void AppendEscaped(std::string& out, unsigned char c, char quote) {
    constexpr char kHex[] = "0123456789abcdef";
    if (c == static_cast<unsigned char>(quote) || c == '\\') {
        out += '\\';
        out += char(c);
        return;
    }
    switch (c) {
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

std::string QuotedText(std::string_view text, char quote) {
    std::string shown;
    bool cut = false;
    for (char c : text) {
        std::string piece;
        AppendEscaped(piece, static_cast<unsigned char>(c), quote);
        if (shown.size() + piece.size() > kMaxShown) {
            cut = true;
            break;
        }
        shown += piece;
    }
    return quote + shown + quote + (cut ? "..." : "");
}

}  // namespace IO
