// How a loaded recording keeps its events and clock readings: compactly, so
// that a long recording costs less memory than its file. Each record is a
// few numbers, each number stored in as few bytes as it needs (7 bits a
// byte, the high bit saying that another byte follows), in blocks of a fixed
// size. A number never takes more bytes than it has decimal digits, so a
// record takes less than its line in the file; growing never copies what is
// already kept, so loading never needs twice the memory for a moment.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/console/InputQueue.h"
#include "platform/console/SysClock.h"

namespace Recording {

// Unsigned numbers, read back in the order they were put.
class PackedNumbers {
public:
    void Put(uint64_t value);
    std::size_t Bytes() const { return bytes_; }

    class Reader {
    public:
        Reader() = default;
        explicit Reader(const PackedNumbers& numbers) : numbers_(&numbers) {}
        // The next number; only as many numbers as were put may be read.
        uint64_t Get();

    private:
        const PackedNumbers* numbers_ = nullptr;
        std::size_t at_ = 0;  // bytes read
    };

private:
    static constexpr std::size_t kBlockBytes = std::size_t(1) << 16;
    void PutByte(uint8_t byte);

    std::vector<std::unique_ptr<uint8_t[]>> blocks_;  // all full but the last
    std::size_t bytes_ = 0;
};

struct PolledEvent {
    uint64_t poll = 0;   // the key poll that received the event
    IO::InputEvent event;
};

// Records of one type, kept by Pack and given back by Unpack (found by
// argument-dependent lookup), read in the order they were added.
template <class Record>
class PackedLog {
public:
    void push_back(const Record& record) {
        Pack(numbers_, record);
        last_ = record;
        ++size_;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The last record added (a default one while there is none).
    const Record& back() const { return last_; }
    // The memory the records take, the blocks' unused end left out.
    std::size_t StoredBytes() const { return numbers_.Bytes(); }

    // Reads the records from the first on; the log must stay where it is
    // while it is read. A reader made by default has none.
    class Reader {
    public:
        Reader() = default;
        explicit Reader(const PackedLog& log) : log_(&log), numbers_(log.numbers_) {}

        // The next record without taking it; nullptr when all are taken.
        const Record* Peek() {
            if (!peeked_ && log_ != nullptr && taken_ < log_->size_) {
                Unpack(numbers_, next_);
                peeked_ = true;
            }
            return peeked_ ? &next_ : nullptr;
        }
        void Pop() {
            if (Peek() == nullptr) return;
            peeked_ = false;
            ++taken_;
        }
        std::size_t Taken() const { return taken_; }

    private:
        const PackedLog* log_ = nullptr;
        PackedNumbers::Reader numbers_;
        Record next_{};
        bool peeked_ = false;
        std::size_t taken_ = 0;
    };

private:
    PackedNumbers numbers_;
    Record last_{};
    std::size_t size_ = 0;
};

// A non-key event keeps only its kind: its key record means nothing.
void Pack(PackedNumbers& to, const PolledEvent& event);
void Unpack(PackedNumbers::Reader& from, PolledEvent& event);
void Pack(PackedNumbers& to, const SysClock::DateTime& reading);
void Unpack(PackedNumbers::Reader& from, SysClock::DateTime& reading);

using EventLog = PackedLog<PolledEvent>;
using ClockLog = PackedLog<SysClock::DateTime>;

}  // namespace Recording
