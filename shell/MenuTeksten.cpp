// The main menu's texts. Entries 6 and 7 carry long runs of blanks on
// purpose: the current value is printed at x = 350 on top of the first run,
// and since text is drawn on an opaque black background, redrawing the line
// wipes the previous value before the new one is written.
#include "shell/MenuTeksten.h"

#include <cstring>

namespace KYR12 {

const HulpRegel HulpRegels[AantalHulpRegels] = {
    {100, 500, "Use the arrowkeys to navigate through the menu (UP en DOWN)"},
    {100, 520, "Use the arrowkeys to change the values (LEFT en RIGHT)"},
    {100, 540, "To ENTER press SPACE"},
    {100, 600, "WARNING: Just press the keys if it is necessary"},
};

namespace {

// One piece of an entry line: a text, or (when tekst is null) a run of blanks.
struct Stuk {
    const CHAR* tekst;
    CARDINAL blanks;
};

constexpr CARDINAL MaxStukken = 5;
struct KeuzeRegel {
    Stuk stukken[MaxStukken];
};

const KeuzeRegel KeuzeRegels[AantalKeuzes + 1] = {
    {},
    {{{"**1**     Intro", 0}}},
    {{{"**2**     The Story", 0}}},
    {{{"**3**     Play KYR", 0}}},
    {{{"**4**     Controls", 0}}},
    {{{"**5**     Credits", 0}}},
    {{{"**6**     Level", 0}, {nullptr, 63}, {"Van 1 tot 8", 0}, {nullptr, 19}, {"( > : Enemy is better)", 0}}},
    {{{"**7**     Speed of the Flying Objects", 0}, {nullptr, 27}, {"Van 0 tot 25", 0}, {nullptr, 17}, {"(0 is normal)", 0}}},
    {{{"**8**     Demo van de 3D-engine", 0}}},
    {{{"**9**     Close", 0}}},
};

// Appends one piece at `lengte`, never past the line's last character.
void VoegToe(Teksten& regel, std::size_t& lengte, const Stuk& stuk) {
    constexpr std::size_t ruimte = sizeof(Teksten) - 1;  // keep room for the closing zero
    if (stuk.tekst != nullptr) {
        for (const CHAR* p = stuk.tekst; *p != 0 && lengte < ruimte; ++p) regel[lengte++] = *p;
    } else {
        for (CARDINAL i = 0; i < stuk.blanks && lengte < ruimte; ++i) regel[lengte++] = ' ';
    }
}

}  // namespace

void VulKeuzes(Keuzes& keuzes) {
    std::memset(keuzes[0], 0, sizeof(Teksten));
    for (CARDINAL i = 1; i <= AantalKeuzes; ++i) {
        Teksten& regel = keuzes[i];
        std::memset(regel, 0, sizeof(Teksten));
        std::size_t lengte = 0;
        for (const Stuk& stuk : KeuzeRegels[i].stukken) {
            if (stuk.tekst == nullptr && stuk.blanks == 0) break;
            VoegToe(regel, lengte, stuk);
        }
    }
}

}  // namespace KYR12
