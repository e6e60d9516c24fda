// golden-trace-check: the golden of a fresh kyr-headless trace, made as
// `kyr-golden trace --record` would make it, against the committed golden,
// byte for byte. The web build has no kyr-golden (it runs the program as a
// child process); this is its comparison alone, run under node.
//   golden-trace-check SHOW CLOCK FRESH_TRACE GOLDEN
// Exit status: 0 equal, 1 a difference (the first one is printed), 2 a file
// that cannot be read.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/golden/GoldenTrace.h"

namespace {

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    text = s.str();
    if (in) return true;
    std::cerr << "golden-trace-check: cannot read " << path << "\n";
    return false;
}

// The first line where two texts part, numbered from 1, with both sides.
std::string FirstDifferentLine(const std::string& want, const std::string& got) {
    std::istringstream w(want), g(got);
    std::string a, b;
    for (std::size_t line = 1;; ++line) {
        const bool moreW = static_cast<bool>(std::getline(w, a)), moreG = static_cast<bool>(std::getline(g, b));
        if (!moreW && !moreG) return "the texts differ only in their line ends\n";
        if (moreW != moreG || a != b)
            return "line " + std::to_string(line) + ":\n  expected: " + (moreW ? a : "(the end)") +
                   "\n  actual:   " + (moreG ? b : "(the end)") + "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: golden-trace-check SHOW CLOCK FRESH_TRACE GOLDEN\n";
        return 2;
    }
    const std::string show = argv[1], clock = argv[2], freshPath = argv[3], goldenPath = argv[4];
    std::string freshText, goldenText;
    if (!ReadText(freshPath, freshText) || !ReadText(goldenPath, goldenText)) return 2;

    const Golden::Trace fresh = Golden::CutFrames(freshText);
    const std::string made = Golden::RecordedGolden(fresh, show, clock);
    if (made == goldenText) {
        std::cout << "ok   " << show << ": " << fresh.frames.size() << " frames as in " << goldenPath << "\n";
        return 0;
    }
    std::cout << "FAIL " << show << ": the fresh trace " << freshPath << " differs from " << goldenPath << "\n";
    Golden::Trace want;
    std::string error, where;
    if (Golden::ParseTrace(goldenText, want, error)) where = Golden::FirstDifference(want, fresh);
    // The requests agree but the golden's text does not: its header, or its form.
    std::cout << (where.empty() ? FirstDifferentLine(goldenText, made) : where);
    return 1;
}
