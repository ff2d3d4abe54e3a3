// The process's end.
#ifndef PLATFORM_PORTABLE_HOST_POSIX_PROCESS_H
#define PLATFORM_PORTABLE_HOST_POSIX_PROCESS_H

// Ends the process at once: no static destructors, no SDL or GL shutdown
// that could wait on a display or a driver thread. What the program wrote is
// flushed first.
[[noreturn]] void HostExitNow(int code);

#endif
