// kyr in a web page: the program with the page's canvas as its window and
// the page's keys. The page passes the files of a run as arguments, in the
// page's own memory file system: --replay FILE plays a recording (fetched
// by the page before the start), --record FILE keeps the session for the
// page's download button, --trace FILE writes the request trace, and
// --fast (with --replay) plays the replay as fast as the page can.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/runtime/Session.h"
#include "platform/web/PageClocks.h"
#include "platform/web/WebCanvas.h"
#include "shell/Shell.h"

#ifndef KYR_VERSION
#error "KYR_VERSION must come from the build (the project's version)"
#endif

namespace {

constexpr int kStatusBadArguments = 2;

bool ReadArguments(int argc, char** argv, Runtime::SessionFiles& files, bool& fast) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fast") == 0) {
            fast = true;
            continue;
        }
        std::string* into = std::strcmp(argv[i], "--replay") == 0   ? &files.replayPath
                            : std::strcmp(argv[i], "--record") == 0 ? &files.recordPath
                            : std::strcmp(argv[i], "--trace") == 0  ? &files.tracePath
                                                                    : nullptr;
        if (into == nullptr || i + 1 >= argc || argv[i + 1][0] == '\0') {
            std::fprintf(stderr, "kyr: the page passed a bad argument \"%s\"\n", argv[i]);
            return false;
        }
        *into = argv[++i];
    }
    return true;
}

int Run(int argc, char** argv) {
    Runtime::SessionFiles files;
    files.program = "kyr";
    files.version = KYR_VERSION;
    files.pictureOptions = "window=web";
    bool fast = false;
    if (!ReadArguments(argc, argv, files, fast)) return kStatusBadArguments;
    static Web::PageClock pageClock;
    static Web::FastClock fastClock;
    Clock::Use(fast && !files.replayPath.empty() ? static_cast<Clock::Source&>(fastClock) : pageClock);
    Runtime::Session session;
    if (!session.Open(files)) return Runtime::kStatusFilesNotKept;
    Web::UseWebCanvas();
    return session.Run(KYR12::RunProgram);
}

}  // namespace

int main(int argc, char** argv) {
    const int status = Run(argc, argv);
    std::fflush(stdout);
    std::fflush(stderr);
    Web::SayProgramEnded(status);
    return status;
}
