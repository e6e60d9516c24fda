// The harness tests' program. Run by TempFilesTest as a child with
// KYR_HARNESS_CHILD set, it plays a test program that makes temporary files
// and then ends in the way named: "fails" (returns 1 from main, as a run
// with a failed test does) or "killed" (SIGKILL, as a time-out does).
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TempFiles.h"

namespace {

int PlayATestProgram(const std::string& ending) {
    const std::string folder = testsupport::FreshFolder("child-");
    if (folder.empty()) return 2;
    std::ofstream(folder + "/out.txt") << "some output";
    std::filesystem::create_directories(folder + "/a/b");
    std::ofstream(folder + "/a/b/trace.txt") << "a trace";
    if (ending == "killed") raise(SIGKILL);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const char* ending = std::getenv("KYR_HARNESS_CHILD")) return PlayATestProgram(ending);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
