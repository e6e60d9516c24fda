// A heavy game frame as a list of requests: two full clears, 200 stars as
// 2 x 2 filled rectangles, 1000 lines of 10 to 300 pixels and 10 short
// texts, in the order a frame posts them.
#pragma once
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/graph/Graph.h"
#include "platform/graph/detail/GraphRequest.h"

namespace graphbench {

using Graph::detail::Request;

inline std::vector<Request> HeavyFrame() {
    std::vector<Request> frame;
    uint32_t seed = 7;
    auto next = [&](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto words = [&](uint8_t op, uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, bool fill) {
        Request r;
        r.op = op;
        r.word[0] = a; r.word[1] = b; r.word[2] = c; r.word[3] = d; r.word[4] = e;
        r.flag = fill;
        frame.push_back(r);
    };
    for (int half = 0; half < 2; ++half) {
        words(Graph::detail::OP_RECTANGLE, 0, 0, 1025, 730, 0, true);
        for (int i = 0; i < 100; ++i) {
            const uint32_t x = next(1020), y = next(725);
            words(Graph::detail::OP_RECTANGLE, x, y, x + 2, y + 2, 15, true);
        }
        for (int i = 0; i < 500; ++i) {
            const double length = 10 + next(291), angle = next(360) * 3.14159265 / 180;
            const uint32_t x1 = 300 + next(400), y1 = 300 + next(130);
            const auto x2 = static_cast<uint32_t>(x1 + length * std::cos(angle));
            const auto y2 = static_cast<uint32_t>(y1 + length * std::sin(angle));
            words(Graph::detail::OP_LINE, x1, y1, x2, y2, 1 + next(15), false);
        }
        for (int i = 0; i < 5; ++i) {
            Request r;
            r.op = Graph::detail::OP_TEXT;
            r.word[0] = 10 + next(900);
            r.word[1] = 10 + next(700);
            r.word[2] = 14;
            std::strcpy(r.text, "SCORE 000123");
            r.textLength = 12;
            frame.push_back(r);
        }
    }
    return frame;
}

// Posts one request through Graph's public calls.
inline void PostThroughGraph(const Request& r) {
    switch (r.op) {
    case Graph::detail::OP_RECTANGLE:
        Graph::Rectangle(r.word[0], r.word[1], r.word[2], r.word[3], r.word[4], r.flag);
        break;
    case Graph::detail::OP_LINE: Graph::Line(r.word[0], r.word[1], r.word[2], r.word[3], r.word[4]); break;
    case Graph::detail::OP_TEXT: Graph::RawOutText(r.word[0], r.word[1], r.word[2], r.text, r.textLength); break;
    default: break;
    }
}

}  // namespace graphbench
