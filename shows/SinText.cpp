// Wave text: one character every 11 pixels, each raised or lowered on a sine wave.
#include "platform/graph/Graph.h"
#include "shows/Golf.h"
#include "shows/Shows.h"

namespace KYR12 {

inline constexpr CARDINAL tekenAfstand = 11;   // pixels between characters, whatever their width

// Every element is written, the terminating zero included (that one draws
// nothing). Callers keep y above the amplitude, so the row never goes below 0.
void SinTextUit(CARDINAL x, CARDINAL y, CARDINAL kleur, const CHAR* tekst, std::size_t lengte,
                CARDINAL amplitude, CARDINAL fase) {
    const REAL hoogte = static_cast<REAL>(amplitude);
    for (std::size_t i = 0; i < lengte; ++i) {
        const CHAR teksti[1] = {tekst[i]};
        const CARDINAL stap = fase + static_cast<CARDINAL>(i);
        // Truncated towards zero from the double product, never stored as a REAL.
        const INTEGER rij = static_cast<INTEGER>(LONGREAL(hoogte) * GolfSinus(stap));
        const CARDINAL X = x + tekenAfstand * static_cast<CARDINAL>(i);
        const CARDINAL Y = y + static_cast<CARDINAL>(rij);
        Graph::RawOutText(X, Y, kleur, teksti);
    }
}

}  // namespace KYR12
