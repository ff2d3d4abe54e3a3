// Both readers on files made here, for the cases the shared test data lacks,
// and how they name a file they could not open. Every request for memory or a
// drawing resource goes through counting wrappers that can fail any one of
// them or refuse a large one, so each file is seen to give its record or its
// one message (none while errorBoxes is off), at once, with everything
// released and nothing read past its end.
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "dib_header.h"
#include "dib_reader.h"
#include "image_report.h"
#include "rgb_reader.h"
#include "rgb_rows.h"
#include "tests/image/image_files.h"
#include "tests/image/memory_file.h"
#include "tests/support/platform_script.h"
#include "toolkit/tk.h"

namespace fs = std::filesystem;

namespace {

// A reader that does not keep to its limit would take the machine's memory.
constexpr size_t kLargeRequest = size_t(1) << 30;

int requests, failAt; // the failAt-th request of a load fails
size_t largest;       // the largest request of a load
int held;             // header blocks, contexts and surfaces not yet given back
BITMAPINFOHEADER seenHeader; // the working header as SetDIBits saw it
UINT seenLines;

bool Grant(size_t size)
{
    largest = std::max(largest, size);
    return ++requests != failAt && size < kLargeRequest;
}
template <typename T> T Held(T obtained) { return held += obtained != nullptr, obtained; }

void *Allocate(size_t size) { return Grant(size) ? malloc(size) : nullptr; }
HLOCAL WINAPI CountedLocalAlloc(UINT flags, SIZE_T size)
{
    return Held(Grant(size) ? realPlatform.LocalAlloc(flags, size) : nullptr);
}
HLOCAL WINAPI CountedLocalFree(HLOCAL block) { return --held, realPlatform.LocalFree(block); }
HDC WINAPI CountedCreateDC(HDC reference) { return Held(Grant(0) ? realPlatform.CreateCompatibleDC(reference) : nullptr); }
BOOL WINAPI CountedDeleteDC(HDC context)
{
    --held;
    LogCall("DeleteDC");
    return realPlatform.DeleteDC(context);
}
HBITMAP WINAPI CountedSurface(HDC context, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section, DWORD offset)
{
    if (!Grant(size_t(info->bmiHeader.biWidth) * size_t(abs(info->bmiHeader.biHeight)) * 3))
        return *bits = nullptr, nullptr;
    return Held(realPlatform.CreateDIBSection(context, info, usage, bits, section, offset));
}
HGDIOBJ WINAPI CountedSelect(HDC context, HGDIOBJ object)
{
    return Grant(0) ? realPlatform.SelectObject(context, object) : nullptr;
}
// The portable build, like GDI, refuses to delete a surface still selected.
BOOL WINAPI CountedDeleteObject(HGDIOBJ object)
{
    BOOL deleted = realPlatform.DeleteObject(object);
    held -= deleted != FALSE;
    LogCall("DeleteObject");
    return deleted;
}
int WINAPI WatchedSetDIBits(HDC context, HBITMAP surface, UINT first, UINT lines, const void *bits,
                            const BITMAPINFO *info, UINT usage)
{
    seenHeader = info->bmiHeader, seenLines = lines;
    return realPlatform.SetDIBits(context, surface, first, lines, bits, info, usage);
}

HANDLE WINAPI FailOpen(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) { return INVALID_HANDLE_VALUE; }
DWORD WINAPI FailSize(HANDLE, LPDWORD high) { return *high = 0, INVALID_FILE_SIZE; }
HANDLE WINAPI FailMapping(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCSTR) { return nullptr; }
LPVOID WINAPI FailView(HANDLE, DWORD, DWORD, DWORD, SIZE_T) { return nullptr; }
int WINAPI FailConvert(HDC, HBITMAP, UINT, UINT, const void *, const BITMAPINFO *, UINT) { return 0; }

HWND const kFocused = reinterpret_cast<HWND>(0x1234);
HWND WINAPI FocusedWindow(void) { return kFocused; }
std::vector<std::u16string> formattedNames; // every 16-bit name handed to the formatter
int WINAPI RecordingFormat(LPSTR out, LPCSTR format, va_list arguments)
{
    if (strstr(format, "%ws")) {
        va_list copy;
        va_copy(copy, arguments);
        formattedNames.emplace_back();
        for (const WCHAR *name = va_arg(copy, const WCHAR *); *name; ++name)
            formattedNames.back() += char16_t(*name);
        va_end(copy);
    }
    return realPlatform.wvsprintfA(out, format, arguments);
}

std::vector<ImageWideChar> Wide(const std::u16string &text)
{
    std::vector<ImageWideChar> wide(text.begin(), text.end());
    wide.push_back(0);
    return wide;
}

// The three entry points of each reader, in the order of ImageReader.
const struct EntryPoints {
    PixelImage *(*narrow)(const char *);
    PixelImage *(*plain)(const char *);
    PixelImage *(*wide)(const ImageWideChar *);
    const char *missing; // the start of the message for a missing file
} kEntryPoints[] = {{LoadRgbImageA, LoadRgbImage, LoadRgbImageW, "Failed to open image file "},
                    {LoadDibImageA, LoadDibImage, LoadDibImageW, "Failed to open DIB file "}};

// Each row as one literal packet.
std::vector<Bytes> Packed(const std::vector<Bytes> &rows)
{
    std::vector<Bytes> packed;
    for (const Bytes &row : rows) {
        Bytes &out = packed.emplace_back(1, uint8_t(0x80 | row.size()));
        out.insert(out.end(), row.begin(), row.end());
        out.push_back(0);
    }
    return packed;
}

// The file with a big-endian value of size bytes (SGI) or a 32-bit
// little-endian one (bitmap) at an offset.
Bytes WithBigEndian(Bytes file, size_t at, uint32_t value, int size)
{
    PutBigEndian(file, at, value, size);
    return file;
}
Bytes WithLittleEndian(Bytes file, size_t at, uint32_t value)
{
    PutLittleEndian(file, at, value);
    return file;
}
Bytes Resized(Bytes file, size_t size)
{
    file.resize(size);
    return file;
}

Outcome Record(int width, int height, const Bytes &bytes) { return {true, width, height, true, bytes, {}, 0, {}}; }

// The code and text of the query after a load of "pic" that showed expected's box.
std::pair<int32_t, std::string> FailureOf(const Outcome &expected)
{
    if (expected.boxes.empty())
        return {TK_ERROR_NONE, ""};
    const std::string &box = expected.boxes[0];
    if (box.back() == '\n')
        return {TK_ERROR_FILE_OPEN, box.substr(0, box.size() - 1)};
    const std::pair<const char *, int32_t> codes[] = {{kImageOutOfMemory, TK_ERROR_OUT_OF_MEMORY},
                                                      {kImagePixelLimit, TK_ERROR_PIXEL_LIMIT},
                                                      {kDibConversionError, TK_ERROR_CONVERSION}};
    int32_t code = TK_ERROR_FILE_FORMAT;
    for (const auto &[text, its] : codes)
        code = box == text ? its : code;
    return {code, "pic: " + box};
}
Outcome Refused(const char *message) { return {false, 0, 0, false, {}, {message}, 0, {}}; }

Bytes Masks(uint32_t red, uint32_t green, uint32_t blue)
{
    Bytes bytes(12);
    PutLittleEndian(bytes, 0, red), PutLittleEndian(bytes, 4, green), PutLittleEndian(bytes, 8, blue);
    return bytes;
}

// Run-length, every row of each channel the one short packed row at the end:
// a file of 12 bytes a row that claims side x side pixels.
Bytes SharedRowSgi(uint16_t side)
{
    const size_t rows = size_t(side) * 3;
    Bytes file = Resized(MakeSgi(side, side, 3, true, {}), 512 + rows * 8);
    for (size_t row = 0; row < rows; ++row) {
        PutBigEndian(file, 512 + row * 4, uint32_t(file.size()), 4);
        PutBigEndian(file, 512 + (rows + row) * 4, 3, 4);
    }
    file.insert(file.end(), {0x01, 0xFF, 0x00});
    return file;
}

// RLE8 that reaches its last row by deltas of 255 rows and paints one pixel.
Bytes DeltaBitmap(int32_t side)
{
    Bytes data;
    for (int32_t y = 0; y < side - 1; y += 255)
        data.insert(data.end(), {0, 2, 0, uint8_t(std::min(255, side - 1 - y))});
    data.insert(data.end(), {1, 1, 0, 1});
    return MakeDib(side, side, 8, BI_RLE8, {0, 0, 0, 0, 255, 255, 255, 0}, data);
}

class ImageReaders : public ::testing::Test {
protected:
    void SetUp() override
    {
        failAt = 0;
        tkShowErrorBoxes(1);
        rgbAllocate = dibAllocate = Allocate;
        platform.LocalAlloc = CountedLocalAlloc;
        platform.LocalFree = CountedLocalFree;
        platform.CreateCompatibleDC = CountedCreateDC;
        platform.DeleteDC = CountedDeleteDC;
        platform.CreateDIBSection = CountedSurface;
        platform.DeleteObject = CountedDeleteObject;
        platform.SelectObject = CountedSelect;
        platform.SetDIBits = WatchedSetDIBits;
        platform.GetFocus = FocusedWindow;
        prepared_ = platform;
    }
    void TearDown() override
    {
        rgbAllocate = dibAllocate = malloc;
        SetImagePixelLimit(IMAGE_DEFAULT_PIXEL_LIMIT);
    }

    // After setup has changed the table; checks that everything obtained was given back.
    Outcome Load(ImageReader reader, const Bytes &file, void (*setup)() = [] {})
    {
        platform = prepared_;
        InstallMemoryFile(&platform, file.data(), file.size());
        setup();
        requests = 0, largest = 0, held = 0, callLog.clear();
        Outcome outcome = LoadPath(reader, "pic");
        EXPECT_EQ(held, 0);
        EXPECT_TRUE(memoryFile.AllReleased() && !memoryFile.readPastEnd);
        return outcome;
    }

    ScopedPlatform scoped_;
    PlatformTable prepared_;
};

TEST_F(ImageReaders, EachFileGivesItsRecordOrItsOneMessageAtOnceAndReleasesAll)
{
    // A 2 x 2 picture with the samples 1 to 12, channel after channel.
    const std::vector<Bytes> twoByTwo = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}};
    std::vector<Bytes> shortRows = Packed(twoByTwo);
    shortRows[1] = {0};             // red of row 1 ends at once: black, not row 0's samples
    shortRows[3] = {0x81, 7, 0};    // green of row 1 ends after one sample
    const size_t rows = 3 * 3;
    const Bytes sgi = MakeSgi(4, 3, 3, true, Packed(std::vector<Bytes>(rows, {1, 2, 3, 4})));
    const Bytes dib = MakeDib(5, 3, 8, BI_RGB, Bytes(1024, 7), Bytes(24, 5));
    auto none = [] {};
    auto limitOf12 = [] { SetImagePixelLimit(12); };
    const ImageReader Rgb = ImageReader::Rgb, Dib = ImageReader::Dib;
    const Outcome invalid = Refused(kRgbInvalidFile), memory = Refused(kImageOutOfMemory),
                  unopened = Refused("Failed to open DIB file pic.\n"), unknown = Refused(kDibUnknownFormat),
                  unconverted = Refused(kDibConversionError), limit = Refused(kImagePixelLimit);
    const struct Row {
        const char *what;
        ImageReader reader;
        Bytes file;
        void (*setup)();
        Outcome expected;
    } table[] = {
        {"verbatim", Rgb, MakeSgi(2, 2, 3, false, twoByTwo), none, Record(2, 2, {1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12})},
        {"short rows", Rgb, MakeSgi(2, 2, 3, true, shortRows), none, Record(2, 2, {1, 5, 9, 2, 6, 10, 0, 7, 11, 0, 0, 12})},
        // Only the rows read must be sound: not the alpha row's offset.
        {"unsound alpha row", Rgb,
         WithBigEndian(MakeSgi(1, 1, 4, true, Packed({{1}, {2}, {3}, {4}})), 512 + 3 * 4, 0xFFFFFF00u, 4), none,
         Record(1, 1, {1, 2, 3})},
        {"grey", Rgb, MakeSgi(2, 1, 1, true, Packed({{5, 6}})), none, Record(2, 1, {5, 5, 5, 6, 6, 6})},
        {"grey and alpha", Rgb, MakeSgi(2, 1, 2, false, {{5, 6}, {9, 9}}), none, Record(2, 1, {5, 5, 5, 6, 6, 6})},
        {"no rows", Rgb, MakeSgi(4, 0, 3, false, {}), none, Record(4, 0, {})},
        {"at the limit", Rgb, MakeSgi(4, 3, 1, false, {Bytes(4, 9), Bytes(4, 9), Bytes(4, 9)}), limitOf12,
         Record(4, 3, Bytes(36, 9))},
        {"open", Rgb, sgi, [] { platform.CreateFileA = FailOpen; }, Refused("Failed to open image file pic.\n")},
        {"bad magic", Rgb, WithBigEndian(sgi, 0, 0x01DB, 2), none, invalid},
        {"header cut", Rgb, Resized(sgi, 11), none, invalid},
        {"before the data", Rgb, Resized(sgi, 300), none, invalid},
        {"tables cut", Rgb, Resized(sgi, 512 + rows * 6), none, invalid},
        {"offset beyond", Rgb, WithBigEndian(sgi, 512 + 4, uint32_t(sgi.size()), 4), none, invalid},
        {"length beyond", Rgb, WithBigEndian(sgi, 512 + rows * 4 + 8, 200, 4), none, invalid},
        // Longer than 256 x XSIZE, though inside the file.
        {"packed row too long", Rgb, WithBigEndian(Resized(sgi, sgi.size() + 2000), 512 + rows * 4, 256 * 4 + 1, 4),
         none, invalid},
        {"no channels", Rgb, WithBigEndian(MakeSgi(2, 2, 3, false, twoByTwo), 10, 0, 2), none, invalid},
        {"verbatim cut", Rgb, MakeSgi(2, 2, 3, false, {Bytes(11, 1)}), none, invalid},
        {"2-byte verbatim cut", Rgb, WithBigEndian(MakeSgi(2, 2, 3, false, {Bytes(23, 1)}), 2, 2, 2), none, invalid},
        {"30000 x 30000", Rgb, SharedRowSgi(30000), none, limit},
        {"65535 x 65535", Rgb, SharedRowSgi(65535), none, limit},
        {"over the limit", Rgb, MakeSgi(13, 1, 1, false, {Bytes(13, 9)}), limitOf12, limit},
        // 10 bits each in 32 bits; 2, 3 and 11 bits in 16: the top bits repeated once.
        {"long bit fields", Dib, MakeDib(1, 1, 32, BI_BITFIELDS, Masks(0x3FF00000, 0xFFC00, 0x3FF), {1, 0, 0xF8, 0x3F}),
         none, Record(1, 1, {0xFF, 0x80, 0x00})},
        {"short bit fields", Dib, MakeDib(1, 1, 16, BI_BITFIELDS, Masks(0x0003, 0x001C, 0xFFE0), {0xF5, 0xFF, 0, 0}),
         none, Record(1, 1, {0x50, 0xB4, 0xFF})},
        {"at the limit", Dib, MakeDib(4, 3, 8, BI_RGB, {0, 0, 0, 0}, Bytes(12, 0)), limitOf12, Record(4, 3, Bytes(36, 0))},
        {"open", Dib, dib, [] { platform.CreateFileA = FailOpen; }, unopened},
        {"size", Dib, dib, [] { platform.GetFileSize = FailSize; }, unopened},
        {"empty file", Dib, {}, none, unopened},
        {"mapping", Dib, dib, [] { platform.CreateFileMappingA = FailMapping; }, unopened},
        {"view", Dib, dib, [] { platform.MapViewOfFile = FailView; }, unopened},
        {"header cut", Dib, Resized(dib, 30), none, unknown},
        {"file header cut", Dib, Resized(dib, 10), none, unknown},
        {"conversion", Dib, dib, [] { platform.SetDIBits = FailConvert; }, unconverted},
        {"bit fields at 8 bits", Dib, WithLittleEndian(dib, 14 + 16, BI_BITFIELDS), none, unconverted},
        {"width 0", Dib, WithLittleEndian(dib, 14 + 4, 0), none, unconverted},
        {"height 0", Dib, WithLittleEndian(dib, 14 + 8, 0), none, unconverted},
        {"too large top-down", Dib, WithLittleEndian(WithLittleEndian(dib, 14 + 4, 70000), 14 + 8, uint32_t(-70000)),
         none, limit},
        // Without a limit: no 32-bit surface size describes 70000 x 70000 pixels.
        {"too large top-down, no limit", Dib,
         WithLittleEndian(WithLittleEndian(dib, 14 + 4, 70000), 14 + 8, uint32_t(-70000)),
         [] { SetImagePixelLimit(0); }, memory},
        {"pixel data short", Dib, Resized(dib, dib.size() - 1), none, unconverted},
        {"1-bit row short", Dib, MakeDib(33, 1, 1, BI_RGB, Bytes(8, 0), Bytes(7, 0)), none, unconverted},
        {"colour table cut", Dib, Resized(dib, 54 + 100), none, unconverted},
        {"bfOffBits just past the end", Dib, WithLittleEndian(dib, 10, uint32_t(dib.size() + 1)), none, unconverted},
        // 65539 colours: the count keeps 3 of a short table, GDI reads 256.
        {"colours past the end", Dib,
         WithLittleEndian(MakeDib(4, 2, 8, BI_RGB, Bytes(3 * 4, 9), Bytes(8, 1)), 14 + 32, 0x10003), none, unconverted},
        {"20000 x 20000 by deltas", Dib, DeltaBitmap(20000), none, limit},
        {"over the limit", Dib, MakeDib(13, 1, 8, BI_RGB, {1, 2, 3, 0}, Bytes(16, 0)), limitOf12, limit},
    };
    for (const Row &row : table) {
        SCOPED_TRACE(std::string(row.reader == Rgb ? "SGI " : "bitmap ") + row.what);
        Outcome expected = row.expected;
        auto start = std::chrono::steady_clock::now();
        const Outcome outcome = Load(row.reader, row.file, row.setup);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(outcome == expected) << (outcome.boxes.empty() ? "no box" : outcome.boxes[0]);
        EXPECT_EQ(std::make_pair(outcome.code, outcome.failure), FailureOf(expected));
        EXPECT_LT(largest, size_t(1) << 20);
        EXPECT_LT(took.count(), 0.25);
        tkShowErrorBoxes(0);
        const Outcome quiet = Load(row.reader, row.file, row.setup);
        EXPECT_EQ(std::make_pair(quiet.code, quiet.failure), FailureOf(expected));
        expected.boxes.clear();
        EXPECT_TRUE(quiet == expected) << "with errorBoxes off";
        tkShowErrorBoxes(1);
        // Each request of a load that decodes, failed in turn: only the SGI
        // reader's last one, the pixel array, leaves a record, without pixels.
        // SGI: the reader, four row buffers, two row tables, the record and the
        // pixels; bitmap: two headers, context, surface, selection, pixels and
        // record; nothing per row.
        const int total = requests;
        EXPECT_LE(total, row.reader == Rgb ? 9 : 7);
        for (failAt = 1; expected.pixels && failAt <= total; ++failAt) {
            const Outcome failed = Load(row.reader, row.file, row.setup);
            const Outcome left{row.reader == Rgb && failAt == total, failed.width, failed.height, false, {},
                               {kImageOutOfMemory}, 0, {}};
            EXPECT_TRUE(failed == left) << "request " << failAt;
        }
        failAt = 0;
        SetImagePixelLimit(IMAGE_DEFAULT_PIXEL_LIMIT);
    }
}

// Without a limit the largest SGI picture asks for its whole pixel array,
// 12.9 GB, a size that must not wrap on 32 bits.
TEST_F(ImageReaders, WithoutALimitTheLargestPictureAsksForAllItsPixels)
{
    EXPECT_EQ(SetImagePixelLimit(0), uint64_t(IMAGE_DEFAULT_PIXEL_LIMIT));
    const Outcome refused{true, 65535, 65535, false, {}, {kImageOutOfMemory}, 0, {}};
    EXPECT_TRUE(Load(ImageReader::Rgb, SharedRowSgi(65535)) == refused);
    // On 32 bits too large to ask for at all.
    EXPECT_TRUE(sizeof(size_t) == 8 ? largest == size_t(uint64_t(65535) * 65535 * 3) : largest < kLargeRequest) << largest;
}

TEST_F(ImageReaders, WhatTheConversionIsHandedAndHowItIsReleased)
{
    // biSizeImage 0 in a 1-bit bitmap 10 x 3 becomes (10 + 7) / 8 x 3 = 6;
    // biClrUsed 0 becomes the colour count.
    EXPECT_TRUE(Load(ImageReader::Dib, MakeDib(10, 3, 1, BI_RGB, Bytes(8, 1), Bytes(12, 0xAA))).pixels);
    EXPECT_EQ(std::vector<uint32_t>({seenHeader.biSizeImage, seenHeader.biClrUsed, seenLines}),
              std::vector<uint32_t>({6, 2, 3}));
    // The context goes while the surface is still selected into it.
    EXPECT_EQ(callLog, (std::vector<std::string>{"DeleteDC", "DeleteObject"}));

    // Run-length data stops at the end of the file, whatever biSizeImage says.
    const Bytes runs = {2, 1, 0, 0, 2, 2, 0, 1};
    Bytes rle = MakeDib(2, 2, 8, BI_RLE8, Bytes(3 * 4, 0x40), runs);
    EXPECT_EQ(Load(ImageReader::Dib, WithLittleEndian(rle, 14 + 20, 0x7FFFFFFF)).bytes, Bytes(12, 0x40));
    EXPECT_EQ(seenHeader.biSizeImage, runs.size());
    // A stretch the data leaves open, without a command after it, stays black.
    EXPECT_EQ(Load(ImageReader::Dib, MakeDib(2, 2, 8, BI_RLE8, Bytes(3 * 4, 0x40), {2, 1, 0, 0, 1, 2})).bytes,
              Bytes({0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0, 0, 0, 0, 0, 0}));

    // A core header's unsigned 16-bit width, handed on in an info header.
    const Outcome outcome = Load(ImageReader::Dib, MakeDib(40000, 1, 24, BI_RGB, {}, Bytes(120000, 0x33), true));
    EXPECT_TRUE(outcome == Record(40000, 1, Bytes(120000, 0x33)));
    EXPECT_EQ(seenHeader.biSize, 40u);
}

// Through each name form, while another reader holds the file open; a wide
// name that opens nothing, or no name, is named in one box owned by the
// focused window.
TEST_F(ImageReaders, EveryEntryPointReadsTheFileItNamesOrNamesItInOneBox)
{
    const Bytes files[] = {MakeSgi(2, 2, 3, false, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}}),
                           MakeDib(2, 1, 24, BI_RGB, {}, {1, 2, 3, 4, 5, 6, 0, 0})};
    for (const EntryPoints &load : kEntryPoints) {
        const std::string path = WriteTempFile("names", files[&load - kEntryPoints]);
        const fs::path special = fs::path(path).parent_path() / fs::u8path("ov_gr\xc3\xbcn_\xe6\x97\xa5");
        fs::copy_file(path, special, fs::copy_options::overwrite_existing);
        FILE *held = fopen(path.c_str(), "rb");
        const Outcome outcomes[] = {TakeRecord(load.narrow(path.c_str())), TakeRecord(load.plain(path.c_str())),
                                    TakeRecord(load.wide(Wide(std::u16string(path.begin(), path.end())).data())),
                                    TakeRecord(load.wide(Wide(special.u16string()).data())),
                                    TakeRecord(LoadImageFile(special.u8string().c_str()))};
        fclose(held);
        EXPECT_TRUE(outcomes[0].pixels && outcomes[0].boxes.empty());
        for (const Outcome &outcome : outcomes)
            EXPECT_TRUE(outcome == outcomes[0]);
        remove(path.c_str());
        fs::remove(special);
        const std::string start = load.missing;
        EXPECT_EQ(TakeRecord(load.wide(Wide(u"no/such/wide").data())).boxes,
                  std::vector<std::string>{start + "no/such/wide.\n"});
        // The record has a UTF-16 name as UTF-8, a lone half of a pair as U+FFFD.
        EXPECT_EQ(TakeRecord(load.wide(Wide(u"no/gr\u00fcn\U0001F600\xD800").data())).failure,
                  start + "no/gr\xc3\xbcn\xf0\x9f\x98\x80\xef\xbf\xbd.");
        EXPECT_EQ(TakeRecord(load.plain(nullptr)).boxes, std::vector<std::string>{start + "(null).\n"});
        EXPECT_EQ(TakeRecord(load.wide(nullptr)).boxes, std::vector<std::string>{start + "(null).\n"});
    }
    EXPECT_EQ(LoadDibImageA("no/such/pic.bmp"), nullptr);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_TRUE(messageBoxes[0].caption == "Error" && messageBoxes[0].flags == MB_OK && messageBoxes[0].owner == kFocused);

    // The loader refuses without a box, and the record says why.
    messageBoxes.clear();
    const std::string unknown = WriteTempFile("unknown", {'G', 'I', 'F', '8'});
    const std::pair<const char *, std::pair<int32_t, std::string>> refusals[] = {
        {nullptr, {TK_ERROR_ARGUMENT, "No image file name."}},
        {"no/such/pic", {TK_ERROR_FILE_OPEN, "Failed to open image file no/such/pic."}},
        {"bad\xff", {TK_ERROR_ARGUMENT, "bad\xff: the name is not UTF-8."}},
        {unknown.c_str(), {TK_ERROR_FILE_FORMAT, unknown + ": neither a bitmap nor an SGI rgb file."}},
    };
    for (const auto &[path, failure] : refusals) {
        const Outcome outcome = TakeRecord(LoadImageFile(path));
        EXPECT_TRUE(!outcome.record && outcome.boxes.empty());
        EXPECT_EQ(std::make_pair(outcome.code, outcome.failure), failure);
    }
    remove(unknown.c_str());
}

TEST_F(ImageReaders, LongNamesAreCutSoTheMessageFits)
{
    const std::string start = kEntryPoints[0].missing;
    for (size_t length : {228u, 229u, 230u, 300u, 5000u}) {
        std::string name = "missing/" + std::string(length - 8, 'n');
        size_t kept = std::min(length, 255 - start.size() - 2);
        EXPECT_EQ(LoadPath(ImageReader::Rgb, name).boxes, std::vector<std::string>{start + name.substr(0, kept) + ".\n"});
    }
    // Characters that widen when written out as 8-bit text, and characters of
    // two 16-bit halves, which are kept or dropped whole.
    platform.wvsprintfA = RecordingFormat;
    const std::pair<const char16_t *, size_t> pieces[] = {{u"\u00e9", 250}, {u"\U0001F600", 0}};
    for (const auto &[piece, least] : pieces) {
        std::u16string name = u"missing/";
        for (int i = 0; i < 400; ++i)
            name += piece;
        formattedNames.clear();
        const std::vector<std::string> boxes = TakeRecord(LoadRgbImageW(Wide(name).data())).boxes;
        ASSERT_EQ(boxes.size(), 1u);
        const std::string &box = boxes[0]; // the longest part of the name that fits
        EXPECT_TRUE(box.size() <= 255 && box.size() >= least && box.substr(box.size() - 2) == ".\n") << box.size();
        ASSERT_FALSE(formattedNames.empty());
        for (const std::u16string &cut : formattedNames)
            EXPECT_TRUE(name.compare(0, cut.size(), cut) == 0 && (cut.empty() || cut.back() < 0xD800 || cut.back() > 0xDBFF))
                << cut.size();
    }
}

TEST(RgbPackedRow, PacketsDecodeAndStopAtTheRowOrTheStoredEnd)
{
    const struct {
        Bytes packed;
        int bytesPerSample;
        bool bigEndian;
        size_t width;
        Bytes written;
    } cases[] = {
        {{0x05, 1, 0x84, 2, 3, 4, 5, 0x00}, 1, true, 4, {1, 1, 1, 1}}, // more than the row holds
        {{0x83, 9, 8}, 1, true, 8, {9, 8}},                             // literal cut by the length
        {{0x01, 4, 0x05}, 1, true, 8, {4}},                             // run cut by the length
        {{0, 0x82, 0x12, 0x34, 0x56, 0x78, 0, 2, 0x9A, 0xBC, 0, 0}, 2, true, 4, {0x12, 0x56, 0x9A, 0x9A}},
        {{0x82, 0, 0x34, 0x12, 0x78, 0x56, 2, 0, 0xBC, 0x9A, 0, 0}, 2, false, 4, {0x12, 0x56, 0x9A, 0x9A}},
    };
    for (const auto &c : cases) {
        unsigned char out[9];
        memset(out, 0xEE, sizeof out);
        size_t got = DecodeRgbPackedRow(c.packed.data(), c.packed.size(), c.bytesPerSample, c.bigEndian, out, c.width);
        EXPECT_EQ(Bytes(out, out + got), c.written);
        EXPECT_EQ(out[got], 0xEE) << "wrote past what it reported";
    }
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
        PutLittleEndian(header, 32, c.used);
        EXPECT_EQ(CountDibColors(header.data()), c.count) << c.size << " bytes, " << c.bitCount << " bits, " << c.used;
    }
}

} // namespace
