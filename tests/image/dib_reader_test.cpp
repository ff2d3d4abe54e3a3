// The bitmap reader through the wrapped platform table: one message for each
// failure, everything obtained given back, and the header the conversion is
// handed.
#include <stdlib.h>
#include <string.h>

#include <gtest/gtest.h>

#include "image/dib_reader.h"
#include "image/image_report.h"
#include "tests/image/image_files.h"
#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

// What the reader holds, counted through the table, and the order of release.
int blocks = 0, contexts = 0, surfaces = 0;
std::vector<std::string> releases;
int localAllocsBeforeFailure = -1, allocationsBeforeFailure = -1;
BITMAPINFOHEADER seenHeader; // the working header as SetDIBits saw it
UINT seenLines;

template <typename T> T Counted(int &count, T obtained) { return count += obtained != nullptr, obtained; }

HLOCAL WINAPI CountedLocalAlloc(UINT flags, SIZE_T size)
{
    return Counted(blocks, localAllocsBeforeFailure-- == 0 ? nullptr : realPlatform.LocalAlloc(flags, size));
}
HLOCAL WINAPI CountedLocalFree(HLOCAL block) { return --blocks, realPlatform.LocalFree(block); }
HDC WINAPI CountedCreateDC(HDC reference) { return Counted(contexts, realPlatform.CreateCompatibleDC(reference)); }
BOOL WINAPI CountedDeleteDC(HDC context)
{
    --contexts, releases.push_back("DeleteDC");
    return realPlatform.DeleteDC(context);
}
HBITMAP WINAPI CountedSurface(HDC context, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section, DWORD offset)
{
    return Counted(surfaces, realPlatform.CreateDIBSection(context, info, usage, bits, section, offset));
}
// The portable build, like GDI, refuses to delete a surface still selected.
BOOL WINAPI CountedDeleteObject(HGDIOBJ object)
{
    BOOL deleted = realPlatform.DeleteObject(object);
    surfaces -= deleted != FALSE, releases.push_back("DeleteObject");
    return deleted;
}
int WINAPI WatchedSetDIBits(HDC context, HBITMAP surface, UINT first, UINT lines, const void *bits,
                            const BITMAPINFO *info, UINT usage)
{
    seenHeader = info->bmiHeader, seenLines = lines;
    return realPlatform.SetDIBits(context, surface, first, lines, bits, info, usage);
}
void *FailingAllocate(size_t size) { return allocationsBeforeFailure-- == 0 ? nullptr : malloc(size); }

HANDLE WINAPI FailOpen(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
DWORD WINAPI FailSize(HANDLE, LPDWORD high) { return *high = 0, INVALID_FILE_SIZE; }
HANDLE WINAPI FailMapping(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR) { return nullptr; }
LPVOID WINAPI FailView(HANDLE, DWORD, DWORD, DWORD, SIZE_T) { return nullptr; }
HDC WINAPI FailContext(HDC) { return nullptr; }
HBITMAP WINAPI FailSection(HDC, const BITMAPINFO *, UINT, void **bits, HANDLE, DWORD) { return *bits = nullptr, nullptr; }
HGDIOBJ WINAPI FailSelect(HDC, HGDIOBJ) { return nullptr; }
int WINAPI FailConvert(HDC, HBITMAP, UINT, UINT, const void *, const BITMAPINFO *, UINT) { return 0; }

// An 8-bit bitmap with a full colour table.
Bytes Indexed(int32_t width, int32_t height)
{
    Bytes palette(256 * 4);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = uint8_t(i * 7);
    return MakeDib(width, height, 8, BI_RGB, palette, Bytes(size_t(width + 3) / 4 * 4 * height, 5));
}

// A 32-bit value into the info header, at its offset there.
Bytes WithField(Bytes file, size_t headerOffset, uint32_t value)
{
    PutLittleEndian(file, 14 + headerOffset, value);
    return file;
}

Bytes Cut(const Bytes &file, size_t size) { return Bytes(file.begin(), file.begin() + size); }

class DibReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        tkShowErrorBoxes(1);
        blocks = contexts = surfaces = 0;
        releases.clear();
        platform.LocalAlloc = CountedLocalAlloc;
        platform.LocalFree = CountedLocalFree;
        platform.CreateCompatibleDC = CountedCreateDC;
        platform.DeleteDC = CountedDeleteDC;
        platform.CreateDIBSection = CountedSurface;
        platform.DeleteObject = CountedDeleteObject;
        platform.SetDIBits = WatchedSetDIBits;
        dibAllocate = FailingAllocate;
        localAllocsBeforeFailure = allocationsBeforeFailure = -1;
    }
    void TearDown() override { dibAllocate = malloc; }

    // Loads with one call failed and checks that everything obtained was given back.
    Outcome Load(const Bytes &file, void (*fail)() = [] {})
    {
        InstallMemoryFile(&platform, file.data(), file.size());
        fail();
        Outcome outcome = LoadPath(ImageReader::Dib, "pic.bmp");
        EXPECT_EQ(blocks + contexts + surfaces, 0);
        EXPECT_EQ(memoryFile.unmaps, memoryFile.views);
        EXPECT_EQ(memoryFile.closes, memoryFile.opens + memoryFile.maps);
        return outcome;
    }

    ScopedPlatform scoped_;
};

TEST_F(DibReader, EveryFailureGivesItsOneMessageAndReleasesAll)
{
    const Bytes good = Indexed(5, 3);
    Bytes farOffBits = good;
    PutLittleEndian(farOffBits, 10, 0x7FFFFFF0);
    const Bytes shortTable = MakeDib(4, 2, 8, BI_RGB, Bytes(3 * 4, 9), Bytes(8, 1));
    const char *const open = "Failed to open DIB file pic.bmp.\n";
    const struct Row {
        const char *what;
        Bytes file;
        void (*fail)();
        const char *message;
    } rows[] = {
        {"open", good, [] { platform.CreateFileA = FailOpen; }, open},
        {"size", good, [] { platform.GetFileSize = FailSize; }, open},
        {"empty file", {}, [] {}, open},
        {"mapping", good, [] { platform.CreateFileMappingA = FailMapping; }, open},
        {"view", good, [] { platform.MapViewOfFile = FailView; }, open},
        {"working header", good, [] { localAllocsBeforeFailure = 0; }, kImageOutOfMemory},
        {"header of 108", WithField(good, 0, 108), [] {}, kDibUnknownFormat},
        {"header of 124", WithField(good, 0, 124), [] {}, kDibUnknownFormat},
        {"header cut", Cut(good, 30), [] {}, kDibUnknownFormat},
        {"file header cut", Cut(good, 10), [] {}, kDibUnknownFormat},
        {"context", good, [] { platform.CreateCompatibleDC = FailContext; }, kImageOutOfMemory},
        {"target header", good, [] { localAllocsBeforeFailure = 1; }, kImageOutOfMemory},
        {"surface", good, [] { platform.CreateDIBSection = FailSection; }, kImageOutOfMemory},
        {"selection", good, [] { platform.SelectObject = FailSelect; }, kImageOutOfMemory},
        {"conversion", good, [] { platform.SetDIBits = FailConvert; }, kDibConversionError},
        {"bit fields at 8 bits", WithField(good, 16, BI_BITFIELDS), [] {}, kDibConversionError},
        {"pixel array", good, [] { allocationsBeforeFailure = 0; }, kImageOutOfMemory},
        {"record", good, [] { allocationsBeforeFailure = 1; }, kImageOutOfMemory},
        {"width 0", WithField(good, 4, 0), [] {}, kDibConversionError},
        {"negative width", WithField(good, 4, uint32_t(-5)), [] {}, kDibConversionError},
        {"height 0", WithField(good, 8, 0), [] {}, kDibConversionError},
        // No 32-bit surface size describes 70000 x 70000 pixels.
        {"too large", WithField(WithField(good, 4, 70000), 8, 70000), [] {}, kImageOutOfMemory},
        {"too large top-down", WithField(WithField(good, 4, 70000), 8, uint32_t(-70000)), [] {}, kImageOutOfMemory},
        {"pixel data short", Cut(good, good.size() - 1), [] {}, kDibConversionError},
        {"colour table cut", Cut(good, 54 + 100), [] {}, kDibConversionError},
        {"bfOffBits past the end", farOffBits, [] {}, kDibConversionError},
        // 65539 colours: the count keeps 3 of a short table, GDI reads 256.
        {"colours past the end", WithField(shortTable, 32, 0x10003), [] {}, kDibConversionError},
    };
    const PlatformTable prepared = platform;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        platform = prepared;
        localAllocsBeforeFailure = allocationsBeforeFailure = -1;
        Outcome outcome = Load(row.file, row.fail);
        EXPECT_FALSE(outcome.record);
        EXPECT_EQ(outcome.boxes, std::vector<std::string>{row.message});
    }
}

TEST_F(DibReader, WhatTheConversionIsHandedAndHowItIsReleased)
{
    // biSizeImage 0 in a 1-bit bitmap 10 x 3 becomes (10 + 7) / 8 x 3 = 6;
    // biClrUsed 0 becomes the colour count.
    EXPECT_TRUE(Load(MakeDib(10, 3, 1, BI_RGB, Bytes(8, 1), Bytes(12, 0xAA))).pixels);
    EXPECT_EQ(seenHeader.biSizeImage, 6u);
    EXPECT_EQ(seenHeader.biClrUsed, 2u);
    EXPECT_EQ(seenLines, 3u);
    // The context goes while the surface is still selected into it.
    EXPECT_EQ(releases, (std::vector<std::string>{"DeleteDC", "DeleteObject"}));

    // Run-length data stops at the end of the file, whatever biSizeImage says.
    const Bytes runs = {2, 1, 0, 0, 2, 2, 0, 1};
    Bytes rle = MakeDib(2, 2, 8, BI_RLE8, Bytes(3 * 4, 0x40), runs);
    Outcome outcome = Load(WithField(rle, 20, 0x7FFFFFFF));
    EXPECT_EQ(outcome.bytes, Bytes(12, 0x40));
    EXPECT_EQ(seenHeader.biSizeImage, runs.size());
    // A stretch the data leaves open, without a command after it, stays black.
    outcome = Load(MakeDib(2, 2, 8, BI_RLE8, Bytes(3 * 4, 0x40), {2, 1, 0, 0, 1, 2}));
    EXPECT_EQ(outcome.bytes, Bytes({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0, 0, 0, 0, 0, 0}));

    // A core header's unsigned 16-bit width, handed on in an info header.
    outcome = Load(MakeDib(40000, 1, 24, BI_RGB, {}, Bytes(120000, 0x33), true));
    EXPECT_EQ(outcome.width, 40000);
    EXPECT_EQ(outcome.bytes, Bytes(120000, 0x33));
    EXPECT_EQ(seenHeader.biSize, 40u);
}

// 10 bits each in 32 bits; 2, 3 and 11 bits in 16.
TEST_F(DibReader, BitFieldsOfAnyLengthKeepTheirTopBitsRepeatedOnce)
{
    auto masks = [](uint32_t red, uint32_t green, uint32_t blue) {
        Bytes bytes(12);
        PutLittleEndian(bytes, 0, red), PutLittleEndian(bytes, 4, green), PutLittleEndian(bytes, 8, blue);
        return bytes;
    };
    Bytes wide = MakeDib(1, 1, 32, BI_BITFIELDS, masks(0x3FF00000, 0xFFC00, 0x3FF), {0x01, 0x00, 0xF8, 0x3F});
    EXPECT_EQ(Load(wide).bytes, Bytes({0xFF, 0x80, 0x00}));
    Bytes narrow = MakeDib(1, 1, 16, BI_BITFIELDS, masks(0x0003, 0x001C, 0xFFE0), {0xF5, 0xFF, 0, 0});
    EXPECT_EQ(Load(narrow).bytes, Bytes({0x50, 0xB4, 0xFF}));
}

TEST(DibColours, CountFollowsHeaderFormAndBitCount)
{
    // Only the low 16 bits of biClrUsed count: 0x12340005 is 5, 65536 is 0.
    const struct {
        uint32_t size, bitCount, used;
        WORD count;
    } cases[] = {{12, 4, 0, 16}, {12, 24, 0, 0}, {40, 8, 0, 256},        {40, 1, 0, 2},
                 {40, 16, 0, 0}, {108, 8, 7, 7}, {40, 8, 0x12340005, 5}, {40, 8, 0x10000, 0}};
    for (const auto &c : cases) {
        Bytes header(40, 0);
        header[0] = uint8_t(c.size);
        header[c.size == 12 ? 10 : 14] = uint8_t(c.bitCount);
        if (c.size != 12)
            PutLittleEndian(header, 32, c.used);
        EXPECT_EQ(CountDibColors(header.data()), c.count) << c.size << " bytes, " << c.bitCount << " bits, " << c.used;
    }
}

} // namespace
