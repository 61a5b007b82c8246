#pragma once
// Ending on a signal (Ctrl-C, a closed terminal, kill): what must not outlive
// the program is let go first (an open serial port holds its device's lock
// file and exclusive use, which a program that simply dies leaves behind),
// then the program ends as the signal would have ended it.
#include <functional>

namespace endsignals {

// `release` runs when SIGINT, SIGTERM or SIGHUP arrives, on the event loop;
// the handlers are put in place on the first call, once the application
// object exists. Returns the number forget() takes.
int onEnd(std::function<void()> release);
void forget(int id);

}  // namespace endsignals
