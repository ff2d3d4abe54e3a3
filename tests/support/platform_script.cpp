#include "tests/support/platform_script.h"

PlatformTable realPlatform = PlatformSystemTable();
std::vector<MessageBoxRecord> messageBoxes;
int messageBoxAnswer = IDOK;
std::vector<std::string> callLog;

namespace {

int WINAPI ScriptedMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT flags)
{
    messageBoxes.push_back({text ? text : "", caption ? caption : "", flags, owner});
    LogCall("[" + messageBoxes.back().text + "]");
    return messageBoxAnswer;
}

} // namespace

void ResetScript()
{
    messageBoxes.clear();
    callLog.clear();
    messageBoxAnswer = IDOK;
}

void LogCall(const std::string &name) { callLog.push_back(name); }

ScopedPlatform::ScopedPlatform() : saved_(platform)
{
    ResetScript();
    platform = realPlatform;
    platform.MessageBoxA = ScriptedMessageBox;
}

ScopedPlatform::~ScopedPlatform()
{
    platform = saved_;
}
