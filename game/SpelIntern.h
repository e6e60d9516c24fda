// Pure helpers of the game, shared by its source files and its tests: the
// frame pacing, the spawn period and the two hit boxes. Value in, value out;
// no module state.
#pragma once
#include <cstdint>
#include "engine3d/QX3D.h"
#include "platform/Types.h"

namespace KYR12 {

// Frame pacing: the frame loop runs at 60 frames per second. Frame k after
// the anchor starts at anker + k * 1000000 / 60 microseconds, computed as
// anker + k * 50000 / 3 in whole microseconds so that the slots never drift
// (16666, 33333, 50000, ...). A frame that ends after the start of the next
// slot is not followed by catch-up frames: the next frame starts at once and
// becomes the new anchor.
struct FrameTempo {
    uint64_t anker;        // start of the frame that anchors the slots, in us
    uint64_t sindsAnker;   // frames started since the anchor
};

inline constexpr uint64_t FrameSlotTeller = 50000;   // 1000000 / 60 = 50000 / 3
inline constexpr uint64_t FrameSlotNoemer = 3;

// The anchor is the start of the first frame.
FrameTempo StartTempo(uint64_t nu);
// Called after a frame, at time `nu`: returns when the next frame starts (the
// caller waits until then) and moves the tempo on by one frame.
uint64_t VolgendeFrameStart(FrameTempo& tempo, uint64_t nu);

// Frames between two enemies: 500 at levels 1-3, 250 at 4-6, 166 at 7 and 8.
CARDINAL SpawnPeriode(CARDINAL deLevel);

// Whether a point projects into the box round the crosshair where player
// bullets hit enemies (columns 510..516, rows 362..368), or into the box
// where enemy bullets hit the player (columns 496..529, rows 351..379). A
// point without a defined projection lies in neither.
BOOLEAN InDoelBox(QX3D::Vector punt);
BOOLEAN InSpelerBox(QX3D::Vector punt);

}  // namespace KYR12
