#include "tools/golden/GoldenTrace.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <sstream>

namespace Golden {
namespace {

constexpr std::size_t kContext = 3;      // lines shown on each side of a difference
constexpr std::size_t kFullFrames = 10;  // a recorded golden keeps its first frames' requests as they are

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// "shown at T ms" from a frame's mark; empty without one.
std::string ShownAt(const Frame& f) { return f.mark.empty() ? "" : ", shown at " + f.mark.substr(6) + " ms"; }

// Lines first-kContext .. at+kContext of a full frame, numbered from `line`
// (the frame's first line), the line `at` marked.
void Excerpt(std::ostream& out, const char* side, const Frame& f, std::size_t line, std::size_t at) {
    out << side << ":\n";
    const std::size_t from = at > kContext ? at - kContext : 0;
    for (std::size_t i = from; i <= at + kContext && i <= f.lines.size(); ++i) {
        if (i == f.lines.size() && i != at) break;
        out << (i == at ? "  > " : "    ") << line + i << "  "
            << (i < f.lines.size() ? f.lines[i] : "(the frame ends here)") << "\n";
    }
}

std::string Hex(uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, v);
    return text;
}

}  // namespace

uint64_t Digest(const std::vector<std::string>& lines) {
    uint64_t h = 14695981039346656037ull;
    auto add = [&h](unsigned char c) { h = (h ^ c) * 1099511628211ull; };
    for (const std::string& line : lines) {
        for (char c : line) add(static_cast<unsigned char>(c));
        add('\n');
    }
    return h;
}

void Close(Frame& f) {
    const bool marked = !f.lines.empty() && StartsWith(f.lines.back(), "frame ");
    f.mark = marked ? f.lines.back() : "";
    f.count = f.lines.size();
    f.digest = Digest(std::vector<std::string>(f.lines.begin(), f.lines.end() - marked));
    f.full = true;
}

Trace CutFrames(const std::string& text) {
    Trace t;
    Frame current;
    for (std::string& line : SplitLines(text)) {
        const bool mark = StartsWith(line, "frame ");
        current.lines.push_back(std::move(line));
        if (!mark) continue;
        Close(current);
        t.frames.push_back(std::move(current));
        current = Frame{};
    }
    if (!current.lines.empty()) {
        Close(current);
        t.frames.push_back(std::move(current));
    }
    return t;
}

std::string GoldenText(const Trace& trace, std::size_t fullFrames, const std::string& header) {
    std::ostringstream out;
    for (const std::string& line : SplitLines(header)) out << "# " << line << "\n";
    for (std::size_t f = 0; f < trace.frames.size(); ++f) {
        const Frame& frame = trace.frames[f];
        if (f < fullFrames && frame.full) {
            for (const std::string& line : frame.lines) out << line << "\n";
        } else {
            out << "digest " << f << " " << frame.count << " " << Hex(frame.digest) << " "
                << (frame.mark.empty() ? "-" : frame.mark.substr(6)) << "\n";
            fullFrames = 0;   // a digest ends the full part
        }
    }
    return out.str();
}

std::string RecordedGolden(const Trace& trace, const std::string& show, const std::string& clock) {
    std::size_t lines = 0;
    for (const Frame& f : trace.frames) lines += f.count;
    std::ostringstream header;
    header << "The request trace of kyr-headless --frames --script " << show << ".txt --clock \"" << clock << "\"\n"
           << trace.frames.size() << " frames, " << lines << " lines; the first " << kFullFrames
           << " frames as they are, then per frame \"digest FRAME LINES FNV-1a T\"\n"
           << "(the lines with the mark, the digest of the requests, the time of the mark).\n"
           << "Recorded by: kyr-golden trace --record " << show;
    return GoldenText(trace, kFullFrames, header.str());
}

bool ParseTrace(const std::string& text, Trace& out, std::string& error) {
    out = Trace{};
    if (!StartsWith(text, "#")) {
        out = CutFrames(text);
        return true;
    }
    std::string full;
    std::size_t number = 0;
    for (const std::string& line : SplitLines(text)) {
        ++number;
        if (StartsWith(line, "#")) continue;
        if (!StartsWith(line, "digest ")) {
            if (out.frames.empty()) {   // still in the full part
                full += line + "\n";
                continue;
            }
            error = "line " + std::to_string(number) + ": a request line after the digests";
            return false;
        }
        if (out.frames.empty()) out.frames = CutFrames(full).frames;
        std::istringstream in(line.substr(7));
        std::size_t frame = 0;
        std::string hex, shown, rest;
        Frame f;
        const bool read = in >> frame >> f.count >> hex >> shown && !(in >> rest) && hex.size() == 16 &&
                          hex.find_first_not_of("0123456789abcdef") == std::string::npos;
        if (read) f.digest = std::stoull(hex, nullptr, 16);
        if (read && shown != "-") f.mark = "frame " + shown;
        if (!read || frame != out.frames.size()) {
            error = "line " + std::to_string(number) + ": bad digest line";
            return false;
        }
        out.frames.push_back(f);
    }
    if (out.frames.empty()) out.frames = CutFrames(full).frames;
    return true;
}

std::string FirstDifference(const Trace& want, const Trace& got) {
    std::ostringstream out;
    std::size_t line = 1;   // the first line of frame f, the same on both sides so far
    for (std::size_t f = 0;; ++f) {
        if (f >= want.frames.size() && f >= got.frames.size()) return "";
        if (f >= want.frames.size()) {
            out << "the actual trace goes on after the expected one's last frame: frame " << f << " from line "
                << line << ShownAt(got.frames[f]) << "\n";
            Excerpt(out, "actual", got.frames[f], line, 0);
            return out.str();
        }
        if (f >= got.frames.size()) {
            out << "the actual trace ends after line " << line - 1 << "; the expected one has " << want.frames.size()
                << " frames, the actual one " << got.frames.size() << "\n";
            return out.str();
        }
        const Frame &w = want.frames[f], &g = got.frames[f];
        if (w.full && g.full) {
            const std::size_t n = std::min(w.lines.size(), g.lines.size());
            std::size_t i = std::mismatch(w.lines.begin(), w.lines.begin() + n, g.lines.begin()).first -
                            w.lines.begin();
            if (i < n || w.lines.size() != g.lines.size()) {
                out << "first difference at line " << line + i << ", frame " << f << ShownAt(g) << " in the actual trace\n";
                Excerpt(out, "expected", w, line, i);
                Excerpt(out, "actual", g, line, i);
                return out.str();
            }
        } else if (w.count != g.count || w.digest != g.digest || w.mark != g.mark) {
            out << "first difference in frame " << f << ", from line " << line << ShownAt(g)
                << " in the actual trace: expected " << w.count << " lines with digest " << Hex(w.digest)
                << ShownAt(w) << ", actual " << g.count << " lines with digest " << Hex(g.digest) << "\n"
                << "(only the digest of this frame is kept; to see the request, record a trace with the code the "
                   "golden came from and compare the two traces)\n";
            if (g.full) Excerpt(out, "actual frame", g, line, 0);
            return out.str();
        }
        line += w.count;
    }
}

}  // namespace Golden
