// Ceilings for the waits of tests that start other programs (an X server, a
// window manager, the program itself). Such a wait ends at the event it
// waits for; its limit only ends a wait for a program that is stuck, so it
// must never be what fails a test on a slow machine. A limit is written as
// an idle machine needs it, with room to spare, and stretched here by how
// busy the machine is now, by a sanitizer build, and by KYR_TEST_TIME_SCALE
// (a number, for a machine known to be slow).
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace testsupport {

// How far the one-minute load average per processor stretches a limit: not
// below 1 (an idle machine), at most 4 (a ceiling must still end).
inline double LoadFactor(double loadAverage, long processors) {
    if (processors < 1 || !(loadAverage > 0)) return 1.0;
    return std::clamp(loadAverage / double(processors), 1.0, 4.0);
}

// KYR_TEST_TIME_SCALE's value: a number from 1 up (a ceiling is never
// shortened); 1 when unset or anything else.
inline double ScaleFromText(const char* text) {
    if (text == nullptr || *text == '\0') return 1.0;
    char* end = nullptr;
    const double scale = std::strtod(text, &end);
    return *end == '\0' && scale >= 1 && scale < 1000 ? scale : 1.0;
}

// The program under test runs several times slower under the sanitizers.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kSanitizerSlowdown = 3.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr double kSanitizerSlowdown = 3.0;
#else
constexpr double kSanitizerSlowdown = 1.0;
#endif
#else
constexpr double kSanitizerSlowdown = 1.0;
#endif

// How much longer than on an idle machine a wait may take now.
inline double TimeScale() {
    double load = 0;
    std::ifstream("/proc/loadavg") >> load;
    return LoadFactor(load, sysconf(_SC_NPROCESSORS_ONLN)) * kSanitizerSlowdown *
           ScaleFromText(std::getenv("KYR_TEST_TIME_SCALE"));
}

template <class Rep, class Period>
std::chrono::milliseconds ScaledToLoad(std::chrono::duration<Rep, Period> limit) {
    const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(limit);
    return std::chrono::milliseconds(static_cast<long long>(double(idle.count()) * TimeScale()));
}

}  // namespace testsupport
