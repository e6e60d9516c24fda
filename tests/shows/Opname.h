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

// A key typed before a sequence, and whether it is still queued after it.
void TypToets(char c);
bool ToetsNogInRij(char c);

inline const std::string wisScherm = "rect 0 0 1025 730 0 fill";

}  // namespace ShowsTest
