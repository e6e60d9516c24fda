// Runs kyr-headless as a child process with a script, in a fresh temporary
// folder, and collects its exit status, outputs and trace.
#pragma once
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

namespace HeadlessRun {

struct Result {
    int status = -1;
    std::string out;   // the program's console output
    std::string err;   // the runner's messages
    std::string dir;   // the folder the run worked in
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string FreshFolder() {
    std::string pattern = testing::TempDir() + "kyr-headless-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    return made != nullptr ? std::string(made) : std::string();
}

// Writes `script` to script.txt in a fresh folder and runs the program there
// with `options` added after --script.
inline Result RunHeadless(const std::string& script, const std::string& options = "") {
    Result r;
    r.dir = FreshFolder();
    std::ofstream(r.dir + "/script.txt") << script;
    std::string command = "cd '" + r.dir + "' && '" KYR_HEADLESS_PATH "' --script script.txt " + options +
                          " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(r.dir + "/out.txt");
    r.err = ReadFile(r.dir + "/err.txt");
    return r;
}

struct TextLine {
    unsigned x, y, colour;
    std::string text;
};

// The text requests of a trace, in order.
inline std::vector<TextLine> TextLines(const std::string& trace) {
    static const std::regex form(R"re(^text (\d+) (\d+) (\d+) "(.*)"$)re");
    std::vector<TextLine> lines;
    std::istringstream in(trace);
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_match(line, m, form)) {
            lines.push_back({unsigned(std::stoul(m[1])), unsigned(std::stoul(m[2])), unsigned(std::stoul(m[3])),
                             m[4]});
        }
    }
    return lines;
}

}  // namespace HeadlessRun
