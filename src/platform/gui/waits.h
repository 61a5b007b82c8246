#pragma once
// Waiting without spinning: the event loop runs meanwhile.
namespace vbui {

// One pass of the event loop that sleeps until the next event arrives, for at
// most `maxWaitMs`; for loops that count passes (the start-up speed check)
// instead of spinning the processor.
void waitForEvents(int maxWaitMs);

}  // namespace vbui
