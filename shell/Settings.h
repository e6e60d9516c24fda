// kyr's settings file: the window options a player wants every time, kept
// in $XDG_CONFIG_HOME/kyr/kyr.conf (~/.config/kyr/kyr.conf by default) or a
// file named with --config. One `setting = value` a line; `#` starts a
// comment, blank lines are allowed:
//
//   scale = auto          # 1 to 4, or auto: the largest that fits the screen
//   fullscreen = no       # yes or no
//   renderer = auto       # auto, software or hardware
//   controller = yes      # yes or no
//
// The command line overrides the file. A line that cannot be read is one
// warning naming the file, the line and why, and the rest still applies; a
// file that cannot be read is one warning, and the game starts without it.
// A missing file is no settings, without a word.
#pragma once
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sdl/SdlWindow.h"
#include "shell/CommandLine.h"

namespace Shell {

// The words of the window options, shared by the command line, the
// settings file and a recording's options line.
bool ReadScaleWord(std::string_view word, int& scale);  // "1" to "4" or "auto"
bool ReadRendererWord(std::string_view word, Graph::SdlWindowOptions::Renderer& renderer);
bool ReadYesNoWord(std::string_view word, bool& yes);
std::string ScaleWord(int scale);  // "auto" for the automatic scale
std::string_view RendererWord(Graph::SdlWindowOptions::Renderer renderer);

// The settings file: `named` (--config) when given; else kyr/kyr.conf in
// XDG_CONFIG_HOME when that is an absolute path, else in $HOME/.config.
// Empty when neither variable gives a place.
std::string SettingsPath(const std::string& named, const char* xdgConfigHome, const char* home);

// Applies the lines of a settings file to `window`; each line that cannot
// be read adds one warning ("kyr: 'FILE' line N: why", no newline) and is
// skipped. Only the first few bad lines are named, then how many more.
void ApplySettingsText(std::string_view text, const std::string& path, Graph::SdlWindowOptions& window,
                       std::vector<std::string>& warnings);

// Reads the settings file into `window`. A missing file adds nothing unless
// `missingIsAnError`; a file that cannot be read (a FIFO, a folder, a
// device, no permission, too large) adds one warning and sets nothing.
// Reading never blocks.
void LoadSettings(const std::string& path, bool missingIsAnError, Graph::SdlWindowOptions& window,
                  std::vector<std::string>& warnings);

// The settings file that gives these options, every setting written out.
std::string SettingsText(const Graph::SdlWindowOptions& window);

// Writes the settings file, making its folders (0700, as XDG asks) where
// missing. Empty when written, else why not (one line, no newline).
std::string WriteSettings(const std::string& path, const Graph::SdlWindowOptions& window);

// kyr's options in force: the arguments are read first (help, version, a
// bad argument and --config answer before any file is read), then the
// settings file, then the arguments again over the file's settings. The
// file's warnings go to `err`; `options.config` holds the file's path.
ParsedCommandLine ReadOptions(std::span<const std::string_view> arguments, const char* xdgConfigHome,
                              const char* home, std::ostream& err);
ParsedCommandLine ReadOptions(int argc, const char* const* argv, const char* xdgConfigHome, const char* home,
                              std::ostream& err);

// --write-config: writes the window options in force to the settings file;
// one line on `out` saying where and status 0, or one line on `err` saying
// why not and a status that is not 0.
int AnswerWriteConfig(const CommandLine& options, std::ostream& out, std::ostream& err);

}  // namespace Shell
