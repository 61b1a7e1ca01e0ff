#pragma once
// The sending steps of the recording engine's Start, Stop and display
// buttons (SendingHooks), done by sender mode and the manual send.

#include "capture/capture_context.h"
#include "sender/sender_context.h"

namespace kestrum {

class SenderHooks : public SendingHooks {
public:
    // `context` may be made after this object; it is used only from the calls.
    explicit SenderHooks(SenderContext* context) : context_(*context) {}
    void StartSending() override;
    void StopSending() override;
    void ConvertLastInputLines(LogMode logMode) override;

private:
    SenderContext& context_;
};

}  // namespace kestrum
