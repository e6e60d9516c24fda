// The digits of pi, worked out once with the spigot of Rabinowitz and Wagon:
// pi = 2 + 1/3 (2 + 2/5 (2 + 3/7 (2 + ...))) held as a mixed-radix number
// that is multiplied by 10 once per digit. Digits are held back while they
// may still receive a carry (a 9, or a run of 9s).
#include "shows/PiCijfers.h"

#include <cstdint>

namespace KYR12 {
namespace {

// A few digits beyond the last one shown, so that every shown digit is settled.
constexpr std::size_t teBerekenen = piDecimalen + 1 + 16;
constexpr std::size_t resten = teBerekenen * 10 / 3 + 1;

struct PiTabel {
    bool klaar;
    PiRij rijen[piRijen];
    char cijfers[teBerekenen + 1];   // "31415..." without the point
    std::size_t aantal;
    uint32_t rest[resten];
};
PiTabel tabel;

void Voeg(char cijfer) {
    if (tabel.aantal < teBerekenen) tabel.cijfers[tabel.aantal++] = cijfer;
}

// One step: multiply the mixed-radix remainder by 10 and carry from the
// right; the carry out of the leftmost place is the next digit (0 to 10).
uint32_t VolgendeCijfer() {
    uint32_t q = 0;
    for (std::size_t i = resten; i >= 1; --i) {
        const uint32_t noemer = static_cast<uint32_t>(2 * i - 1);
        const uint32_t x = 10 * tabel.rest[i - 1] + q * static_cast<uint32_t>(i);
        tabel.rest[i - 1] = x % noemer;
        q = x / noemer;
    }
    tabel.rest[0] = q % 10;
    return q / 10;
}

void BerekenCijfers() {
    for (uint32_t& r : tabel.rest) r = 2;
    std::size_t negens = 0;
    int vorige = -1;   // the held-back digit; none before the first step
    for (std::size_t stap = 0; stap < teBerekenen; ++stap) {
        const uint32_t q = VolgendeCijfer();
        if (q == 9) {
            ++negens;
            continue;
        }
        const bool overdracht = q == 10;
        if (vorige >= 0) Voeg(static_cast<char>('0' + vorige + (overdracht ? 1 : 0)));
        for (; negens > 0; --negens) Voeg(overdracht ? '0' : '9');
        vorige = overdracht ? 0 : static_cast<int>(q);
    }
}

void VulRijen() {
    std::size_t bron = 0;
    for (std::size_t r = 0; r < piRijen; ++r) {
        for (std::size_t k = 0; k < piRijLengte; ++k) {
            if (r == 0 && k == 1) {
                tabel.rijen[r][k] = '.';
                continue;
            }
            tabel.rijen[r][k] = tabel.cijfers[bron++];
        }
        tabel.rijen[r][piRijLengte] = 0;
    }
}

}  // namespace

const PiRij* PiRegels() {
    if (!tabel.klaar) {
        BerekenCijfers();
        VulRijen();
        tabel.klaar = true;
    }
    return tabel.rijen;
}

}  // namespace KYR12
