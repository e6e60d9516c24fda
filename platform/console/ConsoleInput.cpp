// The reader thread of standard input: waits for bytes, decodes them into
// key records and posts them to the console input queue, which wakes the
// program's wait (Waits::Wake). It stays a thread of its own rather than a
// file the window's pump also watches: SDL's wait offers no way to add a
// file to it, and a thread that only ever blocks on the terminal costs
// nothing between keys.
#include "platform/console/ConsoleInput.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/console/InputQueue.h"
#include "platform/console/KeyDecoder.h"
#include "platform/console/TerminalMode.h"

namespace IO {
namespace {

// How long an Esc byte waits for a following byte before it counts as the
// Esc key: terminals send a whole key sequence at once.
constexpr int kLoneEscWaitMs = 25;

struct Reader {
    int fd = STDIN_FILENO;
    int wake[2] = {-1, -1};  // a byte written to wake[1] stops the thread
    bool terminal = false;
    std::thread thread;
};
Reader* reader = nullptr;  // heap: never destroyed while its thread may run
bool exitHookInstalled = false;

void PostAll(std::vector<KeyRecord>& keys) {
    for (const KeyRecord& key : keys) {
        InputEvent event;
        event.isKey = true;
        event.key = key;
        PostInput(event);
    }
    keys.clear();
}

enum class ReadResult { Bytes, TimedOut, Stopped, Ended };

// Waits for input, for the stop byte, or for the lone-Esc wait to pass.
ReadResult WaitAndRead(const Reader& r, bool awaitingMore, uint8_t* buffer, std::size_t size,
                       std::size_t& count) {
    for (;;) {
        pollfd fds[2] = {{r.fd, POLLIN, 0}, {r.wake[0], POLLIN, 0}};
        int ready = poll(fds, 2, awaitingMore ? kLoneEscWaitMs : -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return ReadResult::Ended;
        }
        if (ready == 0) return ReadResult::TimedOut;
        if (fds[1].revents != 0) return ReadResult::Stopped;
        if (fds[0].revents & POLLNVAL) return ReadResult::Ended;
        ssize_t n = read(r.fd, buffer, size);
        if (n > 0) {
            count = std::size_t(n);
            return ReadResult::Bytes;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return ReadResult::Ended;  // end of file, hang-up or a read error
    }
}

void ReadLoop(Reader* r) {
    pthread_setname_np(pthread_self(), "kyr-keys");
    // Signals that end the run go to the program's thread, where they
    // interrupt the wait under way at once.
    sigset_t ending;
    sigemptyset(&ending);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&ending, sig);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    KeyDecoder::Options options;
    options.lineFeedIsEnter = !r->terminal;
    KeyDecoder decoder(options);
    std::vector<KeyRecord> keys;
    uint8_t buffer[512];
    for (;;) {
        std::size_t count = 0;
        ReadResult result = WaitAndRead(*r, decoder.AwaitingMore(), buffer, sizeof buffer, count);
        if (result == ReadResult::Bytes) {
            decoder.Feed(buffer, count, keys);
        } else if (result == ReadResult::TimedOut) {
            decoder.TimePassed(keys);
        } else {
            if (result == ReadResult::Ended) decoder.TimePassed(keys);  // a final Esc
            PostAll(keys);
            return;
        }
        PostAll(keys);
    }
}

void StopAtExit() { StopConsoleInput(); }

}  // namespace

bool StartConsoleInput() {
    if (reader != nullptr) return true;
    if (fcntl(STDIN_FILENO, F_GETFL) < 0) return false;  // standard input is closed
    auto* r = new Reader();
    if (pipe2(r->wake, O_CLOEXEC) != 0) {
        delete r;
        return false;
    }
    r->terminal = isatty(STDIN_FILENO) && TerminalMode::Enter(STDIN_FILENO);
    r->thread = std::thread(ReadLoop, r);
    reader = r;
    if (!exitHookInstalled) {
        exitHookInstalled = true;
        std::atexit(StopAtExit);
    }
    return true;
}

void StopConsoleInput() {
    if (reader == nullptr) return;
    Reader* r = reader;
    reader = nullptr;
    const char stop = 1;
    while (write(r->wake[1], &stop, 1) < 0 && errno == EINTR) {
    }
    r->thread.join();
    close(r->wake[0]);
    close(r->wake[1]);
    TerminalMode::Restore();
    delete r;
}

}  // namespace IO
