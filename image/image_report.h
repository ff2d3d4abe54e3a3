// How both image readers tell why a file was refused: at most one failure per
// call, recorded for the query with the file's name in its text, and shown
// in a box (caption "Error", owned by the focused window) while boxes are on.
#ifndef IMAGE_IMAGE_REPORT_H
#define IMAGE_IMAGE_REPORT_H

// Every text the readers show, each in one place.
inline constexpr char kImageOutOfMemory[] = "Out of memory.";
inline constexpr char kRgbOpenFailed[] = "Failed to open image file %s.\n";
inline constexpr char kRgbOpenFailedWide[] = "Failed to open image file %ws.\n";
inline constexpr char kRgbInvalidFile[] = "Invalid rgb file.";
inline constexpr char kDibOpenFailed[] = "Failed to open DIB file %s.\n";
inline constexpr char kDibOpenFailedWide[] = "Failed to open DIB file %ws.\n";
inline constexpr char kDibUnknownFormat[] = "Unknown DIB file format.";
inline constexpr char kDibConversionError[] = "Image file conversion error.";
inline constexpr char kImagePixelLimit[] = "Image larger than the pixel limit.";

// A fixed text such as kImageOutOfMemory, for the file name names: 8-bit
// characters, or UTF-16 when wide is set.
void ReportImageFailure(const char *text, const void *name, bool wide);

// A message naming the file: narrowFormat holds "%s" for an 8-bit name,
// wideFormat "%ws" for a UTF-16 one. The name is cut so the text fits 256 bytes.
void ReportImageOpenFailure(const char *narrowFormat, const char *wideFormat, const void *name, bool wide);

#endif
