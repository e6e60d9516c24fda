// WholeStr: whole numbers as decimal text in fixed character arrays. A text
// that does not fit keeps its leading characters and has no closing zero.
#include "platform/console/WholeStr.h"

namespace WholeStr {
namespace {

// Writes the digits of magnitude from position start; returns nothing, the
// text is cut at the array's end.
void PutDigits(uint64_t magnitude, CHAR* s, std::size_t capacity, std::size_t start) {
    char digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t at = start;
    for (std::size_t k = count; k > 0 && at < capacity; --k) s[at++] = digits[k - 1];
    if (at < capacity) s[at] = '\0';
}

}  // namespace

void CardToStr(CARDINAL c, CHAR* s, std::size_t capacity) { PutDigits(c, s, capacity, 0); }

void IntToStr(INTEGER i, CHAR* s, std::size_t capacity) {
    if (i >= 0) {
        PutDigits(uint64_t(i), s, capacity, 0);
        return;
    }
    if (capacity == 0) return;
    s[0] = '-';
    // Negate in 64 bits so that the most negative value has a magnitude.
    PutDigits(uint64_t(-int64_t(i)), s, capacity, 1);
}

}  // namespace WholeStr
