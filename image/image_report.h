// How both image readers tell the user why a file was refused: at most one
// box per call, caption "Error", owned by the focused window, only while the
// toolkit's errorBoxes switch is on.
#ifndef IMAGE_IMAGE_REPORT_H
#define IMAGE_IMAGE_REPORT_H

// A fixed text such as "Out of memory.".
void ReportImageFailure(const char *text);

// A message naming the file: narrowFormat holds "%s" for an 8-bit name,
// wideFormat "%ws" for a UTF-16 one. The name is cut so the text fits 256 bytes.
void ReportImageOpenFailure(const char *narrowFormat, const char *wideFormat, const void *name, bool wide);

#endif
