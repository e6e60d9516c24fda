// The built kyr run once without a display, standard input from /dev/null,
// in `folder`, which is also its settings folder (XDG_CONFIG_HOME): for the
// tests of what it answers before, or instead of, opening its window.
// KYR_PATH and KYR_LSAN_SUPPRESSIONS come from the test's build.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/support/TempFiles.h"

namespace shelltest {

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

inline ProgramRun RunKyrIn(const std::string& folder, const std::string& arguments) {
    ProgramRun run;
    const std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME='" + folder +
                                "' LSAN_OPTIONS=suppressions=" KYR_LSAN_SUPPRESSIONS
                                ":print_suppressions=0 timeout 20 '" KYR_PATH "' " +
                                arguments + " </dev/null >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    if (WIFEXITED(raw)) run.status = WEXITSTATUS(raw);
    run.out = testsupport::ReadFile(folder + "/out.txt");
    run.err = testsupport::ReadFile(folder + "/err.txt");
    return run;
}

}  // namespace shelltest
