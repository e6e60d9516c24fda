// The X display probe (see X11Probe.h).
#include "platform/sdl/X11Probe.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace Graph::detail {

namespace {

using Clock = std::chrono::steady_clock;

struct Address {
    sockaddr_storage bytes{};
    socklen_t length = 0;
    std::string place;  // how a message names it: a socket's path, or host and port
};

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// The events that came on `fd` before the deadline; 0 when none did.
short WaitFor(int fd, short events, Clock::time_point deadline) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int n = poll(&p, 1, MsLeft(deadline));
        if (n > 0) return p.revents;
        if (n == 0 || errno != EINTR) return 0;
    }
}

// "[protocol/]host:N[.S]" into the places Xlib would try, in its order: for
// no host or "unix" the abstract socket, then the socket file; otherwise
// TCP port 6000+N on the host's addresses. False when `name` is no display;
// a host that cannot be looked up leaves `out` empty and says why in `lookup`.
bool Addresses(const std::string& name, std::vector<Address>& out, std::string& lookup) {
    const size_t colon = name.rfind(':');
    if (colon == std::string::npos) return false;
    const char* first = name.data() + colon + 1;
    const char* last = name.data() + name.size();
    int number = -1;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end == first || number < 0 || number > 65535 - 6000 || (end != last && *end != '.'))
        return false;
    std::string host = name.substr(0, colon);
    const size_t slash = host.rfind('/');
    const bool unixProtocol = slash != std::string::npos && host.compare(0, slash, "unix") == 0;
    if (slash != std::string::npos) host.erase(0, slash + 1);
    if (host.empty() || host == "unix" || unixProtocol) {
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        for (const size_t skip : {1, 0}) {  // the abstract name starts with a zero byte
            Address a;
            auto& un = reinterpret_cast<sockaddr_un&>(a.bytes);
            un.sun_family = AF_UNIX;
            std::memcpy(un.sun_path + skip, path.c_str(), path.size());
            a.length = socklen_t(offsetof(sockaddr_un, sun_path) + skip + path.size());
            a.place = (skip ? "@" : "") + path;
            out.push_back(a);
        }
        return true;
    }
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    // The name lookup itself is not bounded by the limit.
    addrinfo hints{}, *found = nullptr;
    hints.ai_socktype = SOCK_STREAM;
    const std::string port = std::to_string(6000 + number);
    if (const int failed = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); failed != 0) {
        lookup = "no address for host " + host + ": " + gai_strerror(failed);
        return true;
    }
    for (const addrinfo* at = found; at; at = at->ai_next) {
        Address a;
        std::memcpy(&a.bytes, at->ai_addr, at->ai_addrlen);
        a.length = at->ai_addrlen;
        a.place = host + " port " + port;
        out.push_back(a);
    }
    freeaddrinfo(found);
    return true;
}

enum class Link { Open, Nobody, Slow };

// Connects the non-blocking `fd`, waiting no longer than the deadline;
// `error` says why nobody took the connection.
Link Connect(int fd, const Address& a, Clock::time_point deadline, int& error) {
    const auto* address = reinterpret_cast<const sockaddr*>(&a.bytes);
    if (connect(fd, address, a.length) == 0) return Link::Open;
    // A local server with a full queue of connections: Xlib would wait for
    // a place in it, so try again until the deadline.
    while (errno == EAGAIN && MsLeft(deadline) > 0) {
        usleep(10000);
        if (connect(fd, address, a.length) == 0) return Link::Open;
    }
    if (errno == EAGAIN) return Link::Slow;
    if (errno != EINPROGRESS && errno != EINTR) {
        error = errno;
        return Link::Nobody;
    }
    if (WaitFor(fd, POLLOUT, deadline) == 0) return Link::Slow;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    return error != 0 ? Link::Nobody : Link::Open;
}

// Sends the connection setup without authorisation (a refusal is an answer
// too) and waits for the first byte of the reply or a hang-up.
bool Answers(int fd, Clock::time_point deadline) {
    const bool big = std::endian::native == std::endian::big;
    unsigned char setup[12] = {};
    setup[0] = big ? 'B' : 'l';
    setup[big ? 3 : 2] = 11;  // protocol 11.0, no authorisation name or data
    if (send(fd, setup, sizeof setup, MSG_NOSIGNAL) < 0 && errno != EAGAIN) return true;  // hung up
    if (WaitFor(fd, POLLIN, deadline) == 0) return false;
    char byte;
    (void)!recv(fd, &byte, 1, 0);
    return true;
}

// Why nobody took a connection at `place`: "no X server" where nothing
// listens, the plain error otherwise (a socket the user may not open ...).
std::string NobodyAt(const std::string& place, int error) {
    const bool nothingThere = error == ENOENT || error == ECONNREFUSED;
    return (nothingThere ? "no X server at " : "cannot connect to ") + place + ": " + std::strerror(error);
}

}  // namespace

X11ProbeResult ProbeX11Display(const char* display, int limitMs) {
    using Outcome = X11ProbeResult::Outcome;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    std::vector<Address> addresses;
    std::string nobody;
    if (!display || !Addresses(display, addresses, nobody)) return {Outcome::NotAsked, ""};
    for (const Address& a : addresses) {
        const int fd = socket(a.bytes.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            nobody = NobodyAt(a.place, errno);
            continue;
        }
        int error = 0;
        const Link link = Connect(fd, a, deadline, error);
        const bool answered = link == Link::Open && Answers(fd, deadline);
        close(fd);
        if (link == Link::Nobody) {
            // The last place tried is the one named: for a local display the
            // socket file, which says more than the abstract name.
            nobody = NobodyAt(a.place, error);
            continue;
        }
        if (answered) return {Outcome::Answered, ""};
        return {Outcome::Silent, std::string("the X display ") + display +
                                     (link == Link::Slow ? " did not take the connection" : " did not answer") +
                                     " within " + std::to_string(limitMs) + " ms"};
    }
    return {Outcome::NoServer, nobody};
}

}  // namespace Graph::detail
