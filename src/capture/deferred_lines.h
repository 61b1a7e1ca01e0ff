#pragma once
// Lines the program writes for something that happened at a moment of its
// own, such as bytes sent by hand, while input that arrived before that
// moment may still wait in the ports' queues (a modal dialog held the
// recording up). Such a line goes into the protocol once everything that
// arrived before its moment is in, so that the protocol keeps the order in
// which things happened on the wires.

#include <cstdint>
#include <functional>
#include <limits>

namespace kestrum {

struct CaptureContext;

struct DeferredLine {
    std::uint64_t Mark = 0;  // SerialPorts::ArrivalMark at its moment
    std::function<void()> Write;
};

constexpr std::uint64_t kAllDeferredLines = std::numeric_limits<std::uint64_t>::max();

// `write` puts the line into the protocol. With unstamped input (`mark` 0)
// it is called now; otherwise it waits for the recording loop, which calls
// it once no input that arrived before `mark` is left to show.
void WriteAfterEarlierInput(CaptureContext& c, std::uint64_t mark, std::function<void()> write);

// Writes, in order, the waiting lines whose mark is at most `upTo`, after
// every channel's unwritten line.
void WriteDeferredLines(CaptureContext& c, std::uint64_t upTo);

}  // namespace kestrum
