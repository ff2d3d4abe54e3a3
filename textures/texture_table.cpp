#include "textures/texture_table.h"

#include <stdio.h>
#include <stdlib.h>

#include "platform/win32_types.h" // before GL/gl.h, which needs it on Windows

#include <GL/gl.h>

TextureTable::TextureTable() : nameCount(kCapacity), usedCount(0), namesGenerated(false) {}

TextureTable::~TextureTable() = default;

PixelImage *TextureTable::LoadTextureImage(const char *name)
{
    if (!namesGenerated) {
        glGenTextures(nameCount, textureNames);
        namesGenerated = true;
    }
    if (!name) {
        tkRecordError(TK_ERROR_ARGUMENT, "No texture file name.");
        return nullptr;
    }
    // A file that cannot be read shows no box: only the reader's own
    // refusals do. The record hears of both.
    FILE *file = fopen(name, "r");
    if (!file) {
        char text[512];
        snprintf(text, sizeof text, "Failed to open texture file %s.", name);
        tkRecordError(TK_ERROR_FILE_OPEN, text);
        return nullptr;
    }
    fclose(file);
    return LoadDibImageA(name);
}

int32_t TextureTable::AddTexture(const char *name)
{
    if (usedCount >= nameCount) {
        tkRecordError(TK_ERROR_TABLE_FULL, "Texture table full: all 64 names in use.");
        return -1;
    }
    PixelImage *image = LoadTextureImage(name);
    if (!image)
        return -1;
    int32_t index = usedCount++;
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
    Upload(*image);
    free(image->pixels);
    free(image);
    return index;
}

void TextureTable::SelectTexture(int32_t index)
{
    if (index < 0 || index >= usedCount)
        return;
    glBindTexture(GL_TEXTURE_2D, textureNames[index]);
}

void TextureTable::Upload(const PixelImage &image)
{
    // Rows are packed at width x 3 bytes; with OpenGL's default alignment of
    // 4 (or whatever the caller set) it would read past the end of every row
    // that is not a multiple of it.
    GLint savedAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    bool packedRows = savedAlignment > 1 && (int64_t(image.width) * 3) % savedAlignment != 0;
    if (packedRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
    if (packedRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}
