// ChangeDisplaySettingsA over the host's display modes.
#include <optional>

#include "user32/display_modes.h"
#include "host/sdl_display_modes.h"
#include "host/sdl_video.h"
#include "host/sdl_windows.h"

namespace {

constexpr DWORD kChangeDisplayTest = 0x00000002; // CDS_TEST

std::optional<int> Field(const DEVMODEA &mode, DWORD field, DWORD value)
{
    return (mode.dmFields & field) ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
}

LONG WINAPI PortableChangeDisplaySettingsA(DEVMODEA *mode, DWORD flags)
{
    if (!mode) {
        HostLeaveFullscreen();
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!HostEnsureVideo())
        return DISP_CHANGE_FAILED;
    if (!HostFindDisplayMode(Field(*mode, DM_PELSWIDTH, mode->dmPelsWidth),
                             Field(*mode, DM_PELSHEIGHT, mode->dmPelsHeight), !(flags & kChangeDisplayTest)))
        return DISP_CHANGE_BADMODE;
    return DISP_CHANGE_SUCCESSFUL;
}

} // namespace

void PortableFillDisplayModes(PlatformTable *t)
{
    t->ChangeDisplaySettingsA = PortableChangeDisplaySettingsA;
}
