// The registry, read-only: the current user's colour scheme under
// HKEY_CURRENT_USER\Control Panel\Colors, one REG_SZ "R G B" value per
// system colour, holding the standard scheme. Key and value names compare
// without regard to case; only the backslash separates keys.
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include <string>

#include "advapi32/colour_scheme.h"
#include "advapi32/registry.h"
#include "handle_map.h"

namespace {

struct Key {
    const char *name;
    const Key *parent;
};

const Key kCurrentUser{"", nullptr};
const Key kControlPanel{"Control Panel", &kCurrentUser};
const Key kColours{"Colors", &kControlPanel};
const Key *const kKeys[] = {&kControlPanel, &kColours};

// Value names of the 25 system colours, in element order.
const char *const kColourValueNames[kSystemColourCount] = {
    "Scrollbar",     "Background",     "ActiveTitle",  "InactiveTitle", "Menu",
    "Window",        "WindowFrame",    "MenuText",     "WindowText",    "TitleText",
    "ActiveBorder",  "InactiveBorder", "AppWorkspace", "Hilight",       "HilightText",
    "ButtonFace",    "ButtonShadow",   "GrayText",     "ButtonText",    "InactiveTitleText",
    "ButtonHilight", "ButtonDkShadow", "ButtonLight",  "InfoText",      "InfoWindow"};

using OpenKeys = PortableHandleMap<HKEY, const Key *>;

OpenKeys &TheOpenKeys()
{
    static auto *keys = new OpenKeys;
    return *keys;
}

const Key *KeyOf(HKEY handle)
{
    if (handle == HKEY_CURRENT_USER)
        return &kCurrentUser;
    const Key *key = nullptr;
    TheOpenKeys().Visit(handle, [&](const Key *open) { key = open; });
    return key;
}

const Key *Child(const Key *parent, const std::string &name)
{
    for (const Key *key : kKeys)
        if (key->parent == parent && strcasecmp(key->name, name.c_str()) == 0)
            return key;
    return nullptr;
}

// Walks path down from base; a leading backslash is refused, empty names
// between backslashes (a trailing one, a doubled one) are passed over.
LSTATUS Resolve(const Key *base, const char *path, const Key **found)
{
    if (path && path[0] == '\\')
        return ERROR_BAD_PATHNAME;
    const Key *key = base;
    for (const char *at = path; at && *at;) {
        const char *end = strchr(at, '\\');
        const std::string part = end ? std::string(at, end) : std::string(at);
        if (!part.empty() && !(key = Child(key, part)))
            return ERROR_FILE_NOT_FOUND;
        at = end ? end + 1 : nullptr;
    }
    *found = key;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI PortableRegOpenKeyExA(HKEY base, LPCSTR path, DWORD, REGSAM, PHKEY opened)
{
    const Key *from = KeyOf(base);
    if (!opened)
        return ERROR_INVALID_PARAMETER;
    if (!from)
        return ERROR_INVALID_HANDLE;
    const Key *key = nullptr;
    const LSTATUS status = Resolve(from, path, &key);
    if (status != ERROR_SUCCESS)
        return status;
    const HKEY handle = TheOpenKeys().Add(key);
    if (!handle)
        return ERROR_NOT_ENOUGH_MEMORY;
    *opened = handle;
    return ERROR_SUCCESS;
}

// The "R G B" text of a colour value, or false for no such value.
bool ValueText(const Key *key, LPCSTR name, std::string *text)
{
    if (key != &kColours || !name)
        return false;
    for (int i = 0; i < kSystemColourCount; ++i) {
        if (strcasecmp(kColourValueNames[i], name) != 0)
            continue;
        const COLORREF colour = PortableStandardColour(i);
        char made[16];
        snprintf(made, sizeof made, "%u %u %u", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        *text = made;
        return true;
    }
    return false;
}

// The size asked for includes the terminating zero; without a data buffer
// the call only reports it.
LSTATUS WINAPI PortableRegQueryValueExA(HKEY handle, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                        LPDWORD size)
{
    const Key *key = KeyOf(handle);
    if (!key)
        return ERROR_INVALID_HANDLE;
    if (reserved || (data && !size))
        return ERROR_INVALID_PARAMETER;
    std::string text;
    if (!ValueText(key, name, &text)) {
        if (type)
            *type = REG_NONE;
        return ERROR_FILE_NOT_FOUND;
    }
    if (type)
        *type = REG_SZ;
    const DWORD needed = static_cast<DWORD>(text.size() + 1);
    const bool fits = !data || *size >= needed;
    if (data && fits)
        memcpy(data, text.c_str(), needed);
    if (size)
        *size = needed;
    return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

LSTATUS WINAPI PortableRegCloseKey(HKEY handle)
{
    if (handle == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    return TheOpenKeys().Release(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // namespace

void PortableFillRegistry(PlatformTable *t)
{
    t->RegOpenKeyExA = PortableRegOpenKeyExA;
    t->RegQueryValueExA = PortableRegQueryValueExA;
    t->RegCloseKey = PortableRegCloseKey;
}
