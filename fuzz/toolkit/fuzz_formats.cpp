// libFuzzer target for pixel-format selection and palette building: the
// input is a device (its format list, its answers, a colour-scheme value)
// and the calls a program makes on it. No crash, no sanitizer report, and no
// block larger than the largest palette a LOGPALETTE can hold.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "tests/support/fake_gdi.h"
#include "tests/support/platform_script.h"
#include "palettes.h"
#include "pixel_format_selection.h"
#include "toolkit/tk.h"
#include "toolkit_state.h"

namespace {

constexpr size_t kMaxFormats = 64;
constexpr size_t kLargestPaletteBlock = offsetof(LOGPALETTE, palPalEntry) + kMaxPaletteEntries * sizeof(PALETTEENTRY);

struct Header {
    uint8_t policy;
    uint8_t flagsLow, flagsHigh;
    int8_t formatId;
    uint8_t shrinkTo;
    uint8_t paletteUse;
    uint8_t schemeLength;
    int8_t levelBits, rampBits;
    int16_t index;
    float red, green, blue;
};

const ToolkitState startState = toolkitState;

int32_t Policy(uint8_t byte)
{
    const int32_t policies[] = {TKPF_BY_ID, TKPF_EXACT, TKPF_CHOOSE, 7};
    return policies[byte % 4];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Header h;
    if (size < sizeof h)
        return 0;
    memcpy(&h, data, sizeof h);
    data += sizeof h;
    size -= sizeof h;
    const size_t schemeLength = h.schemeLength % 80 < size ? h.schemeLength % 80 : size;

    ScopedPlatform scoped;
    FakeGdi gdi;
    InstallFakeGdi(&gdi);
    gdi.registry["Scrollbar"] = {REG_SZ, std::string(reinterpret_cast<const char *>(data), schemeLength)};
    data += schemeLength;
    size -= schemeLength;
    for (size_t i = 0; i < kMaxFormats && size >= sizeof(PIXELFORMATDESCRIPTOR); ++i) {
        gdi.formats.emplace_back();
        memcpy(&gdi.formats.back(), data, sizeof(PIXELFORMATDESCRIPTOR));
        data += sizeof(PIXELFORMATDESCRIPTOR);
        size -= sizeof(PIXELFORMATDESCRIPTOR);
    }
    gdi.shrinkTo = h.shrinkTo < 128 ? -1 : h.shrinkTo - 128;
    gdi.chooseAnswer = int(gdi.formats.size()) > 0 ? 1 + h.formatId % int(gdi.formats.size()) : 0;
    const UINT uses[] = {SYSPAL_STATIC, SYSPAL_NOSTATIC, SYSPAL_ERROR};
    gdi.systemPaletteUse = uses[h.paletteUse % 3];

    toolkitState = startState;
    toolkitState.window = reinterpret_cast<HWND>(0x100);
    toolkitState.deviceContext = reinterpret_cast<HDC>(0x200);
    toolkitState.modeFlags = uint32_t(h.flagsLow) | uint32_t(h.flagsHigh) << 8;
    toolkitState.formatPolicy = Policy(h.policy);
    toolkitState.formatId = h.formatId;
    toolkitState.sysColorCount = h.paletteUse & 0x80 ? 21 : 25;
    toolkitState.windowActive = (h.paletteUse & 0x40) != 0;

    if (ApplyPixelFormat(toolkitState.deviceContext, toolkitState.modeFlags)) {
        tkCountMapEntries();
        tkStoreIndexColor(h.index, h.red, h.green, h.blue);
        tkStoreFogRamps(h.levelBits, h.rampBits);
        tkStoreGreyRamp();
        tkStoreRgbLayout(0, 0);
        if (toolkitState.palette)
            RealizeToolkitPalette(toolkitState.deviceContext, toolkitState.palette, true);
    }
    if (gdi.largestBlock > kLargestPaletteBlock)
        __builtin_trap();
    toolkitState = startState;
    return 0;
}
