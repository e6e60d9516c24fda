// Request traces cut into frames, the compact golden form they are kept in,
// and the first difference between two of them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Golden {

// One frame of a trace: its request lines and the "frame T" mark that ends
// it (a trace's last frame may lack the mark). A golden keeps the lines of
// its first frames only; later frames are known by count, digest and mark.
struct Frame {
    std::vector<std::string> lines;   // the mark included; empty when only the digest is known
    std::string mark;                 // "frame T", or empty
    std::size_t count = 0;            // lines, the mark included
    uint64_t digest = 0;              // FNV-1a of the request lines, each with its line end
    bool full = false;
};

struct Trace {
    std::vector<Frame> frames;
};

uint64_t Digest(const std::vector<std::string>& lines);

// Cuts a kyr-headless trace after each "frame T" line.
Trace CutFrames(const std::string& text);
// Sets a frame's mark, count and digest from its lines.
void Close(Frame& frame);

// The golden form: `header` as comment lines, the first `fullFrames` frames
// as they are, then one "digest FRAME LINES HEX T" line per frame (T from
// its mark, "-" without one).
std::string GoldenText(const Trace& trace, std::size_t fullFrames, const std::string& header);

// The golden of SHOW as recorded from a fresh trace of the run
// `kyr-headless --frames --script SHOW.txt --clock CLOCK`: a header that
// says how it was made, then the golden form with the first 10 frames whole.
// A fresh run agrees with the committed golden when the two texts are equal.
std::string RecordedGolden(const Trace& trace, const std::string& show, const std::string& clock);

// A golden text (it starts with "#") or a plain trace; false with `error`
// set when a golden line cannot be read.
bool ParseTrace(const std::string& text, Trace& out, std::string& error);

// Empty when the two agree; else the first differing request with its line
// number and frame and a few lines around it from both sides, or, where the
// golden keeps only a digest, the first differing frame.
std::string FirstDifference(const Trace& want, const Trace& got);

}  // namespace Golden
