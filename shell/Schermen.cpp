// The story and controls screens: fixed lines of text, then one key.
#include <cstring>

#include "platform/console/IO.h"
#include "platform/graph/Graph.h"
#include "shell/Shell.h"

namespace KYR12 {

namespace {

constexpr CARDINAL SchermKleur = LIGHTYELLOW;

struct SchermRegel {
    CARDINAL x, y;
    const CHAR* tekst;
};

// The story lines stand 17 pixels apart.
const SchermRegel VerhaalRegels[] = {
    {90, 100, "It began in 2999."},
    {90, 117, "The end of the Millenium"},
    {90, 134, "And we will remember it"},
    {90, 151, "A group of aliens began to destroy earth."},
    {90, 168, "Until now no counterstrike could block them."},
    {90, 185, "Your time has come!"},
    {90, 202, "Winning is your target"},
    {90, 219, "Lossing is ..."},
    {90, 600, "Press any key"},
};

// Headings at x = 90, the key lines indented to x = 120 and 17 pixels apart.
const SchermRegel BedieningRegels[] = {
    {90, 100, "ARROWKEYS:"},
    {120, 147, "DOWN : Climb"},
    {120, 164, "UP : Descend"},
    {120, 181, "LEFT : Turn Left"},
    {120, 198, "RIGHT : Turn Right"},
    {90, 245, "OTHER:"},
    {120, 292, "SPACE : Shoot"},
    {120, 309, "Q : Back To Menu"},
    {90, 600, "Press any key"},
};

// Draws the lines and waits for one key. The character is not used; an
// arrow key leaves its second half pending for the menu.
template <std::size_t N>
void ToonEnWacht(const SchermRegel (&regels)[N]) {
    // Each line's own storage is its characters and the closing zero.
    for (const SchermRegel& regel : regels) {
        Graph::RawOutText(regel.x, regel.y, SchermKleur, regel.tekst, std::strlen(regel.tekst) + 1);
    }
    (void)IO::RdKey();
}

}  // namespace

void VERHAAL() { ToonEnWacht(VerhaalRegels); }

void BEDIENING() { ToonEnWacht(BedieningRegels); }

}  // namespace KYR12
