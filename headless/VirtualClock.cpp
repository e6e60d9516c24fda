// The virtual clock and its calendar arithmetic.
#include "headless/VirtualClock.h"

#include <charconv>

namespace Headless {

namespace {

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back
// (H. Hinnant's civil-day algorithms).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

// Reads exactly `width` digits at text[pos] followed by `separator` (0: end of text).
bool Field(std::string_view text, std::size_t& pos, std::size_t width, char separator, int& value) {
    if (pos + width > text.size()) return false;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    std::from_chars(text.data() + pos, text.data() + pos + width, value);
    pos += width;
    if (separator == 0) return pos == text.size();
    if (pos >= text.size() || text[pos] != separator) return false;
    ++pos;
    return true;
}

}  // namespace

bool ParseCivilTime(std::string_view text, CivilTime& out) {
    CivilTime t;
    std::size_t pos = 0;
    bool shaped = Field(text, pos, 4, '-', t.year) && Field(text, pos, 2, '-', t.month) &&
                  Field(text, pos, 2, ' ', t.day) && Field(text, pos, 2, ':', t.hour) &&
                  Field(text, pos, 2, ':', t.minute) && Field(text, pos, 2, '.', t.second) &&
                  Field(text, pos, 2, 0, t.hundredths);
    if (!shaped) return false;
    if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return false;
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return false;
    out = t;
    return true;
}

Clock::WallTime WallTimeAfter(const CivilTime& start, uint64_t ms) {
    int64_t startMs = ((int64_t{start.hour} * 60 + start.minute) * 60 + start.second) * 1000 + start.hundredths * 10;
    int64_t total = startMs + static_cast<int64_t>(ms);
    int64_t days = DaysFromCivil(start.year, start.month, start.day) + total / 86400000;
    int64_t inDay = total % 86400000;
    Clock::WallTime w{};
    int64_t year;
    CivilFromDays(days, year, w.month, w.day);
    w.year = static_cast<int32_t>(year);
    w.hour = static_cast<int32_t>(inDay / 3600000);
    w.minute = static_cast<int32_t>(inDay / 60000 % 60);
    w.second = static_cast<int32_t>(inDay / 1000 % 60);
    w.millisecond = static_cast<int32_t>(inDay % 1000);
    w.biasMinutes = 0;
    w.zoneKnown = true;
    w.summerTime = false;
    return w;
}

void VirtualClock::SleepUntilUs(uint64_t deadline) {
    if (listener_) listener_(deadline);
    AdvanceTo(deadline);
}

void VirtualClock::AdvanceTo(uint64_t us) {
    uint64_t now = now_.load();
    while (us > now && !now_.compare_exchange_weak(now, us)) {
    }
}

}  // namespace Headless
