// Where a screenshot taken in the window goes and what it is called: the
// player's pictures folder as the desktop names it, and a name from the
// time it was taken that never overwrites an earlier one. Pure functions
// of the text and the answers given, so that they are tested without a
// display or the player's own files.
#pragma once
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace Graph::Screenshots {

// The file that names the desktop's folders: $XDG_CONFIG_HOME/user-dirs.dirs,
// or ~/.config/user-dirs.dirs when that is unset, empty or relative. Empty
// when neither can be formed (no HOME either).
std::string UserDirsPath(const char* xdgConfigHome, const char* home);

// The pictures folder a user-dirs.dirs text names: the last line
// `XDG_PICTURES_DIR="..."` (quoted or not, after blanks; comments skipped),
// with a leading $HOME or ${HOME} replaced by `home`. Empty when no line
// names one, or the folder named is neither absolute nor under $HOME.
std::string PicturesDirFromUserDirs(std::string_view text, std::string_view home);

// What the folder is chosen from.
struct FolderSources {
    std::string home;             // $HOME; empty when unset
    std::string userDirsText;     // the user-dirs.dirs text; empty when unreadable
    bool homePicturesExists = false;  // $HOME/Pictures is a folder
};

// The folder named by user-dirs.dirs; else $HOME/Pictures when it exists;
// else "." (the current folder).
std::string ChooseFolder(const FolderSources& sources);

// kyr-YYYY-MM-DD-HH-MM-SS.png for the first picture of a second, with -2,
// -3 ... before the extension for the ones after it.
std::string FileName(const std::tm& when, int copy);

// The first of FileName(when, 1), (when, 2) ... in `folder` that `taken`
// says is free, as a path; empty when the first `limit` are all taken.
std::string FreePath(const std::string& folder, const std::tm& when,
                     const std::function<bool(const std::string& path)>& taken, int limit = 1000);

}  // namespace Graph::Screenshots
