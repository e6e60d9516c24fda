// The terminal settings of standard input while the program reads raw keys.
// The saved settings are put back at normal exit, by Restore, and in the
// handlers of the signals that end the program (interrupt, termination,
// hang-up, quit and the crash signals), which then re-raise the signal.
#pragma once

namespace IO::TerminalMode {

// Saves the settings of terminal fd and switches it to raw keys; false when
// fd is not a terminal or its settings cannot be changed.
bool Enter(int fd);
// Puts the saved settings back; does nothing when not in raw mode.
void Restore();

}  // namespace IO::TerminalMode
