// The program body, the main menu and the story and controls screens.
#pragma once
#include "platform/Types.h"

namespace KYR12 {

using Teksten = CHAR[301];
using snelheidoutput = CHAR[4];

// Initialises every module in order and runs the program; returns the exit status.
int RunProgram();

void Menu();
void NavMenu(CARDINAL& d, BOOLEAN& b);
void MenuDo(CARDINAL d);
void snelheid(snelheidoutput& out);

void VERHAAL();
void BEDIENING();

}  // namespace KYR12
