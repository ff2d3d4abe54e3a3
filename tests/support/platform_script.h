// Test support: wrap the platform table to fail or script single operations.
#ifndef TESTS_SUPPORT_PLATFORM_SCRIPT_H
#define TESTS_SUPPORT_PLATFORM_SCRIPT_H

#include <string>
#include <vector>

#include "platform/platform.h"

// The build's own table, as it was before a test changed `platform`.
extern PlatformTable realPlatform;

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    UINT flags;
    HWND owner = nullptr;
};

// Installs a copy of the real table in which message boxes are answered by
// script instead of shown; restores the previous table when it goes away.
class ScopedPlatform {
public:
    ScopedPlatform();
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform &) = delete;
    ScopedPlatform &operator=(const ScopedPlatform &) = delete;

private:
    PlatformTable saved_;
};

// Every box shown since the last ResetScript, and the answer the next ones get.
extern std::vector<MessageBoxRecord> messageBoxes;
extern int messageBoxAnswer;

// Names of the calls the wrappers saw, in order; a box shown is logged as its
// text in brackets.
extern std::vector<std::string> callLog;

void ResetScript();
void LogCall(const std::string &name);

#endif
