#pragma once
// Pauses that keep the program responsive: the event loop runs meanwhile and
// the time is real time, whatever the machine's speed.
namespace vbui {

// Waits `ms` milliseconds (0 or less: returns at once after one pass of the
// event loop) without spinning the processor.
void pauseMs(int ms);

// One pass of the event loop that waits for the next event for at most
// `maxWaitMs`; used by loops that count passes instead of spinning.
void waitForEvents(int maxWaitMs);

}  // namespace vbui
