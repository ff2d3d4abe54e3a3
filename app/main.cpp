#include "app/process_entry.h"

#ifdef _WIN32
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    return ProcessEntry(instance, previousInstance, commandLine, showCommand);
}
#else
int main()
{
    return ProcessEntry(nullptr, nullptr, nullptr, 0);
}
#endif
