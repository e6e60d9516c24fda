// Turns the bytes a terminal (or a pipe) sends into console key records,
// one key-down record per key. Pure: no I/O and no clock. The caller reports
// when the short wait after an Esc byte has passed with nothing following,
// which is how a lone Esc is told apart from the start of a key sequence.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/console/InputQueue.h"

namespace IO {

class KeyDecoder {
public:
    struct Options {
        // A line feed is Enter (text read from a pipe or file) rather than
        // Ctrl+Enter (what a terminal in raw mode sends for Ctrl+J).
        bool lineFeedIsEnter = false;
    };

    KeyDecoder() = default;
    explicit KeyDecoder(Options options) : options_(options) {}

    void Feed(uint8_t byte, std::vector<KeyRecord>& out);
    void Feed(const uint8_t* bytes, std::size_t count, std::vector<KeyRecord>& out);
    // The wait after the last byte passed with nothing new: a held Esc is a
    // lone Esc key, a held partial sequence is dropped.
    void TimePassed(std::vector<KeyRecord>& out);
    // True while held bytes could still become part of a longer sequence.
    bool AwaitingMore() const { return state_ != State::Ground; }

private:
    enum class State { Ground, Escape, EscapeEscape, Sequence, LinuxFunctionKey };
    static constexpr std::size_t kMaxParameterBytes = 16;

    void FeedSequence(uint8_t byte, std::vector<KeyRecord>& out);
    void FeedLinuxFunctionKey(uint8_t byte, std::vector<KeyRecord>& out);
    void StartSequence(uint8_t introducer, bool alt);
    void FinishSequence(uint8_t final, std::vector<KeyRecord>& out);
    bool PlainKey(uint8_t byte, KeyRecord& key) const;

    Options options_{};
    State state_ = State::Ground;
    bool alt_ = false;             // the sequence came after an extra Esc
    uint8_t introducer_ = 0;       // '[' for CSI, 'O' for SS3
    char params_[kMaxParameterBytes]{};
    std::size_t paramLength_ = 0;
    bool malformed_ = false;       // too long or with intermediate bytes
};

}  // namespace IO
