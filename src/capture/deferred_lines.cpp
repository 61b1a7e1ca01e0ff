#include "capture/deferred_lines.h"

#include "capture/capture_context.h"
#include "capture/capture_loop.h"

namespace kestrum {
namespace {

bool DeferredLineDue(const CaptureContext& c, std::uint64_t upTo) {
    return !c.state.DeferredLines.empty() && c.state.DeferredLines.front().Mark <= upTo;
}

}  // namespace

void WriteAfterEarlierInput(CaptureContext& c, std::uint64_t mark, std::function<void()> write) {
    if (mark == 0 && c.state.DeferredLines.empty()) {
        write();
        return;
    }
    c.state.DeferredLines.push_back({mark, std::move(write)});
}

void WriteDeferredLines(CaptureContext& c, std::uint64_t upTo) {
    if (!DeferredLineDue(c, upTo)) return;
    FlushChannelLines(c);
    std::vector<DeferredLine>& lines = c.state.DeferredLines;
    while (DeferredLineDue(c, upTo)) {
        // Taken off before it is written: writing may let messages through.
        std::function<void()> write = std::move(lines.front().Write);
        lines.erase(lines.begin());
        write();
    }
}

}  // namespace kestrum
