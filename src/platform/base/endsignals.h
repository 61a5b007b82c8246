#pragma once
// Ending on a signal (Ctrl-C, a closed terminal, kill): what must not outlive
// the program is let go first (an open serial port holds its device's lock
// file and exclusive use, which a program that simply dies leaves behind),
// then the program ends as the signal would have ended it.
//
// SIGINT, SIGTERM and SIGHUP end the program within about a second, whatever
// it is doing. The releases run on the event loop; when the event loop does
// not get to them in that time (the main thread waits in a system call: a
// drain, an open that stalls), a thread of this module removes the files
// handed to removeFileOnEnd() (the lock file of an open serial port) and
// ends it; the system closes the devices, and with them their exclusive
// use. A second signal ends the program at once. A signal ignored from the
// start (nohup) stays ignored.
#include <sys/types.h>

#include <functional>
#include <string>

namespace endsignals {

// `release` runs on the event loop when one of the signals arrives; the
// handlers are put in place on the first call, once the application object
// exists. Returns the number forget() takes; a release forgotten is never
// run, so an owner that forgets it in its destructor is never touched.
int onEnd(std::function<void()> release);
void forget(int id);

// A file the program made that must not outlive it (a serial port's lock):
// when the program ends on a signal while its main thread is blocked, it is
// removed, but only while `file` is still the file given (its device, inode
// and first bytes `head`), never another program's that took its name.
// Returns the number keepFileOnEnd() takes once the owner removed it itself.
int removeFileOnEnd(const std::string& file, dev_t device, ino_t inode, const std::string& head);
void keepFileOnEnd(int id);

// From now on an end on one of the signals writes `line` (a whole line, with
// its line feed) to standard error, once, on whichever way the program ends;
// "" says nothing again. The text is kept as given: it is written from where
// nothing may be formatted.
void sayOnEnd(const std::string& line);

}  // namespace endsignals
