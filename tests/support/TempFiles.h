// Files for tests that run a program as a child process: a fresh folder of
// its own under the test's temporary directory, and a whole file read back.
#pragma once
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A new, empty folder whose name begins with `prefix`; empty when none could be made.
inline std::string FreshFolder(const std::string& prefix) {
    std::string pattern = testing::TempDir() + prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    return made != nullptr ? std::string(made) : std::string();
}

}  // namespace testsupport
