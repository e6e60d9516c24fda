// Graph: the graphics window service. One window and a back buffer that
// repaints it. Every drawing call is one request, carried out on the back
// buffer at once, in the order the calls are made; the window shows the back
// buffer as it stood at the program's latest wait (GraphFrames.h).
#pragma once
#include <cstddef>
#include "platform/Types.h"
#include "platform/graph/Kleuren.h"

namespace Graph {

// Public variables (read-only for users).
extern CARDINAL Width;      // width of the back buffer in pixels
extern CARDINAL Depth;      // height of the back buffer in pixels
extern CARDINAL Columns;    // text columns: Width DIV widest character
extern CARDINAL Rows;       // text rows: (Depth - descent) DIV character height
extern CARDINAL NumPColor;  // colours the display offers (saturates, never wraps to 0)

// Line styles and standard fill masks.
inline constexpr CARDINAL LNSTYLE_SOLID = 0;
inline constexpr CARDINAL LNSTYLE_SHORTDASH = 1;
inline constexpr CARDINAL LNSTYLE_DOT = 2;
inline constexpr CARDINAL LNSTYLE_DASHDOT = 3;
inline constexpr CARDINAL LNSTYLE_DASHDOUBLEDOT = 4;
inline constexpr CARDINAL LNSTYLE_INVISIBLE = 5;
inline constexpr CARDINAL PATSYM_HORIZ = 0;
inline constexpr CARDINAL PATSYM_VERT = 1;
inline constexpr CARDINAL PATSYM_DIAG2 = 2;
inline constexpr CARDINAL PATSYM_DIAG1 = 3;
inline constexpr CARDINAL PATSYM_DENSE2 = 4;
inline constexpr CARDINAL PATSYM_DENSE1 = 5;
inline constexpr CARDINAL PATSYM_SOLID = 8;

// Module initialisation: back-buffer lock, colour count, drawing defaults.
// Called once by the program before anything else of Graph.
void ModuleInit();
// Module finaliser: closes the window and releases the surfaces.
void ModuleExit();

BOOLEAN Init(INTEGER left, INTEGER top, INTEGER width, INTEGER height);
void Exit();
void ClearScreen(CARDINAL mode);

// Draws the text (up to its first zero or `capacity` characters, at most 257)
// with the top-left corner of its first cell at (x, y).
void RawOutText(CARDINAL x, CARDINAL y, CARDINAL colour, const CHAR* text, std::size_t capacity);
template <std::size_t N>
inline void RawOutText(CARDINAL x, CARDINAL y, CARDINAL colour, const CHAR (&text)[N]) {
    RawOutText(x, y, colour, text, N);
}

void SetTextWindow(CARDINAL column1, CARDINAL row1, CARDINAL column2, CARDINAL row2);
void SetTextPosition(CARDINAL column, CARDINAL row);
BOOLEAN DisplayCursor(BOOLEAN on);

// Primitives and palette.
void Line(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour);
void Rectangle(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour, BOOLEAN fill);
void Ellipse(CARDINAL x, CARDINAL y, CARDINAL a, CARDINAL b, CARDINAL colour, BOOLEAN fill);
void Disc(CARDINAL x, CARDINAL y, CARDINAL r, CARDINAL colour);
void SetLineStyle(CARDINAL style);
void SetStdFillMask(CARDINAL mask);
CARDINAL GetStdFillMask();
void SetFillMask(const uint8_t (&mask)[8]);
CARDINAL SetBkColor(CARDINAL colour);
void SetBkMix(BOOLEAN opaque);
void InitStdPalette();
INTEGER RemapAllPalette(const CARDINAL* colours, std::size_t count);

}  // namespace Graph
