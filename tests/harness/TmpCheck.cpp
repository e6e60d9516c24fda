// tmp-check: the two ends of the test suite's private temporary folder.
//   tmp-check start FOLDER STATE   makes FOLDER anew, empty, and writes to
//                                  STATE the X displays in /tmp whose files
//                                  are orphaned already
//   tmp-check finish FOLDER STATE  lists what the tests left in FOLDER and
//                                  the X display files orphaned since start,
//                                  removes them, and fails if there were any
// The tests that make temporary files run between the two with TMPDIR=FOLDER.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "tests/support/DisplayFiles.h"

namespace fs = std::filesystem;

namespace {

// A socket file that refuses connections may belong to a server between
// its bind and its listen: only one that still does a moment later counts.
std::set<int> OrphanedDisplays() {
    std::set<int> found;
    for (const int n : testsupport::DisplayNumbersInUse()) {
        if (testsupport::LockIsOrphaned(n) || testsupport::SocketIsOrphaned(n)) found.insert(n);
    }
    if (found.empty()) return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::set<int> confirmed;
    for (const int n : found) {
        if (testsupport::LockIsOrphaned(n) || testsupport::SocketIsOrphaned(n)) confirmed.insert(n);
    }
    return confirmed;
}

int Start(const fs::path& folder, const fs::path& state) {
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "tmp-check: cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return 2;
    }
    std::ofstream out(state);
    for (const int n : OrphanedDisplays()) out << n << '\n';
    return out ? 0 : 2;
}

// Everything in the folder, each with its size; removes it all.
int ReportAndRemoveLeftovers(const fs::path& folder) {
    int left = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const auto size = it->is_regular_file(error) ? it->file_size(error) : 0;
        std::printf("left behind: %s (%ju bytes)\n", it->path().c_str(), std::uintmax_t(size));
        ++left;
    }
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
    return left;
}

int ReportAndRemoveNewOrphans(const fs::path& state) {
    std::ifstream in(state);
    const std::set<int> before{std::istream_iterator<int>(in), std::istream_iterator<int>()};
    int left = 0;
    for (const int n : OrphanedDisplays()) {
        if (before.count(n)) continue;
        std::printf("orphaned X display :%d: %s%s\n", n, testsupport::SocketIsOrphaned(n) ? "socket file " : "",
                    testsupport::LockIsOrphaned(n) ? "lock file" : "");
        testsupport::RemoveOrphanedDisplayFiles(n);
        ++left;
    }
    return left;
}

int Finish(const fs::path& folder, const fs::path& state) {
    const int files = ReportAndRemoveLeftovers(folder), displays = ReportAndRemoveNewOrphans(state);
    if (files + displays == 0) {
        std::printf("tmp-check: the tests left nothing behind\n");
        return 0;
    }
    std::printf("tmp-check: the tests left %d entries in %s and %d orphaned X displays\n", files, folder.c_str(),
                displays);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string step = argc == 4 ? argv[1] : "";
    if (step == "start") return Start(argv[2], argv[3]);
    if (step == "finish") return Finish(argv[2], argv[3]);
    std::fprintf(stderr, "usage: tmp-check start|finish FOLDER STATE\n");
    return 2;
}
