/** @file
 * What the shared libraries export: the public functions of the toolkit and
 * the image readers, and the texture table. The libraries are built with
 * everything else hidden. Windows builds are static only. */
#ifndef TOOLKIT_OV_EXPORT_H
#define TOOLKIT_OV_EXPORT_H

#if defined(__GNUC__) && !defined(_WIN32)
/** Marks a declaration the shared libraries export; empty on Windows. */
#define OV_EXPORT __attribute__((visibility("default")))
#else
#define OV_EXPORT
#endif

#endif
