// Window classes, keyed like Win32's by name (case-insensitive) and module
// instance.
#include <memory>
#include <mutex>
#include <string>
#include <string.h>
#include <strings.h>
#include <vector>

#include "user32/window_classes.h"

#include "kernel32/module.h"
#include "utf16.h"

namespace {

constexpr size_t kMaximumClassName = 256;
constexpr unsigned kFirstAtom = 0xC000; // where Win32 numbers registered classes
constexpr unsigned kLastAtom = 0xFFFF;

struct WindowClass {
    WNDCLASSA record{};
    std::string name;
    std::string menuName;
    ATOM atom = 0;
    int windows = 0;
};

struct ClassRegistry {
    std::mutex lock;
    std::vector<std::unique_ptr<WindowClass>> classes;
    unsigned nextAtom = kFirstAtom;
};

ClassRegistry &Classes()
{
    static auto *registry = new ClassRegistry; // outlives windows destroyed at exit
    return *registry;
}

// An integer atom in place of a name, as MAKEINTATOM makes it.
bool IsAtom(LPCSTR name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

HINSTANCE Normalised(HINSTANCE instance)
{
    return instance ? instance : PortableProgramInstance();
}

bool NameMatches(const WindowClass &windowClass, LPCSTR name)
{
    if (IsAtom(name))
        return windowClass.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    return strcasecmp(windowClass.name.c_str(), name) == 0;
}

// Lock held.
std::vector<std::unique_ptr<WindowClass>>::iterator Find(LPCSTR name, HINSTANCE instance)
{
    auto &classes = Classes().classes;
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if ((*it)->record.hInstance == instance && NameMatches(**it, name))
            return it;
    }
    return classes.end();
}

ATOM WINAPI PortableRegisterClassA(const WNDCLASSA *record)
{
    if (!record || !record->lpfnWndProc || !record->lpszClassName || IsAtom(record->lpszClassName))
        return 0;
    if (strnlen(record->lpszClassName, kMaximumClassName + 1) > kMaximumClassName)
        return 0;
    ClassRegistry &registry = Classes();
    std::lock_guard<std::mutex> hold(registry.lock);
    const HINSTANCE instance = Normalised(record->hInstance);
    if (Find(record->lpszClassName, instance) != registry.classes.end() || registry.nextAtom > kLastAtom)
        return 0;

    auto windowClass = std::make_unique<WindowClass>();
    windowClass->record = *record;
    windowClass->record.hInstance = instance;
    windowClass->name = record->lpszClassName;
    windowClass->record.lpszClassName = windowClass->name.c_str();
    if (record->lpszMenuName && !IsAtom(record->lpszMenuName)) {
        windowClass->menuName = record->lpszMenuName;
        windowClass->record.lpszMenuName = windowClass->menuName.c_str();
    }
    windowClass->atom = static_cast<ATOM>(registry.nextAtom++);
    const ATOM atom = windowClass->atom;
    registry.classes.push_back(std::move(windowClass));
    return atom;
}

// The same registry under the names in UTF-8, so a class registered in
// either form is found by the other.
ATOM WINAPI PortableRegisterClassW(const WNDCLASSW *record)
{
    if (!record || !record->lpszClassName || IsAtom(reinterpret_cast<LPCSTR>(record->lpszClassName)))
        return 0;
    const std::string name = Utf16ToUtf8(record->lpszClassName, kMaximumClassName + 1);
    const bool menuNamed = record->lpszMenuName && !IsAtom(reinterpret_cast<LPCSTR>(record->lpszMenuName));
    const std::string menu = menuNamed ? Utf16ToUtf8(record->lpszMenuName) : std::string();
    WNDCLASSA narrow{record->style,   record->lpfnWndProc, record->cbClsExtra,    record->cbWndExtra,
                     record->hInstance, record->hIcon,     record->hCursor,       record->hbrBackground,
                     menuNamed ? menu.c_str() : reinterpret_cast<LPCSTR>(record->lpszMenuName), name.c_str()};
    return PortableRegisterClassA(&narrow);
}

BOOL WINAPI PortableUnregisterClassA(LPCSTR name, HINSTANCE instance)
{
    if (!name)
        return FALSE;
    ClassRegistry &registry = Classes();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = Find(name, Normalised(instance));
    if (found == registry.classes.end() || (*found)->windows > 0)
        return FALSE;
    registry.classes.erase(found);
    return TRUE;
}

} // namespace

bool PortableAcquireClass(LPCSTR className, HINSTANCE instance, WNDCLASSA *copy, ATOM *atom)
{
    if (!className)
        return false;
    ClassRegistry &registry = Classes();
    std::lock_guard<std::mutex> hold(registry.lock);
    auto found = Find(className, Normalised(instance));
    if (found == registry.classes.end())
        return false;
    ++(*found)->windows;
    *copy = (*found)->record;
    *atom = (*found)->atom;
    return true;
}

void PortableReleaseClass(ATOM atom)
{
    ClassRegistry &registry = Classes();
    std::lock_guard<std::mutex> hold(registry.lock);
    for (auto &windowClass : registry.classes) {
        if (windowClass->atom == atom && windowClass->windows > 0) {
            --windowClass->windows;
            return;
        }
    }
}

void PortableFillWindowClasses(PlatformTable *t)
{
    t->RegisterClassA = PortableRegisterClassA;
    t->RegisterClassW = PortableRegisterClassW;
    t->UnregisterClassA = PortableUnregisterClassA;
}
