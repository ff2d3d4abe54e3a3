// What the platform's drawing interface makes of a bitmap file handed over
// with its own header as it stands: a 24-bit DIB section of the picture's
// size filled by SetDIBits, written as a PPM (P6, top row first). Built in
// the Windows build only; run under Wine to make tests/data/bmp/gdi-reference:
//   wine build/mingw-i686/tests/image/make-gdi-reference.exe FILE.bmp OUT.ppm
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "platform/platform.h"

namespace {

int Fail(const char *what)
{
    fprintf(stderr, "make-gdi-reference: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3)
        return Fail("usage: make-gdi-reference FILE.bmp OUT.ppm");
    FILE *in = fopen(argv[1], "rb");
    if (!in)
        return Fail("cannot read the file");
    std::vector<unsigned char> file;
    for (int c; (c = fgetc(in)) != EOF;)
        file.push_back(static_cast<unsigned char>(c));
    fclose(in);
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M')
        return Fail("not a bitmap with a file header");
    uint32_t offBits;
    memcpy(&offBits, &file[10], 4);
    const BITMAPINFO *info = reinterpret_cast<const BITMAPINFO *>(&file[14]);
    const LONG width = info->bmiHeader.biWidth, rows = labs(info->bmiHeader.biHeight);

    BITMAPINFO target{};
    target.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    target.bmiHeader.biWidth = width;
    target.bmiHeader.biHeight = rows;
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 24;
    HDC context = platform.CreateCompatibleDC(nullptr);
    void *bits = nullptr;
    HBITMAP surface = platform.CreateDIBSection(context, &target, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!surface || !platform.SelectObject(context, surface))
        return Fail("no surface");
    if (platform.SetDIBits(context, surface, 0, UINT(rows), &file[offBits], info, DIB_RGB_COLORS) == 0)
        return Fail("no line converted");
    platform.GdiFlush();

    FILE *out = fopen(argv[2], "wb");
    if (!out)
        return Fail("cannot write the reference");
    fprintf(out, "P6\n%ld %ld\n255\n", long(width), long(rows));
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    for (LONG y = rows - 1; y >= 0; --y)
        for (LONG x = 0; x < width; ++x) {
            const unsigned char *bgr = static_cast<const unsigned char *>(bits) + size_t(y) * stride + size_t(x) * 3;
            const unsigned char rgb[3] = {bgr[2], bgr[1], bgr[0]};
            fwrite(rgb, 1, 3, out);
        }
    fclose(out);
    platform.DeleteDC(context);
    platform.DeleteObject(surface);
    return 0;
}
