// The X display probe: a display that takes the connection and never
// answers is reported, under every way of naming it (local sockets, abstract
// or file, and TCP); a display that answers the setup request, or hangs up,
// and a real Xvfb pass; no server there is told apart, with where the probe
// looked and why; names it cannot parse are left to the window system.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include "platform/sdl/X11Probe.h"
#include "tests/support/DisplayFiles.h"
#include "tests/support/KyrRun.h"
#include "tests/support/XvfbServer.h"

using Graph::detail::ProbeX11Display;
using Outcome = Graph::detail::X11ProbeResult::Outcome;
using namespace std::chrono_literals;

namespace {

// A stand-in X server on a free display number >= 600 (held by its lock
// file, as X servers do): listens where asked, accepts every connection,
// then stays silent, hangs up, or sends one byte once a whole, well-formed
// setup request has come in; or, stuck, accepts nothing and lets its queue
// of waiting connections fill up.
class FakeDisplay {
public:
    enum Reply { Silent, HangUp, Answer, Stuck };
    // StaleFile: a socket file nobody listens on; Nowhere: the number held, nothing listening.
    enum Where { Nowhere = 0, Abstract = 1, File = 2, Tcp = 4, StaleFile = 8 };

    FakeDisplay(Reply reply, int where) : reply_(reply), where_(where) {}

    bool Start() {
        for (number_ = 600; number_ < 700; ++number_) {
            if (!(held_ = testsupport::ClaimDisplayNumber(number_))) continue;
            path_ = testsupport::DisplaySocket(number_);
            if (Listen()) break;
            Release();
        }
        if (number_ == 700) return false;
        if (reply_ == Stuck) return FillQueues();
        thread_ = std::thread([this] { Serve(); });
        return true;
    }

    ~FakeDisplay() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        Release();
    }

    std::string Name(const std::string& host = "", const std::string& screen = "") const {
        return host + ":" + std::to_string(number_) + screen;
    }
    int Connections() const { return connections_; }

private:
    bool Listen() {
        if (where_ & (Abstract | File | StaleFile)) {
            for (const bool abstract : {true, false}) {
                if (abstract ? !(where_ & Abstract) : !(where_ & (File | StaleFile))) continue;
                sockaddr_un a{};
                a.sun_family = AF_UNIX;
                std::memcpy(a.sun_path + abstract, path_.data(), path_.size());
                if (!Bind(AF_UNIX, &a, socklen_t(offsetof(sockaddr_un, sun_path) + abstract + path_.size())))
                    return false;
                if (!abstract) file_ = true;
            }
            if (where_ & StaleFile) close(listeners_.back()), listeners_.pop_back();
        }
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(uint16_t(6000 + number_));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return !(where_ & Tcp) || Bind(AF_INET, &a, sizeof a);
    }

    bool Bind(int family, const void* address, socklen_t length) {
        const int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        listeners_.push_back(fd);
        return bind(fd, static_cast<const sockaddr*>(address), length) == 0 && listen(fd, reply_ == Stuck ? 0 : 8) == 0;
    }

    // Connects to every listener until it has no room for one more.
    bool FillQueues() {
        for (const int listener : listeners_) {
            sockaddr_storage a{};
            socklen_t length = sizeof a;
            getsockname(listener, reinterpret_cast<sockaddr*>(&a), &length);
            for (int tries = 0;; ++tries) {
                const int fd = socket(a.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
                accepted_.push_back(fd);
                if (connect(fd, reinterpret_cast<sockaddr*>(&a), length) != 0 && errno == EAGAIN) break;
                if (tries == 64) return false;
            }
        }
        return true;
    }

    void Release() {
        for (int fd : listeners_) close(fd);
        for (int fd : accepted_) close(fd);
        listeners_.clear();
        accepted_.clear();
        if (file_) unlink(path_.c_str());
        file_ = false;
        if (held_) testsupport::ReleaseDisplayNumber(number_);
        held_ = false;
    }

    void Serve() {
        while (!stop_) {
            std::vector<pollfd> p;
            for (int fd : listeners_) p.push_back({fd, POLLIN, 0});
            if (poll(p.data(), p.size(), 50) <= 0) continue;
            for (const pollfd& one : p) {
                if (!(one.revents & POLLIN)) continue;
                const int fd = accept4(one.fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd < 0) continue;
                ++connections_;
                if (reply_ == Answer && WellFormedSetup(fd)) (void)!write(fd, "\0", 1);  // "Failed" is an answer
                if (reply_ == HangUp) close(fd);
                else accepted_.push_back(fd);
            }
        }
    }

    // Protocol 11.0 in the byte order the first byte names, no authorisation.
    static bool WellFormedSetup(int fd) {
        unsigned char b[12];
        size_t got = 0;
        pollfd p{fd, POLLIN, 0};
        while (got < sizeof b && poll(&p, 1, 2000) > 0) {
            const ssize_t n = read(fd, b + got, sizeof b - got);
            if (n <= 0) return false;
            got += size_t(n);
        }
        if (got != sizeof b || (b[0] != 'l' && b[0] != 'B')) return false;
        const auto at = [&](int i) { return b[0] == 'l' ? b[i] | b[i + 1] << 8 : b[i] << 8 | b[i + 1]; };
        return at(2) == 11 && at(4) == 0 && at(6) == 0 && at(8) == 0;
    }

    Reply reply_;
    int where_;
    int number_ = 600;
    bool file_ = false, held_ = false;
    std::string path_;
    std::vector<int> listeners_, accepted_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
};

// Probes `name` with `limitMs`; a silent display must say why, and no
// probe may run much past its limit.
Outcome Probe(const std::string& name, int limitMs = 300) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = ProbeX11Display(name.c_str(), limitMs);
    const auto slack = testsupport::ScaledToLoad(2s);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(limitMs) + slack) << name;
    if (result.outcome == Outcome::Silent) {
        EXPECT_FALSE(result.why.empty()) << name;
    }
    return result.outcome;
}

TEST(X11ProbeSilentDisplay, IsReportedOnEveryLocalSocketAndNaming) {
    for (const int where : {FakeDisplay::Abstract | FakeDisplay::File, +FakeDisplay::Abstract, +FakeDisplay::File}) {
        FakeDisplay silent(FakeDisplay::Silent, where);
        ASSERT_TRUE(silent.Start()) << "no free display number";
        for (const std::string& name : {silent.Name(), silent.Name("", ".0"), silent.Name("unix"),
                                        silent.Name("unix", ".1"), silent.Name("myhost/unix")}) {
            SCOPED_TRACE("sockets " + std::to_string(where) + ", DISPLAY=" + name);
            EXPECT_EQ(Outcome::Silent, Probe(name));
        }
        EXPECT_GT(silent.Connections(), 0);
    }
}

TEST(X11ProbeSilentDisplay, AStuckDisplayWithAFullQueueIsReported) {
    FakeDisplay stuck(FakeDisplay::Stuck, FakeDisplay::Abstract | FakeDisplay::File);
    ASSERT_TRUE(stuck.Start()) << "no free display number, or its queue would not fill";
    EXPECT_EQ(Outcome::Silent, Probe(stuck.Name()));
}

TEST(X11ProbeSilentDisplay, IsReportedOverTcp) {
    FakeDisplay silent(FakeDisplay::Silent, FakeDisplay::Tcp);
    ASSERT_TRUE(silent.Start()) << "no free display number";
    EXPECT_EQ(Outcome::Silent, Probe(silent.Name("127.0.0.1")));
    EXPECT_EQ(Outcome::Silent, Probe(silent.Name("localhost", ".0")));
    EXPECT_EQ(Outcome::NoServer, Probe(silent.Name())) << "a local name must not use TCP";
}

TEST(X11ProbeAnswer, ASetupReplyOrAHangUpCounts) {
    for (const FakeDisplay::Reply reply : {FakeDisplay::Answer, FakeDisplay::HangUp}) {
        FakeDisplay display(reply, FakeDisplay::Abstract | FakeDisplay::File | FakeDisplay::Tcp);
        ASSERT_TRUE(display.Start()) << "no free display number";
        EXPECT_EQ(Outcome::Answered, Probe(display.Name(), 5000)) << "reply " << reply;
        EXPECT_EQ(Outcome::Answered, Probe(display.Name("127.0.0.1"), 5000)) << "reply " << reply;
    }
}

TEST(X11ProbeAnswer, ARealXServerAnswers) {
    if (!testsupport::XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    testsupport::XvfbServer xvfb;
    ASSERT_TRUE(xvfb.Start());
    EXPECT_EQ(Outcome::Answered, Probe(xvfb.Display(), 5000));
    EXPECT_EQ(Outcome::Answered, Probe(xvfb.Display() + ".0", 5000));
}

// A name the probe cannot parse is the window system's to judge; at once.
TEST(X11ProbeNotAsked, NoNameOrAMalformedOne) {
    EXPECT_EQ(ProbeX11Display(nullptr, 5000).outcome, Outcome::NotAsked);
    for (const char* name : {"", "0", ":", ":x", ":-1", ":1x", ":99999", "unix:"}) {
        const auto result = ProbeX11Display(name, 5000);
        EXPECT_EQ(result.outcome, Outcome::NotAsked) << name;
        EXPECT_EQ(result.why, "") << name;
    }
}

// Nothing listens: the probe says so at once (XOpenDisplay fails at once by
// itself, so nothing waits for the limit), naming the last place it tried
// (for a local display the socket file) and the error.
TEST(X11ProbeNoServer, SaysWhereItLookedAndWhy) {
    FakeDisplay unused(FakeDisplay::Silent, FakeDisplay::Nowhere);
    FakeDisplay stale(FakeDisplay::Silent, FakeDisplay::StaleFile);  // a dead server's socket file
    ASSERT_TRUE(unused.Start() && stale.Start()) << "no free display number";
    const std::string unusedNumber = unused.Name().substr(1), staleNumber = stale.Name().substr(1);
    const struct {
        std::string display, why;
    } cases[] = {
        {unused.Name(), "no X server at /tmp/.X11-unix/X" + unusedNumber + ": No such file or directory"},
        {unused.Name("unix", ".0"), "no X server at /tmp/.X11-unix/X" + unusedNumber + ": No such file or directory"},
        {stale.Name(), "no X server at /tmp/.X11-unix/X" + staleNumber + ": Connection refused"},
        {unused.Name("127.0.0.1"), "no X server at 127.0.0.1 port " + std::to_string(6000 + std::stoi(unusedNumber)) +
                                       ": Connection refused"},
    };
    for (const auto& c : cases) {
        const auto result = ProbeX11Display(c.display.c_str(), 5000);
        EXPECT_EQ(result.outcome, Outcome::NoServer) << c.display;
        EXPECT_EQ(result.why, c.why) << c.display;
    }
}

}  // namespace

namespace {

// The real program on a display number nobody serves: it says which display
// it cannot open and why, before its own line, and ends with status 1.
TEST(X11ProbeNoServer, TheProgramSaysItCannotOpenTheDisplay) {
    SKIP_WITHOUT("stty");
    FakeDisplay unused(FakeDisplay::Silent, FakeDisplay::Nowhere);
    ASSERT_TRUE(unused.Start()) << "no free display number";
    testsupport::KyrRun run(unused.Name());
    ASSERT_TRUE(run.Start());
    const testsupport::KyrRun::Result r = run.Finish(60s);
    ASSERT_TRUE(r.ended) << "the program did not end";
    EXPECT_EQ(r.status, "1\n");
    EXPECT_EQ(r.err, "kyr: cannot open display " + unused.Name() + " (no X server at /tmp/.X11-unix/X" +
                         unused.Name().substr(1) + ": No such file or directory)\n"
                         "Win class was not registered\n");
    EXPECT_EQ(r.after, r.before) << "the terminal settings were not restored";
}

}  // namespace
