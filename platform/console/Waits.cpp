// Hooks of the program's waits, the end request and the event pump (see Waits.h).
#include "platform/console/Waits.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <unistd.h>

namespace Waits {
namespace {

std::atomic<void (*)()> publishHook{nullptr};
std::atomic<uint64_t (*)()> countHook{nullptr};
std::atomic<void (*)()> waitListeners[kMaxWaitListeners] = {};
std::atomic<void (*)(int)> abruptEndHook{nullptr};

// The end request in one word, so that a signal handler can set it:
// cause, status and signal packed; kNoEnd when none.
constexpr int kNoEnd = -1;
std::atomic<int> endWord{kNoEnd};
static_assert(std::atomic<int>::is_always_lock_free);

int Pack(EndCause cause, int status, int signal) {
    return (static_cast<int>(cause) << 16) | ((status & 0xFF) << 8) | (signal & 0xFF);
}

EndOfRun Unpack(int word) {
    return EndOfRun{static_cast<EndCause>(word >> 16), (word >> 8) & 0xFF, word & 0xFF};
}

void ThrowIfEnding() {
    const int word = endWord.load();
    if (word != kNoEnd) throw Unpack(word);
}

// The pump without a window: it waits for the time, or for a Wake().
class PlainPump final : public EventPump {
public:
    void Pump(int timeoutMs) override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (timeoutMs > 0 && !woken_) woke_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return woken_; });
        woken_ = false;
    }
    void Wake() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            woken_ = true;
        }
        woke_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable woke_;
    bool woken_ = false;
};

// The installed pump, guarded so that a Wake from another thread never
// reaches a pump that is being taken away.
struct PumpSlot {
    std::mutex mutex;
    EventPump* pump = nullptr;
    PlainPump plain;
};

PumpSlot& Slot() {
    static PumpSlot* slot = new PumpSlot;   // never destroyed: other threads may wake it during exit
    return *slot;
}

}  // namespace

void SetFrameHooks(const FrameHooks& hooks) {
    publishHook.store(hooks.publishFrame);
    countHook.store(hooks.requestsPosted);
}

void BeforeWait() {
    if (auto publish = publishHook.load()) publish();
    for (auto& slot : waitListeners)
        if (auto listener = slot.load()) listener();
    ThrowIfEnding();
}

void AfterWait() { ThrowIfEnding(); }

void AddWaitListener(void (*listener)()) {
    for (auto& slot : waitListeners) {
        void (*none)() = nullptr;
        if (slot.compare_exchange_strong(none, listener)) return;
    }
}

void ClearWaitListeners() {
    for (auto& slot : waitListeners) slot.store(nullptr);
}

uint64_t RequestsPosted() {
    auto count = countHook.load();
    return count ? count() : 0;
}

void RequestEnd(EndCause cause, int status) {
    int none = kNoEnd;
    endWord.compare_exchange_strong(none, Pack(cause, status < 0 ? 1 : status, 0));
    Wake();
}

void RequestEndBySignal(int signal) {
    int none = kNoEnd;
    endWord.compare_exchange_strong(none, Pack(EndCause::Signal, 0, signal));
}

bool EndRequested(EndOfRun* end) {
    const int word = endWord.load();
    if (word == kNoEnd) return false;
    if (end) *end = Unpack(word);
    return true;
}

void ClearEndRequest() { endWord.store(kNoEnd); }

void SetEventPump(EventPump* pump) {
    PumpSlot& slot = Slot();
    std::lock_guard<std::mutex> lock(slot.mutex);
    slot.pump = pump;
}

void Pump(int timeoutMs) {
    PumpSlot& slot = Slot();
    EventPump* pump;
    {
        std::lock_guard<std::mutex> lock(slot.mutex);
        pump = slot.pump ? slot.pump : &slot.plain;
    }
    // Only the program's thread installs or removes a pump, so it stays valid here.
    pump->Pump(timeoutMs < 0 ? 0 : timeoutMs > kMaxPumpMs ? kMaxPumpMs : timeoutMs);
}

void Wake() {
    PumpSlot& slot = Slot();
    std::lock_guard<std::mutex> lock(slot.mutex);
    if (slot.pump) slot.pump->Wake();
    else slot.plain.Wake();
}

void SetAbruptEndHook(void (*hook)(int status)) { abruptEndHook.store(hook); }

void EndAbruptly(int status) {
    if (auto hook = abruptEndHook.exchange(nullptr)) hook(status);
    std::fflush(stdout);
    _exit(status);
}

}  // namespace Waits
