#include "headless/Quote.h"

#include "platform/console/QuotedText.h"

namespace Headless {

std::string Quote(std::string_view text) { return IO::QuotedText(text, '"'); }

}  // namespace Headless
