// Takes keys from standard input as the program does, then ends in the way
// its argument names. Prints "READY" once keys are being read, then each
// character IO.RdKey returns as two hex digits.
//   keys     print characters until a 'q' is read, then return
//   return   wait for one key, then return from main
//   exit     wait for one key, then exit(3)
//   wait     print characters forever (ended by Ctrl+C)
//   wait_handled  as wait, with a do-nothing Ctrl+C handler installed
//            first, as a window library may do
//   SIGINT, SIGTERM, SIGHUP, SIGSEGV, SIGABRT
//            wait for one key, then raise that signal
//   nokeys   no waiting: print whether input started and how many of 50
//            polls saw a key
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/console/ConsoleInput.h"
#include "platform/console/IO.h"

namespace {

void WriteHex(uint8_t c) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X ", c);
    IO::WrStr(text, sizeof text);
}

int SignalNamed(const char* name) {
    if (std::strcmp(name, "SIGINT") == 0) return SIGINT;
    if (std::strcmp(name, "SIGTERM") == 0) return SIGTERM;
    if (std::strcmp(name, "SIGHUP") == 0) return SIGHUP;
    if (std::strcmp(name, "SIGSEGV") == 0) return SIGSEGV;
    if (std::strcmp(name, "SIGABRT") == 0) return SIGABRT;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const char* mode = argv[1];
    if (std::strcmp(mode, "wait_handled") == 0) {
        signal(SIGINT, [](int) {});
        mode = "wait";
    }
    IO::ModuleInit();
    bool started = IO::StartConsoleInput();

    if (std::strcmp(mode, "nokeys") == 0) {
        int seen = 0;
        for (int k = 0; k < 50; ++k) seen += IO::KeyPressed() ? 1 : 0;
        char text[64];
        std::snprintf(text, sizeof text, "READY started=%d seen=%d", started ? 1 : 0, seen);
        IO::WrStr(text, sizeof text);
        IO::WrLn();
        return 0;
    }
    IO::WrStr("READY");
    IO::WrLn();

    if (std::strcmp(mode, "keys") == 0 || std::strcmp(mode, "wait") == 0) {
        bool untilQ = std::strcmp(mode, "keys") == 0;
        for (;;) {
            uint8_t c = IO::RdKey();
            WriteHex(c);
            if (untilQ && c == 'q') break;
        }
        IO::WrLn();
        return 0;
    }
    IO::RdKey();
    if (std::strcmp(mode, "return") == 0) return 0;
    if (std::strcmp(mode, "exit") == 0) std::exit(3);
    int sig = SignalNamed(mode);
    if (sig == 0) return 2;
    raise(sig);
    return 4;  // not reached: the signal ends the program
}
