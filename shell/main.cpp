// kyr: the program with its SDL window and the terminal's keys.
#include "platform/console/ConsoleInput.h"
#include "platform/graph/SdlWindow.h"
#include "shell/Shell.h"

int main() {
    Graph::UseSdlWindow();
    // Keys come from the terminal (and the window); a standard input that
    // cannot be read just gives no keys.
    IO::StartConsoleInput();
    int status = KYR12::RunProgram();
    IO::StopConsoleInput();  // restores the terminal
    return status;
}
