// Hooks of the program's waits and the end request (see Waits.h).
#include "platform/console/Waits.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/console/InputQueue.h"

namespace Waits {
namespace {

std::atomic<void (*)()> publishHook{nullptr};
std::atomic<uint64_t (*)()> countHook{nullptr};
std::atomic<void (*)()> waitListeners[kMaxWaitListeners] = {};

constexpr int kNoEnd = -1;
std::atomic<int> endStatus{kNoEnd};
}  // namespace

void SetFrameHooks(const FrameHooks& hooks) {
    publishHook.store(hooks.publishFrame);
    countHook.store(hooks.requestsPosted);
}

void BeforeWait() {
    if (auto publish = publishHook.load()) publish();
    for (auto& slot : waitListeners)
        if (auto listener = slot.load()) listener();
    const int status = endStatus.load();
    if (status == kNoEnd) return;
    std::fflush(stdout);
    std::exit(status);
}

void AddWaitListener(void (*listener)()) {
    for (auto& slot : waitListeners) {
        void (*none)() = nullptr;
        if (slot.compare_exchange_strong(none, listener)) return;
    }
}

uint64_t RequestsPosted() {
    auto count = countHook.load();
    return count ? count() : 0;
}

void RequestEnd(int status) {
    int none = kNoEnd;
    endStatus.compare_exchange_strong(none, status < 0 ? 1 : status);
    IO::WakeReader();
}

bool EndRequested(int* status) {
    const int s = endStatus.load();
    if (s == kNoEnd) return false;
    if (status) *status = s;
    return true;
}

void ClearEndRequest() { endStatus.store(kNoEnd); }

}  // namespace Waits
