// The caller's side of Graph: module state kept on the program's thread and
// the steps every drawing call follows (hide the cursor, fill the request,
// carry it out, show the cursor again). Private to platform/graph.
#pragma once
#include <cstdio>
#include <memory>
#include "platform/graph/detail/GraphRequest.h"
#include "platform/graph/WindowBackend.h"

namespace Graph::detail {

struct TextWindow {
    uint32_t left = 1, top = 1, right = 1, bottom = 1;  // cells, 1-based
    uint32_t column = 1, row = 1;                       // text position
};

struct CallerState {
    bool moduleReady = false;
    bool created = false;
    WindowPlacement placement;
    WindowSystem system;
    std::unique_ptr<WindowBackend> backend;
    bool windowOpen = false;

    // Settings as the caller last set them.
    uint32_t bkColour = 0;
    uint32_t stdMask = 8;
    bool useStdMask = true;
    uint8_t customMask[8] = {};

    // The character cell of the font.
    uint32_t cellWidth = 1, cellHeight = 1, descent = 0;
    TextWindow text;
    bool cursorWanted = false;
    bool cursorShown = false;

    std::FILE* trace = nullptr;

    // Requests posted so far, and how many of them the last published frame holds.
    uint64_t posted = 0;
    uint64_t postedAtPublish = 0;
};

CallerState& Caller();

// The request record to fill; nullptr when there are no surfaces (before
// Init, or after it failed), and the request is dropped.
Request* TakeRecord();
// Writes the trace line and carries the request out at once.
void Post(Request& r);
// Takes the record, fills a request of up to five words and posts it.
void PostWords(uint8_t op, uint32_t w0, uint32_t w1 = 0, uint32_t w2 = 0, uint32_t w3 = 0,
               uint32_t w4 = 0, bool flag = false);

// Around every drawing request: the text cursor is taken off and put back.
void HideCursor();
void RestoreCursor();

}  // namespace Graph::detail
