// Runs kyr-headless as a child process with a script, in a fresh temporary
// folder, and collects its exit status, outputs and trace (read with
// tests/support/TraceRecorder.h's parser).
#pragma once
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TempFiles.h"

namespace HeadlessRun {

struct Result {
    int status = -1;
    std::string out;   // the program's console output
    std::string err;   // the runner's messages
    std::string dir;   // the folder the run worked in
};

using testsupport::ReadFile;

// Runs the program in a fresh folder with `arguments`, as a shell would
// split them.
inline Result RunHeadlessWith(const std::string& arguments) {
    Result r;
    r.dir = testsupport::FreshFolder("kyr-headless-");
    std::string command = "cd '" + r.dir + "' && '" KYR_HEADLESS_PATH "' " + arguments + " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(r.dir + "/out.txt");
    r.err = ReadFile(r.dir + "/err.txt");
    return r;
}

// Writes `script` to script.txt in a fresh folder and runs the program there
// with `options` added after --script.
inline Result RunHeadless(const std::string& script, const std::string& options = "") {
    std::string dir = testsupport::FreshFolder("kyr-headless-script-");
    std::ofstream(dir + "/script.txt") << script;
    return RunHeadlessWith("--script '" + dir + "/script.txt' " + options);
}

}  // namespace HeadlessRun
