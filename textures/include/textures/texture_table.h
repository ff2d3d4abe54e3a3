// Bitmap files as OpenGL textures, handed out by index in load order.
#ifndef TEXTURES_TEXTURE_TABLE_H
#define TEXTURES_TEXTURE_TABLE_H

#include <stdint.h>

#include "image/image.h"
#include "toolkit/ov_export.h"

class OV_EXPORT TextureTable {
public:
    static constexpr int32_t kCapacity = 64;

    TextureTable();
    // Gives nothing back: the names live as long as their OpenGL context.
    virtual ~TextureTable();

    // Obtains the names on first use (even for a null name), then reads the
    // bitmap; null when the name is null, the file cannot be read or the
    // reader refuses it. The caller frees the image.
    PixelImage *LoadTextureImage(const char *name);
    // The new texture's index, left bound to GL_TEXTURE_2D; -1 when no
    // texture was made, also once all names are in use.
    int32_t AddTexture(const char *name);
    // Binds the texture of index; an index never handed out is ignored.
    void SelectTexture(int32_t index);

    // 0, never a texture name, for an index never handed out.
    uint32_t TextureName(int32_t index) const { return index >= 0 && index < usedCount ? textureNames[index] : 0; }
    int32_t UsedCount() const { return usedCount; }

private:
    void Upload(const PixelImage &image);

    uint32_t textureNames[kCapacity];
    int32_t nameCount;
    int32_t usedCount;
    bool namesGenerated;
};

#endif
