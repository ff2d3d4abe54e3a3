// File names between UTF-8, the one form the loader and the failure record
// use, and the UTF-16 of the wide entry points.
#ifndef IMAGE_FILE_NAMES_H
#define IMAGE_FILE_NAMES_H

#include <stddef.h>

#include <utility>
#include <vector>

#include "platform/win32_types.h"

// name as UTF-8 in out, cut between characters to at most limit bytes and
// terminated (out holds limit + 1). A half of a surrogate pair alone becomes
// U+FFFD. Returns the length.
size_t Utf16ToUtf8(const WCHAR *name, char *out, size_t limit);

// name as terminated UTF-16; false, and out unchanged, when name is not UTF-8.
bool Utf8ToUtf16(const char *name, std::vector<WCHAR> *out);

#endif
