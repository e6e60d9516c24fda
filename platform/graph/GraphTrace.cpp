// The request trace: one text line per posted request. Tests and the headless
// runner compare these lines, so the form of the shape and text lines is fixed.
#include "platform/graph/detail/GraphRequest.h"

#include <cstdio>

namespace Graph::detail {

namespace {

void AppendNumber(std::string& out, uint32_t value) {
    out += ' ';
    out += std::to_string(value);
}

void AppendWords(std::string& out, const Request& r, int count) {
    for (int i = 0; i < count; ++i) AppendNumber(out, r.word[i]);
}

// The text between double quotes; quote and backslash escaped, bytes outside
// printable ASCII as \xHH.
void AppendQuoted(std::string& out, const char* text, std::size_t length) {
    out += " \"";
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 32 || c > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

}  // namespace

std::string TraceLine(const Request& r) {
    std::string out;
    switch (r.op) {
    case OP_LINE: out = "line"; AppendWords(out, r, 5); break;
    case OP_RECTANGLE:
    case OP_ELLIPSE:
        out = r.op == OP_RECTANGLE ? "rect" : "ellipse";
        AppendWords(out, r, 5);
        out += r.flag ? " fill" : " outline";
        break;
    case OP_TEXT:
        out = "text";
        AppendWords(out, r, 3);
        AppendQuoted(out, r.text, r.textLength < kTextCapacity ? r.textLength : kTextCapacity);
        break;
    case OP_INVERT: out = "invert"; AppendWords(out, r, 4); break;
    case OP_BKCOLOR: out = "bkcolor"; AppendWords(out, r, 1); break;
    case OP_BKMODE: out = "bkmode"; AppendWords(out, r, 1); break;
    case OP_LINESTYLE: out = "linestyle"; AppendWords(out, r, 1); break;
    case OP_FILLMASK: out = "fillmask"; AppendWords(out, r, 1); break;
    case OP_PALETTE: out = "palette"; AppendNumber(out, r.paletteCount); break;
    case OP_SURFACES: out = "surfaces"; break;
    default: out = "op"; AppendNumber(out, r.op); break;
    }
    return out;
}

}  // namespace Graph::detail
