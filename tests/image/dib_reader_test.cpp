// The bitmap reader's failure rows through the wrapped platform table, its
// messages under the errorBoxes switch, what it releases, and the header
// rules the conversion is handed.
#include <stdlib.h>
#include <string.h>

#include <gtest/gtest.h>

#include "image/dib_reader.h"
#include "tests/image/dib_bitmap_builder.h"
#include "tests/image/dib_memory_file.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace {

// What the reader obtained and gave back, counted through the table.
struct Ledger {
    int blocks = 0, contexts = 0, surfaces = 0;
    std::vector<std::string> releases;
};
Ledger ledger;

HLOCAL WINAPI CountedLocalAlloc(UINT flags, SIZE_T size)
{
    HLOCAL block = realPlatform.LocalAlloc(flags, size);
    ledger.blocks += block != nullptr;
    return block;
}
HLOCAL WINAPI CountedLocalFree(HLOCAL block)
{
    --ledger.blocks;
    return realPlatform.LocalFree(block);
}
HDC WINAPI CountedCreateDC(HDC reference)
{
    HDC context = realPlatform.CreateCompatibleDC(reference);
    ledger.contexts += context != nullptr;
    return context;
}
BOOL WINAPI CountedDeleteDC(HDC context)
{
    --ledger.contexts;
    ledger.releases.push_back("DeleteDC");
    return realPlatform.DeleteDC(context);
}
HBITMAP WINAPI CountedCreateSection(HDC context, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section,
                                    DWORD offset)
{
    HBITMAP surface = realPlatform.CreateDIBSection(context, info, usage, bits, section, offset);
    ledger.surfaces += surface != nullptr;
    return surface;
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object)
{
    BOOL deleted = realPlatform.DeleteObject(object);
    ledger.surfaces -= deleted != FALSE;
    ledger.releases.push_back("DeleteObject");
    return deleted;
}

// The working header as SetDIBits saw it, with its first 300 colour entries.
BITMAPINFOHEADER seenHeader;
unsigned char seenColours[300 * 4];
UINT seenLines;
const void *seenBits;

int WINAPI WatchedSetDIBits(HDC context, HBITMAP surface, UINT first, UINT lines, const void *bits,
                            const BITMAPINFO *info, UINT usage)
{
    seenHeader = info->bmiHeader;
    size_t entries = seenHeader.biClrUsed < 300 ? seenHeader.biClrUsed : 300;
    if (seenHeader.biCompression == BI_BITFIELDS && entries < 3)
        entries = 3;
    memset(seenColours, 0xEE, sizeof seenColours);
    memcpy(seenColours, info->bmiColors, entries * 4);
    seenLines = lines;
    seenBits = bits;
    return realPlatform.SetDIBits(context, surface, first, lines, bits, info, usage);
}

int localAllocsBeforeFailure = -1;
HLOCAL WINAPI FailingLocalAlloc(UINT flags, SIZE_T size)
{
    if (localAllocsBeforeFailure-- == 0)
        return nullptr;
    return CountedLocalAlloc(flags, size);
}

int allocationsBeforeFailure = -1;
void *FailingAllocate(size_t size)
{
    if (allocationsBeforeFailure-- == 0)
        return nullptr;
    return malloc(size);
}

class DibReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        tkShowErrorBoxes(1);
        ledger = Ledger();
        localAllocsBeforeFailure = allocationsBeforeFailure = -1;
        platform.LocalAlloc = CountedLocalAlloc;
        platform.LocalFree = CountedLocalFree;
        platform.CreateCompatibleDC = CountedCreateDC;
        platform.DeleteDC = CountedDeleteDC;
        platform.CreateDIBSection = CountedCreateSection;
        platform.DeleteObject = CountedDeleteObject;
        platform.SetDIBits = WatchedSetDIBits;
        Serve(MakeDib(Spec(5, 3, 8), 7).file);
    }
    void TearDown() override { dibAllocate = malloc; }

    static DibSpec Spec(int width, int height, int bitCount)
    {
        DibSpec spec;
        spec.width = width, spec.height = height, spec.bitCount = bitCount;
        spec.paletteSize = bitCount <= 8 ? 1 << bitCount : 0;
        return spec;
    }
    void Serve(const Bytes &file)
    {
        file_ = file;
        InstallMappedMemoryFile(&platform, file_.data(), file_.size());
    }
    // Loads, frees, and checks that everything obtained was given back.
    bool Load(const char *name = "pic.bmp")
    {
        PixelImage *image = LoadDibImageA(name);
        if (image) {
            width_ = image->width, height_ = image->height;
            record_.assign(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
            free(image->pixels);
            free(image);
        }
        EXPECT_EQ(ledger.blocks, 0);
        EXPECT_EQ(ledger.contexts, 0);
        EXPECT_EQ(ledger.surfaces, 0);
        EXPECT_EQ(mappedFile.unmaps, mappedFile.views);
        EXPECT_EQ(mappedFile.closes, mappedFile.opens + mappedFile.maps);
        return image != nullptr;
    }
    void ExpectOneBox(const char *text)
    {
        ASSERT_EQ(messageBoxes.size(), 1u);
        EXPECT_EQ(messageBoxes[0].text, text);
        EXPECT_EQ(messageBoxes[0].caption, "Error");
        EXPECT_EQ(messageBoxes[0].flags & MB_TYPEMASK, UINT(MB_OK));
    }
    void ExpectRefused(const Bytes &file, const char *text)
    {
        Serve(file);
        messageBoxes.clear();
        EXPECT_FALSE(Load());
        ExpectOneBox(text);
    }

    ScopedPlatform scoped_;
    Bytes file_;
    Bytes record_;
    int width_ = 0, height_ = 0;
};

HANDLE WINAPI FailOpenA(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
HANDLE WINAPI FailOpenW(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
HANDLE WINAPI FailMapping(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR) { return nullptr; }
LPVOID WINAPI FailView(HANDLE, DWORD, DWORD, DWORD, SIZE_T) { return nullptr; }
HDC WINAPI FailContext(HDC) { return nullptr; }
HBITMAP WINAPI FailSection(HDC, const BITMAPINFO *, UINT, void **bits, HANDLE, DWORD)
{
    *bits = nullptr;
    return nullptr;
}
HGDIOBJ WINAPI FailSelect(HDC, HGDIOBJ) { return nullptr; }
int WINAPI FailConvert(HDC, HBITMAP, UINT, UINT, const void *, const BITMAPINFO *, UINT) { return 0; }

TEST_F(DibReader, OpeningFailuresNameTheFile)
{
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        Serve(file_);
        if (step == 0)
            platform.CreateFileA = FailOpenA;
        if (step == 1)
            platform.CreateFileMappingA = FailMapping;
        if (step == 2)
            platform.MapViewOfFile = FailView;
        messageBoxes.clear();
        EXPECT_FALSE(Load("pic.bmp"));
        ExpectOneBox("Failed to open DIB file pic.bmp.\n");
    }
    platform.CreateFileW = FailOpenW;
    const ImageWideChar wideName[] = {'w', 'i', 'd', 'e', '.', 'b', 'm', 'p', 0};
    messageBoxes.clear();
    EXPECT_EQ(LoadDibImageW(wideName), nullptr);
    ExpectOneBox("Failed to open DIB file wide.bmp.\n");
    messageBoxes.clear();
    EXPECT_EQ(LoadDibImage(nullptr), nullptr);
    EXPECT_EQ(messageBoxes.size(), 1u);
}

TEST_F(DibReader, EmptyFileCannotBeMapped)
{
    ExpectRefused(Bytes(), "Failed to open DIB file pic.bmp.\n");
    EXPECT_EQ(mappedFile.maps, 0);
}

TEST_F(DibReader, ResourceFailuresAreOutOfMemory)
{
    Bytes good = file_;
    struct Row {
        const char *what;
        void (*fail)();
        const char *message;
    } rows[] = {
        {"working header", [] { localAllocsBeforeFailure = 0; }, kDibOutOfMemory},
        {"context", [] { platform.CreateCompatibleDC = FailContext; }, kDibOutOfMemory},
        {"target header", [] { localAllocsBeforeFailure = 1; }, kDibOutOfMemory},
        {"surface", [] { platform.CreateDIBSection = FailSection; }, kDibOutOfMemory},
        {"selection", [] { platform.SelectObject = FailSelect; }, kDibOutOfMemory},
        {"conversion", [] { platform.SetDIBits = FailConvert; }, kDibConversionError},
        {"pixel array", [] { allocationsBeforeFailure = 0; }, kDibOutOfMemory},
        {"record", [] { allocationsBeforeFailure = 1; }, kDibOutOfMemory},
    };
    PlatformTable prepared = platform;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        platform = prepared;
        platform.LocalAlloc = FailingLocalAlloc;
        dibAllocate = FailingAllocate;
        localAllocsBeforeFailure = allocationsBeforeFailure = -1;
        row.fail();
        ExpectRefused(good, row.message);
    }
}

TEST_F(DibReader, NoBoxWhileErrorBoxesIsOff)
{
    tkShowErrorBoxes(0);
    platform.CreateFileA = FailOpenA;
    EXPECT_FALSE(Load());
    Serve(Bytes{'B', 'M', 1, 2});
    EXPECT_FALSE(Load());
    Serve(MakeDib(Spec(5, 3, 8), 7).file);
    platform.SetDIBits = FailConvert;
    EXPECT_FALSE(Load());
    EXPECT_TRUE(messageBoxes.empty());
    tkShowErrorBoxes(1);
    EXPECT_FALSE(Load());
    EXPECT_EQ(messageBoxes.size(), 1u);
}

TEST_F(DibReader, ContextIsDeletedBeforeItsSurface)
{
    ASSERT_TRUE(Load());
    EXPECT_EQ(ledger.releases, (std::vector<std::string>{"DeleteDC", "DeleteObject"}));
    EXPECT_TRUE(messageBoxes.empty());
}

TEST_F(DibReader, HeaderFormsAndSizes)
{
    Bytes file = file_;
    file[14] = 108;
    ExpectRefused(file, kDibUnknownFormat);
    file[14] = 124;
    ExpectRefused(file, kDibUnknownFormat);
    ExpectRefused(Bytes(file_.begin(), file_.begin() + 30), kDibUnknownFormat); // header cut short
    ExpectRefused(Bytes(file_.begin(), file_.begin() + 10), kDibUnknownFormat);
}

// Puts a 32-bit little-endian value into the info header at the offset given.
void SetField(Bytes &file, size_t headerOffset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[14 + headerOffset + i] = uint8_t(value >> (8 * i));
}

TEST_F(DibReader, DimensionsAreChecked)
{
    Bytes file = file_;
    SetField(file, 4, 0);
    ExpectRefused(file, kDibConversionError); // width 0
    SetField(file, 4, uint32_t(-5));
    ExpectRefused(file, kDibConversionError); // negative width
    file = file_;
    SetField(file, 8, 0);
    ExpectRefused(file, kDibConversionError); // height 0
    // 70000 x 70000 pixels cannot be described by a 32-bit surface size.
    file = file_;
    SetField(file, 4, 70000);
    SetField(file, 8, 70000);
    ExpectRefused(file, kDibOutOfMemory);
    SetField(file, 8, uint32_t(-70000));
    ExpectRefused(file, kDibOutOfMemory);
}

TEST_F(DibReader, ReadsStayInsideTheFile)
{
    ExpectRefused(Bytes(file_.begin(), file_.end() - 1), kDibConversionError); // pixel data short
    ExpectRefused(Bytes(file_.begin(), file_.begin() + 54 + 100), kDibConversionError); // colour table cut
    Bytes file = file_;
    file[10] = 0xF0, file[11] = 0xFF, file[12] = 0xFF, file[13] = 0x7F; // bfOffBits past the end
    ExpectRefused(file, kDibConversionError);
    // A short colour table is fine as long as the entries in use are in the file.
    DibSpec spec = Spec(4, 2, 8);
    spec.paletteSize = 3;
    GeneratedDib small = MakeDib(spec, 3);
    SetField(small.file, 32, 0x10003); // 65539 colours: the count keeps 3, GDI reads 256
    ExpectRefused(small.file, kDibConversionError);
}

TEST_F(DibReader, RunLengthDataStopsAtTheEndOfTheFile)
{
    DibSpec spec = Spec(6, 4, 8);
    spec.compression = BI_RLE8;
    spec.paletteSize = 30;
    GeneratedDib dib = MakeDib(spec, 11);
    SetField(dib.file, 20, 0x7FFFFFFF); // biSizeImage far past the end
    Serve(dib.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(record_, dib.record);
    EXPECT_EQ(seenHeader.biSizeImage, dib.file.size() - 14 - 40 - 30 * 4);
}

TEST_F(DibReader, ColourTablesOfTheWorkingHeader)
{
    // biClrUsed 0: all 256 entries; biClrUsed 20 without a file header: 20
    // entries, pixel data 40 + 80 bytes after the header.
    DibSpec spec = Spec(3, 2, 8);
    GeneratedDib full = MakeDib(spec, 5);
    Serve(full.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(seenHeader.biClrUsed, 256u);
    EXPECT_EQ(memcmp(seenColours, &full.file[54], 256 * 4), 0);

    spec.paletteSize = 20;
    spec.fileHeader = false;
    GeneratedDib twenty = MakeDib(spec, 5);
    Serve(twenty.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(seenHeader.biClrUsed, 20u);
    EXPECT_EQ(memcmp(seenColours, &twenty.file[40], 20 * 4), 0);
    EXPECT_EQ(record_, twenty.record);
    EXPECT_EQ(seenBits, mappedFile.lastView + 40 + 80);

    // A 24-bit file with a colour table carries it into the working header.
    spec = Spec(3, 2, 24);
    spec.paletteSize = 7;
    GeneratedDib coloured = MakeDib(spec, 5);
    Serve(coloured.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(seenHeader.biClrUsed, 7u);
    EXPECT_EQ(memcmp(seenColours, &coloured.file[54], 7 * 4), 0);
    EXPECT_EQ(record_, coloured.record);
}

TEST_F(DibReader, BitFieldMasksAreCarried)
{
    DibSpec spec = Spec(5, 2, 16);
    spec.compression = BI_BITFIELDS;
    spec.masks[0] = 0xF800, spec.masks[1] = 0x07E0, spec.masks[2] = 0x001F;
    for (bool fileHeader : {true, false}) {
        spec.fileHeader = fileHeader;
        GeneratedDib dib = MakeDib(spec, 9);
        Serve(dib.file);
        ASSERT_TRUE(Load());
        uint32_t masks[3];
        memcpy(masks, seenColours, sizeof masks);
        EXPECT_EQ(masks[0], 0xF800u);
        EXPECT_EQ(masks[1], 0x07E0u);
        EXPECT_EQ(masks[2], 0x001Fu);
        EXPECT_EQ(record_, dib.record);
    }
}

TEST_F(DibReader, WorkingHeaderRules)
{
    // biSizeImage 0 in a 1-bit bitmap 10 x 3 becomes (10 + 7) / 8 x 3 = 6.
    GeneratedDib dib = MakeDib(Spec(10, 3, 1), 4);
    Serve(dib.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(seenHeader.biSizeImage, 6u);
    EXPECT_EQ(seenLines, 3u);

    // Core header: unsigned 16-bit width, 3-byte colour entries widened.
    DibSpec spec = Spec(40000, 1, 24);
    spec.coreHeader = true;
    dib = MakeDib(spec, 4);
    Serve(dib.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(width_, 40000);
    EXPECT_EQ(seenHeader.biSize, 40u);
    EXPECT_EQ(record_, dib.record);
}

TEST_F(DibReader, TopDownRowsComeOutBottomFirst)
{
    DibSpec spec = Spec(3, 4, 24);
    GeneratedDib bottomUp = MakeDib(spec, 8);
    spec.topDown = true;
    GeneratedDib topDown = MakeDib(spec, 8);
    ASSERT_EQ(bottomUp.record, topDown.record); // one picture, two row orders
    Serve(topDown.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(height_, 4);
    EXPECT_EQ(record_, bottomUp.record);
    EXPECT_EQ(seenLines, 4u);
    // A 3-pixel row is 9 bytes, red first.
    EXPECT_EQ(record_.size(), 4u * 9u);
    EXPECT_EQ(record_[0], bottomUp.file[54 + 2]);
}

TEST_F(DibReader, FileHeaderIsOptional)
{
    DibSpec spec = Spec(7, 3, 4);
    GeneratedDib with = MakeDib(spec, 2);
    spec.fileHeader = false;
    GeneratedDib without = MakeDib(spec, 2);
    Serve(with.file);
    ASSERT_TRUE(Load());
    Bytes first = record_;
    Serve(without.file);
    ASSERT_TRUE(Load());
    EXPECT_EQ(record_, first);
}

TEST(DibColours, CountFollowsHeaderFormAndBitCount)
{
    unsigned char core[12] = {12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 4, 0};
    EXPECT_EQ(CountDibColors(core), 16);
    core[10] = 24;
    EXPECT_EQ(CountDibColors(core), 0);
    unsigned char info[40] = {40};
    info[14] = 8;
    EXPECT_EQ(CountDibColors(info), 256);
    info[14] = 1;
    EXPECT_EQ(CountDibColors(info), 2);
    info[14] = 16;
    EXPECT_EQ(CountDibColors(info), 0);
    info[32] = 5, info[34] = 0x34, info[35] = 0x12; // biClrUsed 0x12340005: its low 16 bits
    EXPECT_EQ(CountDibColors(info), 5);
    info[32] = 0, info[34] = 1, info[35] = 0; // 65536 cuts to 0
    EXPECT_EQ(CountDibColors(info), 0);
    info[0] = 108;
    info[34] = 0, info[32] = 7;
    EXPECT_EQ(CountDibColors(info), 7);
}

} // namespace
