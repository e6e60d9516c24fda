// The fixed texts of the main menu: its nine entry lines and four help lines.
#pragma once
#include "shell/Shell.h"

namespace KYR12 {

inline constexpr CARDINAL AantalKeuzes = 9;

// Entry lines indexed 1..9 as the menu numbers them; slot 0 stays empty.
using Keuzes = Teksten[AantalKeuzes + 1];

// Fills every entry line, the blank runs of entries 6 and 7 included.
void VulKeuzes(Keuzes& keuzes);

struct HulpRegel {
    CARDINAL x, y;
    const CHAR* tekst;
};
inline constexpr CARDINAL AantalHulpRegels = 4;
extern const HulpRegel HulpRegels[AantalHulpRegels];

}  // namespace KYR12
