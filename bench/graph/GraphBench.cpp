// The drawing thread's cost: a heavy frame through Graph's drawing thread,
// inline on one thread (the limit), and through a plain mutex + condition
// variable hand-off (the naive design); and the hand-off alone per request.
#include <benchmark/benchmark.h>
#include <condition_variable>
#include <mutex>
#include <thread>
#include "HeavyFrame.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/detail/GraphService.h"
#include "tests/support/OffscreenGraph.h"

namespace {

using namespace graphbench;
using Graph::detail::DrawState;

const std::vector<Request>& Frame() {
    static const std::vector<Request> frame = HeavyFrame();
    return frame;
}

// The two surfaces of one window, painted on whatever thread calls Carry.
struct TwoSurfaces {
    Graph::detail::Pixels back, window;
    DrawState state;
    TwoSurfaces() {
        back.Allocate(1025, 730);
        window.Allocate(1025, 730);
    }
    void Carry(const Request& r) {
        Graph::detail::ApplySetting(r, state);
        Raster::Surface b = back.View(), w = window.View();
        Graph::detail::Paint(r, state, b);
        Graph::detail::Paint(r, state, w);
    }
};

void SetCounters(benchmark::State& state, std::size_t requestsPerIteration) {
    state.counters["requests"] = static_cast<double>(requestsPerIteration);
    state.counters["ns_per_request"] = benchmark::Counter(
        static_cast<double>(requestsPerIteration) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FrameThroughDrawingThread(benchmark::State& state) {
    testsupport::OffscreenGraphForProcess();
    for (auto _ : state) {
        for (const Request& r : Frame()) PostThroughGraph(r);
        Graph::Sync();
    }
    SetCounters(state, Frame().size());
}
BENCHMARK(BM_FrameThroughDrawingThread)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_FrameInline(benchmark::State& state) {
    TwoSurfaces surfaces;
    for (auto _ : state)
        for (const Request& r : Frame()) surfaces.Carry(r);
    SetCounters(state, Frame().size());
}
BENCHMARK(BM_FrameInline)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The naive hand-off: one request slot guarded by a mutex, a condition
// variable each way, no spinning.
class NaiveServer {
public:
    NaiveServer() : worker_([this] { Loop(); }) {}
    ~NaiveServer() {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            idleCv_.wait(lock, [this] { return !posted_; });
            stop_ = true;
            posted_ = true;
        }
        postedCv_.notify_one();
        worker_.join();
    }
    void Post(const Request& r) {
        std::unique_lock<std::mutex> lock(mutex_);
        idleCv_.wait(lock, [this] { return !posted_; });
        slot_ = r;
        posted_ = true;
        lock.unlock();
        postedCv_.notify_one();
    }
    void Sync() {
        std::unique_lock<std::mutex> lock(mutex_);
        idleCv_.wait(lock, [this] { return !posted_; });
    }

private:
    void Loop() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            postedCv_.wait(lock, [this] { return posted_; });
            if (stop_) return;
            lock.unlock();
            surfaces_.Carry(slot_);
            lock.lock();
            posted_ = false;
            idleCv_.notify_one();
        }
    }
    TwoSurfaces surfaces_;
    Request slot_;
    bool posted_ = false;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable postedCv_, idleCv_;
    std::thread worker_;
};

void BM_FrameNaiveHandOff(benchmark::State& state) {
    NaiveServer server;
    for (auto _ : state) {
        for (const Request& r : Frame()) server.Post(r);
        server.Sync();
    }
    SetCounters(state, Frame().size());
}
BENCHMARK(BM_FrameNaiveHandOff)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The hand-off alone: requests that change a setting and paint nothing.
constexpr int kEmptyRequests = 1000;

void BM_HandOffDrawingThread(benchmark::State& state) {
    testsupport::OffscreenGraphForProcess();
    for (auto _ : state) {
        for (int i = 0; i < kEmptyRequests; ++i) Graph::SetLineStyle(Graph::LNSTYLE_SOLID);
        Graph::Sync();
    }
    SetCounters(state, kEmptyRequests);
}
BENCHMARK(BM_HandOffDrawingThread)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_HandOffNaive(benchmark::State& state) {
    NaiveServer server;
    Request r;
    r.op = Graph::detail::OP_LINESTYLE;
    for (auto _ : state) {
        for (int i = 0; i < kEmptyRequests; ++i) server.Post(r);
        server.Sync();
    }
    SetCounters(state, kEmptyRequests);
}
BENCHMARK(BM_HandOffNaive)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
