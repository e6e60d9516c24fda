// The program's console key source: standard input, read by a thread of its
// own and decoded into key records posted to the console input queue.
//  - A terminal is switched to raw keys (no echo, no line editing, Enter as
//    0DH; Ctrl+C still ends the program) and restored on every way out.
//  - A pipe or file is decoded as typed keys until its end, its line feeds
//    as Enter; after its end no more keys come.
//  - A closed standard input or /dev/null gives no keys and no error.
// The program's main calls StartConsoleInput once; runners that script their
// keys do not call it.
#pragma once

namespace IO {

// Starts the reader; false when standard input cannot be read at all.
// Calling it again while it runs does nothing and returns true.
bool StartConsoleInput();
// Stops the reader and restores the terminal. Also runs at normal exit.
void StopConsoleInput();

}  // namespace IO
