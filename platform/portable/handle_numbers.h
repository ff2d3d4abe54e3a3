// Every handle the portable build gives out is a number from one scheme, so a
// handle of one kind never equals one of another and a stale handle is never
// handed out again: fixed numbers for the program's module and the stock
// objects, and one counting sequence above them for everything made at run
// time. Null and INVALID_HANDLE_VALUE are never used.
#ifndef PLATFORM_PORTABLE_HANDLE_NUMBERS_H
#define PLATFORM_PORTABLE_HANDLE_NUMBERS_H

#include <stdint.h>

// Fixed numbers, each range below the next.
constexpr uintptr_t kStockIconBase = 0x10000;   // + IDI_ number
constexpr uintptr_t kStockCursorBase = 0x20000; // + IDC_ number
constexpr uintptr_t kStockObjectBase = 0x30000; // + 4 x GetStockObject index
constexpr uintptr_t kProgramInstance = 0x400000; // the customary image base of a Windows program
constexpr uintptr_t kFirstMadeHandle = 0x1000000;

// The next number of the run-time sequence, a multiple of 4 as on Windows.
uintptr_t PortableNewHandleNumber();

template <class Handle>
Handle PortableNewHandle()
{
    return reinterpret_cast<Handle>(PortableNewHandleNumber());
}

#endif
