// Three ways to a pixel format: the platform's closest match to a request,
// an exact search over every format, or an explicit number. No policy falls
// back on another.
#include "pixel_format_selection.h"

#include "common/error_report.h"
#include "palettes.h"
#include "platform/platform.h"
#include "toolkit_state.h"

namespace {

constexpr DWORD kWindowWithOpenGL = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;

bool Has(uint32_t flags, uint32_t bit)
{
    return (flags & bit) != 0;
}

// A buffer the flags ask for must be there, one they do not ask for absent;
// its size does not matter.
bool Agrees(bool asked, int bits)
{
    return asked == (bits != 0);
}

bool MatchesInKind(const PIXELFORMATDESCRIPTOR &d, uint32_t flags)
{
    if ((d.dwFlags & kWindowWithOpenGL) != kWindowWithOpenGL || d.iLayerType != PFD_MAIN_PLANE)
        return false;
    const bool colourIndex = Has(flags, TKMODE_COLOR_INDEX);
    if (d.iPixelType != (colourIndex ? PFD_TYPE_COLORINDEX : PFD_TYPE_RGBA))
        return false;
    if (Has(d.dwFlags, PFD_DOUBLEBUFFER) != Has(flags, TKMODE_DOUBLE_BUFFER))
        return false;
    if (!colourIndex) {
        const bool accum = Has(flags, TKMODE_ACCUM_BUFFER), alpha = Has(flags, TKMODE_ALPHA);
        if (!Agrees(accum, d.cAccumBits) || !Agrees(alpha, d.cAlphaBits))
            return false;
        if (accum && alpha && d.cAccumAlphaBits == 0)
            return false;
    }
    const bool depth = Has(flags, TKMODE_DEPTH_BUFFER) || Has(flags, TKMODE_SHALLOW_DEPTH);
    return Agrees(depth, d.cDepthBits) && Agrees(Has(flags, TKMODE_STENCIL_BUFFER), d.cStencilBits);
}

} // namespace

int RequestClosestFormat(HDC dc, uint32_t flags, PIXELFORMATDESCRIPTOR *out)
{
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = kWindowWithOpenGL | (Has(flags, TKMODE_DOUBLE_BUFFER) ? PFD_DOUBLEBUFFER : 0);
    const bool colourIndex = Has(flags, TKMODE_COLOR_INDEX);
    request.iPixelType = colourIndex ? PFD_TYPE_COLORINDEX : PFD_TYPE_RGBA;
    request.cColorBits = colourIndex ? 8 : 24;
    request.cAlphaBits = Has(flags, TKMODE_ALPHA) ? 8 : 0;
    request.cAccumBits = Has(flags, TKMODE_ACCUM_BUFFER) ? BYTE(request.cColorBits + request.cAlphaBits) : 0;
    request.cDepthBits = Has(flags, TKMODE_SHALLOW_DEPTH) ? 16 : Has(flags, TKMODE_DEPTH_BUFFER) ? 24 : 0;
    request.cStencilBits = Has(flags, TKMODE_STENCIL_BUFFER) ? 4 : 0;
    request.cAuxBuffers = 0;
    request.iLayerType = PFD_MAIN_PLANE;
    *out = request;
    return platform.ChoosePixelFormat(dc, &request);
}

// The deepest colour among the formats of the right kind; ties keep the
// lower number. The count is taken afresh from every description.
int SearchExactFormat(HDC dc, uint32_t flags, PIXELFORMATDESCRIPTOR *out)
{
    int bestColourBits = 0;
    int chosen = 0;
    for (int n = 1, count = 1; n <= count; ++n) {
        PIXELFORMATDESCRIPTOR d;
        count = platform.DescribePixelFormat(dc, n, sizeof d, &d);
        if (count <= 0)
            return 0;
        if (!MatchesInKind(d, flags) || d.cColorBits <= bestColourBits)
            continue;
        bestColourBits = d.cColorBits;
        chosen = n;
        *out = d;
    }
    return chosen;
}

// An explicit number needs only to exist and draw to a window with OpenGL.
bool CheckFormatId(HDC dc, int id, PIXELFORMATDESCRIPTOR *out)
{
    if (id <= 0 || id > platform.DescribePixelFormat(dc, id, sizeof *out, out))
        return false;
    return (out->dwFlags & kWindowWithOpenGL) == kWindowWithOpenGL;
}

bool ApplyPixelFormat(HDC dc, uint32_t flags)
{
    PIXELFORMATDESCRIPTOR format{};
    int number;
    switch (toolkitState.formatPolicy) {
    case TKPF_CHOOSE:
        number = RequestClosestFormat(dc, flags, &format);
        break;
    case TKPF_EXACT:
        number = SearchExactFormat(dc, flags, &format);
        break;
    default:
        number = CheckFormatId(dc, toolkitState.formatId, &format) ? toolkitState.formatId : 0;
        break;
    }
    if (number == 0) {
        ReportError(TK_ERROR_PIXEL_FORMAT, "Selecting a pixel format failed\n");
        return false;
    }
    if (!platform.SetPixelFormat(dc, number, &format)) {
        ReportError(TK_ERROR_PIXEL_FORMAT, "SetPixelFormat failed\n");
        return false;
    }
    EnsureRgbPalette(dc); // a palette only for an RGBA format that needs one
    return true;
}
