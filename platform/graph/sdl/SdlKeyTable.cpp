// Table: SDL scancode -> virtual-key code, set-1 scan code, enhanced flag and
// the US-layout characters without and with Shift (0: no character).
#include "platform/graph/sdl/detail/SdlKeyTable.h"

namespace Graph::detail {

namespace {

constexpr SdlKeyInfo kKeys[] = {
    // SDL scancode, VK, scan, enhanced, plain, shifted
    {4, 0x41, 0x1E, false, 'a', 'A'},  {5, 0x42, 0x30, false, 'b', 'B'},
    {6, 0x43, 0x2E, false, 'c', 'C'},  {7, 0x44, 0x20, false, 'd', 'D'},
    {8, 0x45, 0x12, false, 'e', 'E'},  {9, 0x46, 0x21, false, 'f', 'F'},
    {10, 0x47, 0x22, false, 'g', 'G'}, {11, 0x48, 0x23, false, 'h', 'H'},
    {12, 0x49, 0x17, false, 'i', 'I'}, {13, 0x4A, 0x24, false, 'j', 'J'},
    {14, 0x4B, 0x25, false, 'k', 'K'}, {15, 0x4C, 0x26, false, 'l', 'L'},
    {16, 0x4D, 0x32, false, 'm', 'M'}, {17, 0x4E, 0x31, false, 'n', 'N'},
    {18, 0x4F, 0x18, false, 'o', 'O'}, {19, 0x50, 0x19, false, 'p', 'P'},
    {20, 0x51, 0x10, false, 'q', 'Q'}, {21, 0x52, 0x13, false, 'r', 'R'},
    {22, 0x53, 0x1F, false, 's', 'S'}, {23, 0x54, 0x14, false, 't', 'T'},
    {24, 0x55, 0x16, false, 'u', 'U'}, {25, 0x56, 0x2F, false, 'v', 'V'},
    {26, 0x57, 0x11, false, 'w', 'W'}, {27, 0x58, 0x2D, false, 'x', 'X'},
    {28, 0x59, 0x15, false, 'y', 'Y'}, {29, 0x5A, 0x2C, false, 'z', 'Z'},
    {30, 0x31, 0x02, false, '1', '!'}, {31, 0x32, 0x03, false, '2', '@'},
    {32, 0x33, 0x04, false, '3', '#'}, {33, 0x34, 0x05, false, '4', '$'},
    {34, 0x35, 0x06, false, '5', '%'}, {35, 0x36, 0x07, false, '6', '^'},
    {36, 0x37, 0x08, false, '7', '&'}, {37, 0x38, 0x09, false, '8', '*'},
    {38, 0x39, 0x0A, false, '9', '('}, {39, 0x30, 0x0B, false, '0', ')'},
    {40, 0x0D, 0x1C, false, 0x0D, 0x0D},  // Return
    {41, 0x1B, 0x01, false, 0x1B, 0x1B},  // Escape
    {42, 0x08, 0x0E, false, 0x08, 0x08},  // Backspace
    {43, 0x09, 0x0F, false, 0x09, 0x09},  // Tab
    {44, 0x20, 0x39, false, ' ', ' '},
    {45, 0xBD, 0x0C, false, '-', '_'},  {46, 0xBB, 0x0D, false, '=', '+'},
    {47, 0xDB, 0x1A, false, '[', '{'},  {48, 0xDD, 0x1B, false, ']', '}'},
    {49, 0xDC, 0x2B, false, '\\', '|'}, {51, 0xBA, 0x27, false, ';', ':'},
    {52, 0xDE, 0x28, false, '\'', '"'}, {53, 0xC0, 0x29, false, '`', '~'},
    {54, 0xBC, 0x33, false, ',', '<'},  {55, 0xBE, 0x34, false, '.', '>'},
    {56, 0xBF, 0x35, false, '/', '?'},
    {57, 0x14, 0x3A, false, 0, 0},      // Caps Lock
    {58, 0x70, 0x3B, false, 0, 0},  {59, 0x71, 0x3C, false, 0, 0},  // F1, F2
    {60, 0x72, 0x3D, false, 0, 0},  {61, 0x73, 0x3E, false, 0, 0},
    {62, 0x74, 0x3F, false, 0, 0},  {63, 0x75, 0x40, false, 0, 0},
    {64, 0x76, 0x41, false, 0, 0},  {65, 0x77, 0x42, false, 0, 0},
    {66, 0x78, 0x43, false, 0, 0},  {67, 0x79, 0x44, false, 0, 0},
    {68, 0x7A, 0x57, false, 0, 0},  {69, 0x7B, 0x58, false, 0, 0},  // F11, F12
    {71, 0x91, 0x46, false, 0, 0},      // Scroll Lock
    {73, 0x2D, 0x52, true, 0, 0},       // Insert
    {74, 0x24, 0x47, true, 0, 0},       // Home
    {75, 0x21, 0x49, true, 0, 0},       // Page Up
    {76, 0x2E, 0x53, true, 0, 0},       // Delete
    {77, 0x23, 0x4F, true, 0, 0},       // End
    {78, 0x22, 0x51, true, 0, 0},       // Page Down
    {79, 0x27, 0x4D, true, 0, 0},       // Right
    {80, 0x25, 0x4B, true, 0, 0},       // Left
    {81, 0x28, 0x50, true, 0, 0},       // Down
    {82, 0x26, 0x48, true, 0, 0},       // Up
    {83, 0x90, 0x45, true, 0, 0},       // Num Lock
    {84, 0x6F, 0x35, true, '/', '/'},   // keypad /
    {85, 0x6A, 0x37, false, '*', '*'},
    {86, 0x6D, 0x4A, false, '-', '-'},
    {87, 0x6B, 0x4E, false, '+', '+'},
    {88, 0x0D, 0x1C, true, 0x0D, 0x0D}, // keypad Enter
    {224, 0x11, 0x1D, false, 0, 0},     // left Ctrl
    {225, 0x10, 0x2A, false, 0, 0},     // left Shift
    {226, 0x12, 0x38, false, 0, 0},     // left Alt
    {228, 0x11, 0x1D, true, 0, 0},      // right Ctrl
    {229, 0x10, 0x36, false, 0, 0},     // right Shift
    {230, 0x12, 0x38, true, 0, 0},      // right Alt
};

// Keypad digits and point (SDL scancodes 89..99: 1..9, 0, point): the
// digit's VK with NumLock on, the navigation key's VK otherwise.
constexpr SdlKeypadInfo kKeypad[] = {
    {89, 0x61, 0x23, 0x4F, '1'}, {90, 0x62, 0x28, 0x50, '2'}, {91, 0x63, 0x22, 0x51, '3'},
    {92, 0x64, 0x25, 0x4B, '4'}, {93, 0x65, 0x0C, 0x4C, '5'}, {94, 0x66, 0x27, 0x4D, '6'},
    {95, 0x67, 0x24, 0x47, '7'}, {96, 0x68, 0x26, 0x48, '8'}, {97, 0x69, 0x21, 0x49, '9'},
    {98, 0x60, 0x2D, 0x52, '0'}, {99, 0x6E, 0x2E, 0x53, '.'},
};

}  // namespace

const SdlKeyInfo* FindSdlKey(int scancode) {
    for (const SdlKeyInfo& k : kKeys)
        if (k.scancode == scancode) return &k;
    return nullptr;
}

const SdlKeypadInfo* FindSdlKeypad(int scancode) {
    for (const SdlKeypadInfo& k : kKeypad)
        if (k.scancode == scancode) return &k;
    return nullptr;
}

}  // namespace Graph::detail
