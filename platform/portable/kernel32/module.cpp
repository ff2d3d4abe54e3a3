#include "kernel32/module.h"

#include "handle_numbers.h"

namespace {

HMODULE WINAPI PortableGetModuleHandleA(LPCSTR moduleName)
{
    return moduleName ? nullptr : PortableProgramInstance();
}

} // namespace

HINSTANCE PortableProgramInstance()
{
    return reinterpret_cast<HINSTANCE>(kProgramInstance);
}

void PortableFillModule(PlatformTable *t)
{
    t->GetModuleHandleA = PortableGetModuleHandleA;
}
