// The console inbox and input queue: any thread posts into the inbox, the
// program thread moves it into the queue at each key poll and reads there.
#include "platform/console/InputQueue.h"

#include "platform/console/Waits.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace IO {
namespace {

struct QueueState {
    std::mutex lock;
    std::deque<InputEvent> inbox;   // posted, not yet delivered by a poll
    std::deque<InputEvent> events;  // delivered: what the program reads
};

// Allocated once and never destroyed, so that a source thread still posting
// while the program exits never touches a destroyed lock.
QueueState& Queue() {
    static QueueState* state = new QueueState();
    return *state;
}

std::atomic<WaitHook> waitHook{nullptr};
std::atomic<DeliveryObserver> observer{nullptr};
std::atomic<InputFeed*> feed{nullptr};
std::atomic<uint64_t> polls{0};

// Tells the recording what a move delivered; nothing when it was empty.
void Observe(const std::vector<InputEvent>& delivered) {
    DeliveryObserver watch = observer.load();
    if (watch != nullptr && !delivered.empty()) watch(polls.load(), delivered);
}

// Moves the inbox into the queue. A replay's feed gives the poll's events
// instead, and what live sources posted is dropped.
void Deliver(bool pollStart) {
    QueueState& q = Queue();
    std::vector<InputEvent> delivered;
    InputFeed* replay = feed.load();
    if (replay != nullptr && pollStart) replay->EventsForPoll(polls.load(), delivered);
    {
        std::lock_guard<std::mutex> guard(q.lock);
        if (replay == nullptr) delivered.assign(q.inbox.begin(), q.inbox.end());
        q.inbox.clear();
        q.events.insert(q.events.end(), delivered.begin(), delivered.end());
    }
    Observe(delivered);
}

}  // namespace

void PostInput(const InputEvent& event) {
    QueueState& q = Queue();
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.inbox.push_back(event);
    }
    Waits::Wake();
}

bool InputWaiting() {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    return !q.inbox.empty();
}

bool PeekInput(InputEvent& event) {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    std::deque<InputEvent>& from = q.events.empty() ? q.inbox : q.events;
    if (from.empty()) return false;
    event = from.front();
    return true;
}

bool PopInput(InputEvent& event) {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    std::deque<InputEvent>& from = q.events.empty() ? q.inbox : q.events;
    if (from.empty()) return false;
    event = from.front();
    from.pop_front();
    return true;
}

void ClearInput() {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    q.inbox.clear();
    q.events.clear();
}

void StartPoll() {
    polls.fetch_add(1);
    Deliver(true);
}

uint64_t PollNumber() { return polls.load(); }

void ResetPolls() { polls.store(0); }

bool PeekQueued(InputEvent& event) {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    if (q.events.empty()) return false;
    event = q.events.front();
    return true;
}

bool PopQueued(InputEvent& event) {
    QueueState& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    if (q.events.empty()) return false;
    event = q.events.front();
    q.events.pop_front();
    return true;
}

void SetWaitHook(WaitHook hook) { waitHook.store(hook); }

void WaitForInput() {
    if (InputFeed* replay = feed.load()) {
        replay->Exhausted(polls.load());
        return;
    }
    if (WaitHook hook = waitHook.load()) {
        hook();
    } else {
        while (!InputWaiting() && !Waits::EndRequested()) Waits::Pump(Waits::kMaxPumpMs);
    }
    Deliver(false);
}

void SetDeliveryObserver(DeliveryObserver watch) { observer.store(watch); }

void SetInputFeed(InputFeed* replay) { feed.store(replay); }

bool Replaying() { return feed.load() != nullptr; }

}  // namespace IO
