// Keeping a recording's records compactly (see RecordingStore.h).
#include "platform/console/RecordingStore.h"

namespace Recording {
namespace {

// A signed number as an unsigned one that stays small when the number is:
// 0, -1, 1, -2 ... become 0, 1, 2, 3 ...
uint64_t ZigZag(int64_t value) { return (uint64_t(value) << 1) ^ uint64_t(value >> 63); }
int64_t FromZigZag(uint64_t value) { return int64_t(value >> 1) ^ -int64_t(value & 1); }

// An event's flags and non-key kind share one number (always below 128, one byte).
constexpr uint64_t kIsKey = 1;
constexpr uint64_t kKeyDown = 2;
constexpr int kOtherShift = 2;

}  // namespace

void PackedNumbers::PutByte(uint8_t byte) {
    if (bytes_ == blocks_.size() * kBlockBytes) blocks_.push_back(std::unique_ptr<uint8_t[]>(new uint8_t[kBlockBytes]));  // left uninitialised: written before read
    blocks_[bytes_ / kBlockBytes][bytes_ % kBlockBytes] = byte;
    ++bytes_;
}

void PackedNumbers::Put(uint64_t value) {
    while (value >= 0x80) {
        PutByte(uint8_t(value | 0x80));
        value >>= 7;
    }
    PutByte(uint8_t(value));
}

uint64_t PackedNumbers::Reader::Get() {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t byte = numbers_->blocks_[at_ / kBlockBytes][at_ % kBlockBytes];
        ++at_;
        value |= uint64_t(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return value;
    }
}

void Pack(PackedNumbers& to, const PolledEvent& polled) {
    const IO::InputEvent& e = polled.event;
    to.Put(polled.poll);
    to.Put((e.isKey ? kIsKey : 0) | (e.key.keyDown ? kKeyDown : 0) | uint64_t(e.other) << kOtherShift);
    if (!e.isKey) return;
    to.Put(e.key.repeatCount);
    to.Put(e.key.virtualKeyCode);
    to.Put(e.key.virtualScanCode);
    to.Put(e.key.asciiChar);
    to.Put(e.key.controlKeyState);
}

void Unpack(PackedNumbers::Reader& from, PolledEvent& polled) {
    polled.poll = from.Get();
    const uint64_t flags = from.Get();
    IO::InputEvent& e = polled.event;
    e = IO::InputEvent{};
    e.isKey = (flags & kIsKey) != 0;
    e.other = IO::OtherEvent(flags >> kOtherShift);
    if (!e.isKey) return;
    e.key.keyDown = (flags & kKeyDown) != 0;
    e.key.repeatCount = uint16_t(from.Get());
    e.key.virtualKeyCode = uint16_t(from.Get());
    e.key.virtualScanCode = uint16_t(from.Get());
    e.key.asciiChar = uint8_t(from.Get());
    e.key.controlKeyState = uint32_t(from.Get());
}

void Pack(PackedNumbers& to, const SysClock::DateTime& dt) {
    for (CARDINAL field : {dt.year, dt.month, dt.day, dt.hour, dt.minute, dt.second, dt.fractions}) to.Put(field);
    to.Put(ZigZag(dt.zone));
    to.Put(dt.SummerTimeFlag ? 1 : 0);
}

void Unpack(PackedNumbers::Reader& from, SysClock::DateTime& dt) {
    for (CARDINAL* field : {&dt.year, &dt.month, &dt.day, &dt.hour, &dt.minute, &dt.second, &dt.fractions})
        *field = CARDINAL(from.Get());
    dt.zone = INTEGER(FromZigZag(from.Get()));
    dt.SummerTimeFlag = from.Get() == 1;
}

}  // namespace Recording
