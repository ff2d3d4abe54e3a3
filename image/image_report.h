// How both image readers tell the user why a file was refused: at most one
// box per call, caption "Error", owned by the focused window, only while the
// toolkit's errorBoxes switch is on.
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

// A fixed text such as kImageOutOfMemory.
void ReportImageFailure(const char *text);

// A message naming the file: narrowFormat holds "%s" for an 8-bit name,
// wideFormat "%ws" for a UTF-16 one. The name is cut so the text fits 256 bytes.
void ReportImageOpenFailure(const char *narrowFormat, const char *wideFormat, const void *name, bool wide);

#endif
