#pragma once
// The order in which a pass lets the channels read. A channel reads its next
// byte only when no other channel of the pass holds a byte that arrived
// before it, by chunk (SerialPorts::NextArrival). So bytes that arrived in
// one chunk, or in chunks that came together, are still read one per channel
// and pass; but when the pass lags behind the lines, what arrived first comes
// out first, and a line that arrived whole before another channel's comes
// out whole. Input that arrives during a pass waits for the next one. Over
// ports that do not stamp their input every channel may read, as in the
// plain pass.

#include <array>
#include <cstdint>

#include "base/channel_index.h"
#include "base/channel_table.h"
#include "platform/serial_port.h"

namespace kestrum {

class ArrivalOrder {
public:
    // At the start of a pass: looks at the next byte of every channel whose
    // bit (1 << channel) is set in `readers`, the channels the pass reads.
    void Begin(SerialPorts& ports, const ChannelTable& channels, unsigned readers);

    // Whether channel 1..8 may read its next byte now.
    bool MayRead(int channel) const;

    // Whether the channel, having just read a byte, may read on in the same
    // turn: input is stamped and its next byte arrived before every other
    // channel's. (The other channels could not read before it anyway, so
    // the protocol is the same as with one byte per pass.)
    bool MayReadOn(int channel) const;

    // The arrival of the channel's next byte; null when input is not stamped
    // or the channel has none waiting in this pass.
    const InputArrival* Next(int channel) const;

    // Whether the channel's port may hold a report of dropped input
    // (SerialPorts::TakeDroppedInput) that is due now: before the byte it
    // came before, when that byte may be read, or when nothing else waits.
    bool MayHaveDropped(int channel) const;

    // After the channel read a byte (or took its report of dropped input):
    // looks at its next byte.
    void Advance(SerialPorts& ports, const ChannelTable& channels, int channel);

    bool Stamped() const { return limit_ != 0; }

    // Every input that arrived before this mark (SerialPorts::ArrivalMark)
    // has been read: it was waiting when the pass began and waits no more.
    // With unstamped input, every mark.
    std::uint64_t ReadUpTo() const;

private:
    void Look(SerialPorts& ports, const ChannelTable& channels, int channel);
    void FindEarliest();

    std::uint64_t limit_ = 0;  // chunks below this were waiting when the pass began
    std::array<InputArrival, kEntryCount> next_{};
    std::array<bool, kEntryCount> has_{};       // the port has a byte waiting
    std::array<bool, kEntryCount> waiting_{};   // next_ holds a byte of this pass
    std::array<bool, kEntryCount> dropped_{};   // a report may wait
    std::uint64_t earliest_ = 0;  // the lowest sequence number waiting
    int earliestCount_ = 0;       // channels whose next byte has it
};

}  // namespace kestrum
