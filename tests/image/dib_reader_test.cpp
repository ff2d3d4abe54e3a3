// The bitmap reader's failure rows through the wrapped platform table, its
// messages under the errorBoxes switch, what it releases, and the header
// rules the conversion is handed.
#include <stdlib.h>
#include <string.h>

#include <gtest/gtest.h>

#include "image/dib_reader.h"
#include "tests/image/dib_bitmap_builder.h"
#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

// What the reader obtained and gave back, counted through the table.
struct Ledger {
    int blocks = 0, contexts = 0, surfaces = 0;
    std::vector<std::string> releases;
} ledger;

int localAllocsBeforeFailure = -1, allocationsBeforeFailure = -1;

// Adds one to count when the call obtained something.
template <typename T> T Counted(int &count, T obtained)
{
    count += obtained != nullptr;
    return obtained;
}

HLOCAL WINAPI CountedLocalAlloc(UINT flags, SIZE_T size)
{
    return Counted(ledger.blocks, localAllocsBeforeFailure-- == 0 ? nullptr : realPlatform.LocalAlloc(flags, size));
}
HLOCAL WINAPI CountedLocalFree(HLOCAL block)
{
    --ledger.blocks;
    return realPlatform.LocalFree(block);
}
HDC WINAPI CountedCreateDC(HDC reference) { return Counted(ledger.contexts, realPlatform.CreateCompatibleDC(reference)); }
BOOL WINAPI CountedDeleteDC(HDC context)
{
    --ledger.contexts;
    ledger.releases.push_back("DeleteDC");
    return realPlatform.DeleteDC(context);
}
HBITMAP WINAPI CountedCreateSection(HDC context, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section,
                                    DWORD offset)
{
    return Counted(ledger.surfaces, realPlatform.CreateDIBSection(context, info, usage, bits, section, offset));
}
// The portable build, like GDI, refuses to delete a surface still selected.
BOOL WINAPI CountedDeleteObject(HGDIOBJ object)
{
    BOOL deleted = realPlatform.DeleteObject(object);
    ledger.surfaces -= deleted != FALSE;
    ledger.releases.push_back("DeleteObject");
    return deleted;
}

// The working header as SetDIBits saw it.
BITMAPINFOHEADER seenHeader;
UINT seenLines;

int WINAPI WatchedSetDIBits(HDC context, HBITMAP surface, UINT first, UINT lines, const void *bits,
                            const BITMAPINFO *info, UINT usage)
{
    seenHeader = info->bmiHeader;
    seenLines = lines;
    return realPlatform.SetDIBits(context, surface, first, lines, bits, info, usage);
}

void *FailingAllocate(size_t size) { return allocationsBeforeFailure-- == 0 ? nullptr : malloc(size); }

HANDLE WINAPI FailOpenA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
HANDLE WINAPI FailOpenW(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
DWORD WINAPI FailSize(HANDLE, LPDWORD high) { return *high = 0, INVALID_FILE_SIZE; }
HANDLE WINAPI FailMapping(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR) { return nullptr; }
LPVOID WINAPI FailView(HANDLE, DWORD, DWORD, DWORD, SIZE_T) { return nullptr; }
HDC WINAPI FailContext(HDC) { return nullptr; }
HBITMAP WINAPI FailSection(HDC, const BITMAPINFO *, UINT, void **bits, HANDLE, DWORD) { return *bits = nullptr, nullptr; }
HGDIOBJ WINAPI FailSelect(HDC, HGDIOBJ) { return nullptr; }
int WINAPI FailConvert(HDC, HBITMAP, UINT, UINT, const void *, const BITMAPINFO *, UINT) { return 0; }

DibLayout Layout(int width, int height, int bitCount)
{
    return DibLayout{width, height, bitCount, BI_RGB, bitCount <= 8 ? 1 << bitCount : 0};
}

// A 32-bit little-endian value into the info header, at its offset there.
Bytes WithField(Bytes file, size_t headerOffset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[14 + headerOffset + i] = uint8_t(value >> (8 * i));
    return file;
}

Bytes Cut(const Bytes &file, size_t size) { return Bytes(file.begin(), file.begin() + size); }

class DibReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        tkShowErrorBoxes(1);
        ledger = Ledger();
        platform.LocalAlloc = CountedLocalAlloc;
        platform.LocalFree = CountedLocalFree;
        platform.CreateCompatibleDC = CountedCreateDC;
        platform.DeleteDC = CountedDeleteDC;
        platform.CreateDIBSection = CountedCreateSection;
        platform.DeleteObject = CountedDeleteObject;
        platform.SetDIBits = WatchedSetDIBits;
        dibAllocate = FailingAllocate;
        localAllocsBeforeFailure = allocationsBeforeFailure = -1;
    }
    void TearDown() override { dibAllocate = malloc; }

    // Loads from memory with one call failed, frees, and checks that
    // everything obtained was given back.
    bool Load(const Bytes &file, void (*fail)() = [] {})
    {
        InstallMemoryFile(&platform, file.data(), file.size());
        fail();
        PixelImage *image = LoadDibImageA("pic.bmp");
        if (image) {
            width_ = image->width;
            record_.assign(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
            free(image->pixels);
            free(image);
        }
        EXPECT_EQ(ledger.blocks, 0);
        EXPECT_EQ(ledger.contexts, 0);
        EXPECT_EQ(ledger.surfaces, 0);
        EXPECT_EQ(memoryFile.unmaps, memoryFile.views);
        EXPECT_EQ(memoryFile.closes, memoryFile.opens + memoryFile.maps);
        return image != nullptr;
    }
    void ExpectOneBox(const char *text)
    {
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, text);
        EXPECT_EQ(messageBoxes[0].caption, "Error");
        EXPECT_EQ(messageBoxes[0].flags & MB_TYPEMASK, UINT(MB_OK));
    }

    ScopedPlatform scoped_;
    Bytes record_;
    int width_ = 0;
};

TEST_F(DibReader, EveryFailureRowGivesItsOneMessageOrNoneWhenBoxesAreOff)
{
    const Bytes good = MakeDib(Layout(5, 3, 8), 7).file;
    DibLayout shortTable = Layout(4, 2, 8);
    shortTable.paletteSize = 3;
    Bytes farOffBits = good;
    farOffBits[10] = 0xF0, farOffBits[11] = 0xFF, farOffBits[12] = 0xFF, farOffBits[13] = 0x7F;
    const char *const open = "Failed to open DIB file pic.bmp.\n", *const memory = "Out of memory.",
                      *const format = "Unknown DIB file format.", *const conversion = "Image file conversion error.";
    const struct Row {
        const char *what;
        Bytes file;
        void (*fail)();
        const char *message;
    } rows[] = {
        {"open", good, [] { platform.CreateFileA = FailOpenA; }, open},
        {"size", good, [] { platform.GetFileSize = FailSize; }, open},
        {"empty file", {}, [] {}, open},
        {"mapping", good, [] { platform.CreateFileMappingA = FailMapping; }, open},
        {"view", good, [] { platform.MapViewOfFile = FailView; }, open},
        {"working header", good, [] { localAllocsBeforeFailure = 0; }, memory},
        {"header of 108", WithField(good, 0, 108), [] {}, format},
        {"header of 124", WithField(good, 0, 124), [] {}, format},
        {"header cut", Cut(good, 30), [] {}, format},
        {"file header cut", Cut(good, 10), [] {}, format},
        {"context", good, [] { platform.CreateCompatibleDC = FailContext; }, memory},
        {"target header", good, [] { localAllocsBeforeFailure = 1; }, memory},
        {"surface", good, [] { platform.CreateDIBSection = FailSection; }, memory},
        {"selection", good, [] { platform.SelectObject = FailSelect; }, memory},
        {"conversion", good, [] { platform.SetDIBits = FailConvert; }, conversion},
        {"bit fields at 8 bits", WithField(good, 16, BI_BITFIELDS), [] {}, conversion},
        {"pixel array", good, [] { allocationsBeforeFailure = 0; }, memory},
        {"record", good, [] { allocationsBeforeFailure = 1; }, memory},
        {"width 0", WithField(good, 4, 0), [] {}, conversion},
        {"negative width", WithField(good, 4, uint32_t(-5)), [] {}, conversion},
        {"height 0", WithField(good, 8, 0), [] {}, conversion},
        // No 32-bit surface size describes 70000 x 70000 pixels.
        {"too large", WithField(WithField(good, 4, 70000), 8, 70000), [] {}, memory},
        {"too large top-down", WithField(WithField(good, 4, 70000), 8, uint32_t(-70000)), [] {}, memory},
        {"pixel data short", Cut(good, good.size() - 1), [] {}, conversion},
        {"colour table cut", Cut(good, 54 + 100), [] {}, conversion},
        {"bfOffBits past the end", farOffBits, [] {}, conversion},
        // 65539 colours: the count keeps 3 of a short table, GDI reads 256.
        {"colours past the end", WithField(MakeDib(shortTable, 3).file, 32, 0x10003), [] {}, conversion},
    };
    const PlatformTable prepared = platform;
    for (bool boxes : {true, false})
        for (const Row &row : rows) {
            SCOPED_TRACE(std::string(row.what) + (boxes ? "" : ", boxes off"));
            platform = prepared;
            localAllocsBeforeFailure = allocationsBeforeFailure = -1;
            tkShowErrorBoxes(boxes);
            messageBoxes.clear();
            EXPECT_FALSE(Load(row.file, row.fail));
            if (boxes)
                ExpectOneBox(row.message);
            else
                EXPECT_TRUE(messageBoxes.empty());
        }
    tkShowErrorBoxes(1);
}

TEST_F(DibReader, WideAndNullNamesAreNamedInTheMessage)
{
    platform.CreateFileW = FailOpenW;
    const ImageWideChar wideName[] = {'w', 'i', 'd', 'e', '.', 'b', 'm', 'p', 0};
    EXPECT_EQ(LoadDibImageW(wideName), nullptr);
    ExpectOneBox("Failed to open DIB file wide.bmp.\n");
    messageBoxes.clear();
    EXPECT_EQ(LoadDibImage(nullptr), nullptr);
    ExpectOneBox("Failed to open DIB file (null).\n");
}

TEST_F(DibReader, ContextIsDeletedBeforeItsSurface)
{
    ASSERT_TRUE(Load(MakeDib(Layout(5, 3, 8), 7).file));
    EXPECT_EQ(ledger.releases, (std::vector<std::string>{"DeleteDC", "DeleteObject"}));
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(DibReader, RunLengthDataStopsAtTheEndOfTheFile)
{
    DibLayout layout = Layout(6, 4, 8);
    layout.compression = BI_RLE8;
    layout.paletteSize = 30;
    GeneratedDib dib = MakeDib(layout, 11);
    ASSERT_TRUE(Load(WithField(dib.file, 20, 0x7FFFFFFF))); // biSizeImage far past the end
    EXPECT_EQ(record_, dib.record);
    EXPECT_EQ(seenHeader.biSizeImage, dib.file.size() - 14 - 40 - 30 * 4);
}

TEST_F(DibReader, WorkingHeaderRules)
{
    // biSizeImage 0 in a 1-bit bitmap 10 x 3 becomes (10 + 7) / 8 x 3 = 6;
    // biClrUsed 0 becomes the colour count.
    ASSERT_TRUE(Load(MakeDib(Layout(10, 3, 1), 4).file));
    EXPECT_EQ(seenHeader.biSizeImage, 6u);
    EXPECT_EQ(seenHeader.biClrUsed, 2u);
    EXPECT_EQ(seenLines, 3u);

    // Core header: unsigned 16-bit width, handed on as an info header.
    DibLayout layout = Layout(40000, 1, 24);
    layout.coreHeader = true;
    GeneratedDib dib = MakeDib(layout, 4);
    ASSERT_TRUE(Load(dib.file));
    EXPECT_EQ(width_, 40000);
    EXPECT_EQ(seenHeader.biSize, 40u);
    EXPECT_EQ(record_, dib.record);
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
        unsigned char header[40] = {uint8_t(c.size)};
        size_t bitCountAt = c.size == 12 ? 10 : 14;
        header[bitCountAt] = uint8_t(c.bitCount);
        if (c.size == 12)
            header[4] = header[6] = header[8] = 1; // width, height, planes
        else
            for (int i = 0; i < 4; ++i)
                header[32 + i] = uint8_t(c.used >> (8 * i));
        EXPECT_EQ(CountDibColors(header), c.count) << c.size << " bytes, " << c.bitCount << " bits, " << c.used;
    }
}

} // namespace
