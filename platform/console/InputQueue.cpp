// The console input queue: any thread posts, the program thread reads.
#include "platform/console/InputQueue.h"

#include "platform/console/Waits.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace IO {
namespace {

struct QueueState {
    std::mutex lock;
    std::condition_variable posted;
    std::deque<InputEvent> events;
};

// Allocated once and never destroyed, so that a source thread still posting
// while the program exits never touches a destroyed lock.
QueueState& Queue() {
    static QueueState* state = new QueueState();
    return *state;
}

std::atomic<WaitHook> waitHook{nullptr};

}  // namespace

void PostInput(const InputEvent& event) {
    QueueState& q = Queue();
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.events.push_back(event);
    }
    q.posted.notify_all();
}

bool PeekInput(InputEvent& event) {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    if (q.events.empty()) return false;
    event = q.events.front();
    return true;
}

bool PopInput(InputEvent& event) {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    if (q.events.empty()) return false;
    event = q.events.front();
    q.events.pop_front();
    return true;
}

void ClearInput() {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    q.events.clear();
}

void SetWaitHook(WaitHook hook) { waitHook.store(hook); }

void WaitForInput() {
    WaitHook hook = waitHook.load();
    if (hook != nullptr) {
        hook();
        return;
    }
    QueueState& q = Queue();
    std::unique_lock<std::mutex> guard(q.lock);
    q.posted.wait(guard, [&q] { return !q.events.empty() || Waits::EndRequested(); });
}

void WakeReader() {
    QueueState& q = Queue();
    { std::lock_guard<std::mutex> guard(q.lock); }
    q.posted.notify_all();
}

}  // namespace IO
