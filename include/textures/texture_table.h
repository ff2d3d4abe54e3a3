/** @file
 * Bitmap files as OpenGL textures, handed out by index in load order. C++. */
#ifndef TEXTURES_TEXTURE_TABLE_H
#define TEXTURES_TEXTURE_TABLE_H

#include <stdint.h>

#include "image/image.h"
#include "toolkit/ov_export.h"

/** A table of 64 OpenGL texture names filled from bitmap files.
 *
 * Every member but the constructor, the destructor and the two getters calls
 * OpenGL: call them on a thread whose current OpenGL context is the one the
 * textures belong to (after tkOpenWindow(), say). The first load ties the
 * table to that context. The table takes no locks; one thread uses it.
 *
 * Failures return -1 or null and are recorded in the calling thread's failure
 * record (tkLastError() in toolkit/tk_error.h): the table's own refusals
 * without a box, the bitmap reader's with its box while boxes are on. */
class OV_EXPORT TextureTable {
public:
    /** The number of texture names, and so of textures, a table holds. */
    static constexpr int32_t kCapacity = 64;

    /** An empty table; asks OpenGL for nothing yet. */
    TextureTable();
    /** Gives nothing back: the names live as long as their OpenGL context. */
    virtual ~TextureTable();

    /** Obtains the 64 names on first use (also for a null name), then reads
     * the bitmap with LoadDibImageA() (12- and 40-byte headers).
     * @param name the file's name, 8-bit, terminated; may be null.
     * @return a new PixelImage the caller frees with free() (pixels, then the
     *         record), or null: for a null name (TK_ERROR_ARGUMENT) or a file
     *         that cannot be opened (TK_ERROR_FILE_OPEN), without a box, or
     *         after the reader's own refusal. */
    PixelImage *LoadTextureImage(const char *name);
    /** Loads the bitmap into the next free name, with linear filtering, and
     * leaves it bound to GL_TEXTURE_2D. OpenGL's unpack alignment is kept.
     * @param name as for LoadTextureImage().
     * @return the new texture's index, 0 for the first, then 1, 2 and so on;
     *         -1 when no texture was made: as LoadTextureImage() fails, or
     *         TK_ERROR_TABLE_FULL once all 64 names are in use. A failure uses
     *         up no index. */
    int32_t AddTexture(const char *name);
    /** Binds the texture of an index to GL_TEXTURE_2D.
     * @param index one AddTexture() returned; any other is ignored. */
    void SelectTexture(int32_t index);

    /** @param index one AddTexture() returned.
     * @return its OpenGL texture name; 0, never a texture name, for any other
     *         index. */
    uint32_t TextureName(int32_t index) const { return index >= 0 && index < usedCount ? textureNames[index] : 0; }
    /** @return how many textures have been made, 0 to 64. */
    int32_t UsedCount() const { return usedCount; }

private:
    void Upload(const PixelImage &image);

    uint32_t textureNames[kCapacity];
    int32_t nameCount;
    int32_t usedCount;
    bool namesGenerated;
};

#endif
