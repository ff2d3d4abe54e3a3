/* Image files: SGI rgb and device-independent bitmap readers.
 * Callable from C. */
#ifndef IMAGE_IMAGE_H
#define IMAGE_IMAGE_H

#include <stdint.h>
#include <wchar.h>

#include "toolkit/ov_export.h"
#include "toolkit/tk_error.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A decoded picture: width x height pixels of red, green, blue bytes, rows
 * bottom first with nothing between rows. The record and its pixel array come
 * from malloc; the caller frees pixels (when not null), then the record. */
typedef struct PixelImage {
    int32_t width;
    int32_t height;
    unsigned char *pixels;
} PixelImage;

/* 16-bit file names are UTF-16 (WCHAR). */
#ifdef _WIN32
typedef wchar_t ImageWideChar;
#else
typedef uint16_t ImageWideChar;
#endif

OV_EXPORT PixelImage *LoadRgbImage(const char *name);
OV_EXPORT PixelImage *LoadRgbImageA(const char *name);
OV_EXPORT PixelImage *LoadRgbImageW(const ImageWideChar *name);
OV_EXPORT PixelImage *LoadDibImage(const char *name);
OV_EXPORT PixelImage *LoadDibImageA(const char *name);
OV_EXPORT PixelImage *LoadDibImageW(const ImageWideChar *name);

OV_EXPORT PixelImage *LoadImageFile(const char *path);

/* A file of a few kilobytes can claim billions of pixels. Both readers refuse
 * a picture of more pixels than the limit with "Out of memory." before they
 * obtain anything for it. The default keeps a record within 512 MiB, close to
 * what other image libraries allow. */
#define IMAGE_DEFAULT_PIXEL_LIMIT 178956970u

/* Sets the limit for every later call on any thread, 0 for none; returns the
 * previous one. */
OV_EXPORT uint64_t SetImagePixelLimit(uint64_t pixels);

#ifdef __cplusplus
}
#endif

#endif
