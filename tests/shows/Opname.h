// Test support: the offscreen window, a fake clock that records every
// wait, and a recording of a sequence cut into frames at its waits.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graph/Kleuren.h"

namespace ShowsTest {

// Opens the offscreen window once, sets the engine to the start-up setting,
// empties the key queue and installs the fake clock at second `seconde`.
void Omgeving(int seconde = 5);

struct Tekst {
    int x, y, kleur;
    std::string tekst;
};

// The requests posted up to one wait, and that wait in milliseconds.
struct Beeld {
    std::vector<std::string> regels;
    uint64_t wachtMs = 0;
    std::vector<Tekst> Teksten() const;
    std::vector<std::string> Soort(const char* soort) const;   // e.g. "line", "rect"
};

// Runs the sequence and cuts its request trace at every wait.
std::vector<Beeld> Neem(void (*reeks)());
// The frames that end in a wait of `ms`, in order.
std::vector<const Beeld*> MetWacht(const std::vector<Beeld>& opname, uint64_t ms);
uint64_t TotaleWacht(const std::vector<Beeld>& opname);

// The first difference between a recording and the whole program's golden
// trace of the same show (tests/golden/traces/SHOW.golden), empty when every
// frame agrees. The program draws Graph's set-up or the menu in the show's
// first frame before the show begins: the golden's first frame only has to
// end in the recording's first frame. The times of the frames are not
// compared, and a wait after no drawing shows no new frame. The intro and the
// outro draw alike in both: the intro seeds its stars from the clock, which
// reads 12:00:05.37 in both; the credits and the demo take stars from the
// generator in whatever state the program or the earlier tests left it.
std::string VerschilMetGolden(const char* show, const std::vector<Beeld>& opname);

// A key typed before a sequence, and whether it is still queued after it.
void TypToets(char c);
bool ToetsNogInRij(char c);

inline const std::string wisScherm = "rect 0 0 1025 730 0 fill";

}  // namespace ShowsTest
