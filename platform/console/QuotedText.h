// Text from outside (arguments, script lines, file names) quoted for a
// message on the console: always one short, printable line.
#pragma once
#include <string>
#include <string_view>

namespace IO {

// `text` between two `quote` characters: the quote and backslash escaped,
// bytes outside printable ASCII as \n, \t, \r or \xHH; text longer than 80
// characters once escaped is cut (never inside an escape) and marked "...".
std::string QuotedText(std::string_view text, char quote);

}  // namespace IO
