// Quoting of the text the runner's messages show (script text, key names,
// file names), so that every message stays one readable line.
#pragma once
#include <string>
#include <string_view>

namespace Headless {

// The text between double quotes, safe to print on one line: quote and
// backslash escaped, bytes outside printable ASCII as \n, \t, \r or \xHH;
// text longer than 80 characters once escaped is cut and marked "...".
// The same quoting as kyr's own command line, with double quotes.
std::string Quote(std::string_view text);

}  // namespace Headless
