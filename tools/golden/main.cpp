// kyr-golden: checks the program's pictures and request traces against the
// goldens kept in the source tree, or records them anew.
//
//   kyr-golden [OPTIONS] pictures [--record]
//       Runs kyr-headless on every script in tests/golden/scripts/ and
//       compares each picture it takes with docs/screenshots/ pixel for
//       pixel. A picture that differs is left as NAME.actual.png with
//       NAME.diff.png (the differing pixels red on a dimmed copy) in
//       OUT/pictures/. --record copies the pictures into docs/screenshots/.
//   kyr-golden [OPTIONS] trace [--record] [SHOW...]
//       Runs tests/golden/traces/SHOW.txt (intro, credits, demo, outro; all
//       when none is named), which traces into SHOW.trace, and compares the
//       trace with SHOW.golden: the first differing request is printed with
//       its line number, its frame and the lines around it. The fresh trace
//       stays in OUT/traces/SHOW/. --record rewrites SHOW.golden.
//   kyr-golden compare EXPECTED ACTUAL
//       The first difference between two traces or goldens.
//
// OPTIONS: --runner PATH (kyr-headless), --source DIR (the source tree),
// --out DIR (where runs and failed pictures go); the defaults are this
// build's. Every run uses the same fixed clock, so runs repeat exactly.
// Exit status: 0 all equal (or recorded), 1 a difference, 2 a usage error or
// a run that failed.
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tools/golden/GoldenPicture.h"
#include "tools/golden/GoldenTrace.h"

namespace fs = std::filesystem;

namespace {

const char* const kClock = "2026-12-07 12:00:05.37";
const char* const kShows[] = {"intro", "credits", "demo", "outro"};

struct Settings {
    std::string runner = KYR_GOLDEN_RUNNER;
    fs::path source = KYR_GOLDEN_SOURCE;
    fs::path out = KYR_GOLDEN_OUT;
};

std::string ReadText(const fs::path& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    ok = static_cast<bool>(in);
    return s.str();
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

// kyr-headless with `script` on the fixed clock, in `folder`; the program's
// console output is dropped, the runner's messages pass through.
bool RunScript(const Settings& s, const fs::path& script, const fs::path& folder) {
    const std::string scriptPath = fs::absolute(script).string();
    const pid_t child = fork();
    if (child == 0) {
        const int devnull = open("/dev/null", O_WRONLY);
        if (chdir(folder.c_str()) != 0 || devnull < 0 || dup2(devnull, 1) < 0) _exit(127);
        execl(s.runner.c_str(), "kyr-headless", "--script", scriptPath.c_str(), "--clock", kClock, "--frames",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = -1;
    if (child < 0 || waitpid(child, &status, 0) != child) return false;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    std::cerr << "kyr-golden: " << s.runner << " --script " << scriptPath << " failed (status "
              << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << ")\n";
    return false;
}

std::vector<fs::path> FilesEndingIn(const fs::path& folder, const std::string& ending) {
    std::vector<fs::path> found;
    std::error_code e;
    for (const auto& entry : fs::directory_iterator(folder, e)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

int Pictures(const Settings& s, bool record) {
    const fs::path goldens = s.source / "docs/screenshots", folder = s.out / "pictures", run = folder / "run";
    fs::remove_all(folder);
    fs::create_directories(run);
    for (const fs::path& script : FilesEndingIn(s.source / "tests/golden/scripts", ".txt"))
        if (!RunScript(s, script, run)) return 2;
    const std::vector<fs::path> made = FilesEndingIn(run, ".png");
    if (made.empty()) {
        std::cerr << "kyr-golden: the scripts took no picture\n";
        return 2;
    }
    int status = 0;
    for (const fs::path& picture : made) {
        const fs::path golden = goldens / picture.filename();
        if (record) {
            fs::copy_file(picture, golden, fs::copy_options::overwrite_existing);
            std::cout << "recorded " << golden.string() << "\n";
            continue;
        }
        Golden::Picture want, got;
        if (!Golden::ReadPicture(golden.string(), want) || !Golden::ReadPicture(picture.string(), got)) {
            std::cout << "FAIL " << picture.filename().string() << ": cannot read " << golden.string() << "\n";
            status = 1;
            continue;
        }
        const Golden::PictureDifference d = Golden::Compare(want, got);
        if (!d.sizes && d.pixels == 0) {
            std::cout << "ok   " << picture.filename().string() << "\n";
            continue;
        }
        const std::string stem = picture.stem().string();
        const fs::path actual = folder / (stem + ".actual.png"), diff = folder / (stem + ".diff.png");
        fs::copy_file(picture, actual, fs::copy_options::overwrite_existing);
        Golden::WritePicture(diff.string(), Golden::DifferencePicture(want, got));
        std::cout << "FAIL " << picture.filename().string() << ": ";
        if (d.sizes) {
            std::cout << got.width << " x " << got.height << " instead of " << want.width << " x " << want.height;
        } else {
            std::cout << d.pixels << " pixels differ within x " << d.left << ".." << d.right << ", y " << d.top
                      << ".." << d.bottom;
        }
        std::cout << "\n     actual:     " << actual.string() << "\n     difference: " << diff.string() << "\n";
        status = 1;
    }
    for (const fs::path& golden : FilesEndingIn(goldens, ".png")) {
        if (fs::exists(run / golden.filename())) continue;
        std::cout << (record ? "note " : "FAIL ") << golden.string() << " is taken by no script\n";
        if (!record) status = 1;
    }
    if (status != 0) std::cout << "a changed picture that is right is recorded with: tools/screenshots.sh --record\n";
    return status;
}

bool Load(const fs::path& path, Golden::Trace& trace) {
    bool ok = false;
    const std::string text = ReadText(path, ok);
    std::string error;
    if (ok && Golden::ParseTrace(text, trace, error)) return true;
    std::cerr << "kyr-golden: " << path.string() << ": " << (ok ? error : "cannot read") << "\n";
    return false;
}

int Trace(const Settings& s, const std::string& show, bool record) {
    const fs::path scripts = s.source / "tests/golden/traces", folder = s.out / "traces" / show;
    const fs::path script = scripts / (show + ".txt"), golden = scripts / (show + ".golden");
    const fs::path fresh = folder / (show + ".trace");
    fs::create_directories(folder);
    fs::remove(fresh);   // the runner appends to a trace file
    if (!fs::exists(script)) {
        std::cerr << "kyr-golden: no script " << script.string() << "\n";
        return 2;
    }
    Golden::Trace got, want;
    if (!RunScript(s, script, folder) || !Load(fresh, got)) return 2;
    if (record) {
        if (!WriteText(golden, Golden::RecordedGolden(got, show, kClock))) {
            std::cerr << "kyr-golden: cannot write " << golden.string() << "\n";
            return 2;
        }
        std::cout << "recorded " << golden.string() << " (" << got.frames.size() << " frames)\n";
        return 0;
    }
    if (!Load(golden, want)) return 2;
    const std::string difference = Golden::FirstDifference(want, got);
    if (difference.empty()) {
        std::cout << "ok   " << show << ": " << got.frames.size() << " frames as in " << golden.string() << "\n";
        return 0;
    }
    std::cout << "FAIL " << show << ": the fresh trace " << fresh.string() << " differs from " << golden.string()
              << "\n"
              << difference << "a change that is right is recorded with: kyr-golden trace --record " << show << "\n";
    return 1;
}

int Compare(const fs::path& expected, const fs::path& actual) {
    Golden::Trace want, got;
    if (!Load(expected, want) || !Load(actual, got)) return 2;
    const std::string difference = Golden::FirstDifference(want, got);
    std::cout << (difference.empty() ? "the traces agree\n" : difference);
    return difference.empty() ? 0 : 1;
}

int Usage() {
    std::cerr << "usage: kyr-golden [--runner PATH] [--source DIR] [--out DIR] pictures [--record]\n"
                 "       kyr-golden [--runner PATH] [--source DIR] [--out DIR] trace [--record] [SHOW...]\n"
                 "       kyr-golden compare EXPECTED ACTUAL\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Settings s;
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    for (; i + 1 < args.size() && args[i].rfind("--", 0) == 0; i += 2) {
        if (args[i] == "--runner") s.runner = args[i + 1];
        else if (args[i] == "--source") s.source = args[i + 1];
        else if (args[i] == "--out") s.out = args[i + 1];
        else return Usage();
    }
    if (i >= args.size()) return Usage();
    const std::string command = args[i++];
    const bool record = i < args.size() && args[i] == "--record";
    if (record) ++i;
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (command == "pictures" && rest.empty()) return Pictures(s, record);
    if (command == "compare" && !record && rest.size() == 2) return Compare(rest[0], rest[1]);
    if (command != "trace") return Usage();
    if (rest.empty()) rest.assign(std::begin(kShows), std::end(kShows));
    int status = 0;
    for (const std::string& show : rest) status = std::max(status, Trace(s, show, record));
    return status;
}
