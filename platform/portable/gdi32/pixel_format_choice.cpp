// The closest pixel format to a request. Rules, in order; the first that
// tells two formats apart decides:
//  0. Only formats offering every one of PFD_DRAW_TO_WINDOW,
//     PFD_DRAW_TO_BITMAP, PFD_SUPPORT_GDI and PFD_SUPPORT_OPENGL that the
//     request sets take part. A request of another pixel type than RGBA or
//     colour index matches nothing.
//  1. The requested pixel type.
//  2. The requested buffering: PFD_DOUBLEBUFFER set or clear as asked.
//  3. Stereo likewise.
//  4. Fewer missing buffers: of depth, alpha, stencil, accumulation and
//     auxiliary buffers, those the request asks for (non-zero) that the
//     format lacks. Asking for one outweighs any size.
//  5. Sizes, one after another: colour bits, depth, alpha, stencil,
//     accumulation (total), auxiliary buffers. A format with at least the
//     requested size beats one with less; among those with at least as much
//     the smaller excess wins, among those with less the larger size. A
//     request of 0 thus prefers formats without that buffer.
//  6. The lower number: the list puts plain TrueColor, caveat-free and
//     non-multisampled configurations first.
// The request's component sizes and shifts, layer and masks are not looked at:
// callers leave them zero.
#include "gdi32/pixel_format_choice.h"

#include <algorithm>
#include <array>
#include <stdlib.h>

namespace {

constexpr DWORD kRequiredFlags = PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;

// The sizes of rule 5, in their order.
std::array<int, 6> Sizes(const PIXELFORMATDESCRIPTOR &format)
{
    return {format.cColorBits, format.cDepthBits,  format.cAlphaBits,
            format.cStencilBits, format.cAccumBits, format.cAuxBuffers};
}

// Smaller is closer. Rules 1 to 5 as one tuple of numbers.
std::array<int, 16> Distance(const PIXELFORMATDESCRIPTOR &format, const PIXELFORMATDESCRIPTOR &request)
{
    const std::array<int, 6> has = Sizes(format);
    const std::array<int, 6> wanted = Sizes(request);
    std::array<int, 16> distance{};
    distance[0] = format.iPixelType != request.iPixelType;
    distance[1] = (format.dwFlags & PFD_DOUBLEBUFFER) != (request.dwFlags & PFD_DOUBLEBUFFER);
    distance[2] = (format.dwFlags & PFD_STEREO) != (request.dwFlags & PFD_STEREO);
    for (size_t i = 1; i < has.size(); ++i) // colour bits are never missing
        distance[3] += wanted[i] > 0 && has[i] == 0;
    for (size_t i = 0; i < has.size(); ++i) {
        distance[4 + 2 * i] = has[i] < wanted[i];
        distance[5 + 2 * i] = abs(has[i] - wanted[i]);
    }
    return distance;
}

bool Qualifies(const PIXELFORMATDESCRIPTOR &format, const PIXELFORMATDESCRIPTOR &request)
{
    const DWORD required = request.dwFlags & kRequiredFlags;
    return (format.dwFlags & required) == required;
}

} // namespace

int PortableClosestPixelFormat(const PIXELFORMATDESCRIPTOR *formats, int count,
                               const PIXELFORMATDESCRIPTOR &request)
{
    if (request.iPixelType != PFD_TYPE_RGBA && request.iPixelType != PFD_TYPE_COLORINDEX)
        return 0;
    int best = 0;
    std::array<int, 16> bestDistance{};
    for (int i = 0; i < count; ++i) {
        if (!Qualifies(formats[i], request))
            continue;
        const std::array<int, 16> distance = Distance(formats[i], request);
        if (best == 0 || distance < bestDistance) { // strictly closer: ties keep the lower number
            best = i + 1;
            bestDistance = distance;
        }
    }
    return best;
}
