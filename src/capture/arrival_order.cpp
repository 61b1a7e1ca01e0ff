#include "capture/arrival_order.h"

#include <algorithm>

namespace kestrum {

void ArrivalOrder::Begin(SerialPorts& ports, const ChannelTable& channels, unsigned readers) {
    limit_ = ports.ArrivalLimit();
    has_.fill(false);
    waiting_.fill(false);
    dropped_.fill(false);
    if (limit_ == 0) return;
    for (int j = kFirstChannel; j <= kLastChannel; ++j)
        if (readers & (1u << j)) Look(ports, channels, j);
    FindEarliest();
}

void ArrivalOrder::FindEarliest() {
    earliest_ = ~std::uint64_t{0};
    earliestCount_ = 0;
    for (std::size_t k = kFirstChannel; k <= kLastChannel; ++k) {
        if (!waiting_[k]) continue;
        if (next_[k].Sequence < earliest_) {
            earliest_ = next_[k].Sequence;
            earliestCount_ = 1;
        } else if (next_[k].Sequence == earliest_) {
            ++earliestCount_;
        }
    }
}

void ArrivalOrder::Look(SerialPorts& ports, const ChannelTable& channels, int channel) {
    const auto n = static_cast<std::size_t>(channel);
    const PortHandle handle = channels.Channel(channel).Handle;
    InputArrival& arrival = next_[n];
    const bool has = handle != kInvalidPortHandle && ports.NextArrival(handle, arrival);
    has_[n] = has;
    waiting_[n] = has && arrival.Sequence < limit_;
    dropped_[n] = handle != kInvalidPortHandle && (!has || arrival.DroppedBefore > 0);
}

bool ArrivalOrder::MayRead(int channel) const {
    if (limit_ == 0) return true;
    const auto n = static_cast<std::size_t>(channel);
    return waiting_[n] && next_[n].Sequence == earliest_;
}

bool ArrivalOrder::MayReadOn(int channel) const {
    return limit_ != 0 && MayRead(channel) && earliestCount_ == 1;
}

const InputArrival* ArrivalOrder::Next(int channel) const {
    const auto n = static_cast<std::size_t>(channel);
    return limit_ != 0 && waiting_[n] ? &next_[n] : nullptr;
}

bool ArrivalOrder::MayHaveDropped(int channel) const {
    // Dropped input is reported in the place of the byte it came before, or
    // once the port has nothing else waiting.
    const auto n = static_cast<std::size_t>(channel);
    return limit_ != 0 && dropped_[n] && (!has_[n] || MayRead(channel));
}

std::uint64_t ArrivalOrder::ReadUpTo() const {
    // earliest_ is the highest number when nothing waits.
    return limit_ == 0 ? ~std::uint64_t{0} : std::min(limit_, earliest_);
}

void ArrivalOrder::Advance(SerialPorts& ports, const ChannelTable& channels, int channel) {
    if (limit_ == 0) return;
    Look(ports, channels, channel);
    FindEarliest();
}

}  // namespace kestrum
