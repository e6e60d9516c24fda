// Text output, clearing, and the character-cell text window with its cursor.
#include <cstring>
#include "platform/graph/Graph.h"
#include "platform/graph/detail/GraphCaller.h"
#include "platform/graph/detail/GraphService.h"

namespace Graph {

using namespace detail;

namespace {

uint32_t Clamp(uint32_t value, uint32_t low, uint32_t high) {
    if (value < low) return low;
    return value > high ? high : value;
}

// A filled rectangle in the background colour with the solid mask; the mask
// in use before is put back afterwards.
void ClearBox(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2) {
    CallerState& cs = Caller();
    const bool solidAlready = cs.useStdMask && cs.stdMask == PATSYM_SOLID;
    if (!solidAlready) PostWords(OP_FILLMASK, PATSYM_SOLID);
    PostWords(OP_RECTANGLE, x1, y1, x2, y2, cs.bkColour, true);
    if (solidAlready) return;
    if (cs.useStdMask) {
        PostWords(OP_FILLMASK, cs.stdMask);
    } else {
        // Back to the custom pattern, which the drawing settings still hold.
        TheService().draw.useStdMask = false;
    }
}

}  // namespace

void ClearScreen(CARDINAL mode) {
    const CallerState& cs = Caller();
    if (mode == 0) {
        HideCursor();
        ClearBox(0, 0, Width - 1, Depth - 1);
        RestoreCursor();
    } else if (mode == 2) {
        const TextWindow& t = cs.text;
        HideCursor();
        ClearBox((t.left - 1) * cs.cellWidth, (t.top - 1) * cs.cellHeight, t.right * cs.cellWidth,
                 t.bottom * cs.cellHeight + cs.descent);
        RestoreCursor();
    }
}

void RawOutText(CARDINAL x, CARDINAL y, CARDINAL colour, const CHAR* text, std::size_t capacity) {
    const std::size_t limit = capacity < kTextCapacity ? capacity : kTextCapacity;
    const std::size_t length = text ? strnlen(text, limit) : 0;
    HideCursor();
    if (Request* r = TakeRecord()) {
        r->op = OP_TEXT;
        r->word[0] = x;
        r->word[1] = y;
        r->word[2] = colour;
        r->textLength = static_cast<uint32_t>(length);
        if (length) std::memcpy(r->text, text, length);
        Post(*r);
    }
    RestoreCursor();
}

void SetTextWindow(CARDINAL column1, CARDINAL row1, CARDINAL column2, CARDINAL row2) {
    CallerState& cs = Caller();
    const uint32_t maxColumn = Columns > 0 ? Columns : 1;
    const uint32_t maxRow = Rows > 0 ? Rows : 1;
    column1 = Clamp(column1, 1, maxColumn);
    column2 = Clamp(column2, 1, maxColumn);
    row1 = Clamp(row1, 1, maxRow);
    row2 = Clamp(row2, 1, maxRow);
    HideCursor();
    TextWindow& t = cs.text;
    t.left = column1 < column2 ? column1 : column2;
    t.right = column1 < column2 ? column2 : column1;
    t.top = row1 < row2 ? row1 : row2;
    t.bottom = row1 < row2 ? row2 : row1;
    t.column = t.left;
    t.row = t.top;
    RestoreCursor();
}

void SetTextPosition(CARDINAL column, CARDINAL row) {
    CallerState& cs = Caller();
    TextWindow& t = cs.text;
    HideCursor();
    t.column = Clamp(column, t.left, t.right);
    t.row = Clamp(row, t.top, t.bottom);
    RestoreCursor();
}

BOOLEAN DisplayCursor(BOOLEAN on) {
    CallerState& cs = Caller();
    const bool previous = cs.cursorWanted;
    cs.cursorWanted = on;
    if (on) RestoreCursor();
    else HideCursor();
    return previous;
}

}  // namespace Graph
