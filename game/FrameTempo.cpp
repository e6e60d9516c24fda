// Frame pacing of the game: the slot arithmetic behind the 60-per-second pace.
#include "game/SpelIntern.h"

namespace KYR12 {

FrameTempo StartTempo(uint64_t nu) {
    return FrameTempo{nu, 0};
}

uint64_t VolgendeFrameStart(FrameTempo& tempo, uint64_t nu) {
    tempo.sindsAnker += 1;
    const uint64_t slot = tempo.anker + tempo.sindsAnker * FrameSlotTeller / FrameSlotNoemer;
    if (nu > slot) {
        // Late (an explosion, a slow machine): start now and count from here,
        // rather than rush through the missed slots.
        tempo = FrameTempo{nu, 0};
        return nu;
    }
    return slot;
}

}  // namespace KYR12
