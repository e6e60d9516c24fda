// Helpers for the window service tests: an offscreen Graph opened at the
// program's size, the request trace captured in memory, and a look at the
// window surface next to the back buffer.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "platform/graph/Graph.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/detail/GraphService.h"
#include "platform/graph/WindowBackend.h"

namespace graphtest {

inline constexpr int kWidth = 1025;
inline constexpr int kDepth = 730;

// Each test runs in a process of its own; this opens Graph for it (on an
// offscreen window that keeps published frames) and closes it afterwards.
class OpenGraph : public ::testing::Test {
protected:
    void SetUp() override {
        Graph::SetWindowSystem(Graph::OffscreenWindowSystem(/*keepFrames=*/true));
        Graph::ModuleInit();
        ASSERT_TRUE(Graph::Init(1, 1, kWidth, kDepth));
    }
    void TearDown() override { Graph::ModuleExit(); }
};

// The trace written into memory.
class TraceCapture {
public:
    TraceCapture() : sink_(open_memstream(&buffer_, &size_)) { Graph::SetTrace(sink_); }
    ~TraceCapture() {
        Graph::SetTrace(nullptr);
        std::fclose(sink_);
        std::free(buffer_);
    }
    std::vector<std::string> Lines() {
        std::fflush(sink_);
        std::vector<std::string> lines;
        std::string current;
        for (std::size_t i = 0; i < size_; ++i) {
            if (buffer_[i] == '\n') {
                lines.push_back(current);
                current.clear();
            } else {
                current += buffer_[i];
            }
        }
        return lines;
    }

private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* sink_;
};

// The visible pixels of a surface, rows packed at its width (the padding a
// row pitch adds is left out).
inline std::vector<uint8_t> Packed(const Graph::detail::Pixels& p) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    for (int32_t y = 0; y < p.height; ++y) out.insert(out.end(), p.Row(y), p.Row(y) + p.width);
    return out;
}

// Copies of both surfaces after Sync().
inline std::vector<uint8_t> BackBuffer() {
    Graph::Sync();
    auto& sv = Graph::detail::TheService();
    std::lock_guard<std::mutex> lock(sv.backLock);
    return Packed(sv.back);
}

// The window surface as it stands (publish a frame first to bring it up to date).
inline std::vector<uint8_t> WindowSurface() {
    auto& sv = Graph::detail::TheService();
    std::lock_guard<std::mutex> lock(sv.windowLock);
    return Packed(sv.window.pixels);
}

inline std::vector<uint8_t> PublishedWindowSurface() {
    Graph::PublishFrame();
    return WindowSurface();
}

// Number of back-buffer pixels of one palette index in a box (x2, y2 excluded).
inline int CountIndex(int x1, int y1, int x2, int y2, uint8_t index) {
    Graph::Sync();
    int n = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) n += Graph::PixelIndex(x, y) == index;
    return n;
}

}  // namespace graphtest
