// The texture table in a real OpenGL context: indices, bindings, the limit of
// 64 names and the uploaded texels.
#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32_types.h"

#include <GL/gl.h>

#include "tests/support/gl_context.h"
#include "tests/support/platform_script.h"
#include "textures/texture_table.h"
#include "toolkit/tk.h"

namespace {

using Bytes = std::vector<unsigned char>;

void PutLE(Bytes &out, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// A 24-bit bottom-up bitmap file of the given record (rows bottom first, RGB).
Bytes BitmapFile(int width, int height, const Bytes &record, uint32_t headerSize = 40)
{
    uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    PutLE(out, 14 + headerSize + stride * height, 4);
    PutLE(out, 0, 4);
    PutLE(out, 14 + headerSize, 4);
    PutLE(out, headerSize, 4);
    PutLE(out, uint32_t(width), 4);
    PutLE(out, uint32_t(height), 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4); // BI_RGB
    PutLE(out, stride * height, 4);
    for (int i = 0; i < 4; ++i)
        PutLE(out, 0, 4);
    out.resize(14 + headerSize, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char *pixel = &record[(size_t(y) * width + x) * 3];
            out.push_back(pixel[2]);
            out.push_back(pixel[1]);
            out.push_back(pixel[0]);
        }
        out.resize(out.size() + stride - width * 3, 0);
    }
    return out;
}

Bytes RandomRecord(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes record(size_t(width) * height * 3);
    for (unsigned char &byte : record)
        byte = uint8_t(random());
    return record;
}

GLint Binding()
{
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

GLint UnpackAlignment()
{
    GLint alignment = -1;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    return alignment;
}

Bytes BoundTexels(int width, int height)
{
    Bytes texels(size_t(width) * height * 3 + 16, 0xCD);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    texels.resize(size_t(width) * height * 3);
    return texels;
}

class TextureTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        context_ = new TestGLContext;
        opened_ = context_->Open();
    }
    static void TearDownTestSuite()
    {
        delete context_;
        context_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(opened_) << context_->Failure();
        tkShowErrorBoxes(1);
    }
    void TearDown() override
    {
        for (const std::string &path : written_)
            remove(path.c_str());
    }

    std::string Write(const Bytes &bytes)
    {
#ifdef _WIN32
        const char *folder = getenv("TEMP");
#else
        const char *folder = "/tmp";
#endif
        std::string path = std::string(folder ? folder : ".") + "/ov_texture_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                           std::to_string(written_.size()) + ".bmp";
        FILE *file = fopen(path.c_str(), "wb");
        if (file) {
            fwrite(bytes.data(), 1, bytes.size(), file);
            fclose(file);
        }
        written_.push_back(path);
        return path;
    }

    std::string Missing() const { return "no/such/texture.bmp"; }

    static TestGLContext *context_;
    static bool opened_;
    ScopedPlatform scoped_;
    std::vector<std::string> written_;
};

TestGLContext *TextureTableTest::context_ = nullptr;
bool TextureTableTest::opened_ = false;

TEST_F(TextureTableTest, IndicesFollowSuccessfulLoadsOnly)
{
    TextureTable table;
    std::string good = Write(BitmapFile(2, 2, RandomRecord(2, 2, 1)));
    std::string refused = Write(BitmapFile(2, 2, RandomRecord(2, 2, 2), 64));

    EXPECT_EQ(table.AddTexture(Missing().c_str()), -1); // first call: names obtained all the same
    EXPECT_TRUE(messageBoxes.empty());                  // an unreadable file is not reported
    EXPECT_EQ(table.AddTexture(good.c_str()), 0);
    EXPECT_EQ(table.AddTexture(nullptr), -1);
    EXPECT_EQ(table.AddTexture(good.c_str()), 1);
    EXPECT_EQ(table.AddTexture(refused.c_str()), -1);
    ASSERT_EQ(messageBoxes.size(), 1u); // the reader's own refusal
    EXPECT_EQ(messageBoxes[0].text, "Unknown DIB file format.");
    EXPECT_EQ(table.AddTexture(good.c_str()), 2);
    EXPECT_EQ(table.UsedCount(), 3);
    EXPECT_NE(table.TextureName(0), table.TextureName(1));
    EXPECT_NE(table.TextureName(1), table.TextureName(2));
}

TEST_F(TextureTableTest, TheNewOrSelectedTextureIsBound)
{
    TextureTable table;
    std::string good = Write(BitmapFile(1, 1, RandomRecord(1, 1, 3)));
    ASSERT_EQ(table.AddTexture(good.c_str()), 0);
    EXPECT_EQ(Binding(), GLint(table.TextureName(0)));
    ASSERT_EQ(table.AddTexture(good.c_str()), 1);
    EXPECT_EQ(Binding(), GLint(table.TextureName(1)));
    table.SelectTexture(0);
    EXPECT_EQ(Binding(), GLint(table.TextureName(0)));
    // Indices never handed out change nothing.
    for (int32_t index : {-1, 2, 63, 64, 1000})
        table.SelectTexture(index);
    EXPECT_EQ(Binding(), GLint(table.TextureName(0)));
    table.SelectTexture(1);
    EXPECT_EQ(Binding(), GLint(table.TextureName(1)));
}

TEST_F(TextureTableTest, TheSixtyFifthLoadIsRefused)
{
    TextureTable table;
    std::string good = Write(BitmapFile(1, 1, RandomRecord(1, 1, 4)));
    for (int32_t i = 0; i < 64; ++i)
        ASSERT_EQ(table.AddTexture(good.c_str()), i);
    std::vector<uint32_t> names;
    for (int32_t i = 0; i < 64; ++i)
        names.push_back(table.TextureName(i));
    GLint bound = Binding();
    EXPECT_EQ(table.AddTexture(good.c_str()), -1);
    EXPECT_EQ(table.UsedCount(), 64);
    EXPECT_EQ(Binding(), bound);
    for (int32_t i = 0; i < 64; ++i)
        EXPECT_EQ(table.TextureName(i), names[i]);
}

TEST_F(TextureTableTest, TexelsAreTheRecordForEveryWidth)
{
    TextureTable table;
    for (int width : {1, 2, 3, 4, 5, 7, 8}) {
        const int height = 3;
        Bytes record = RandomRecord(width, height, unsigned(width));
        std::string path = Write(BitmapFile(width, height, record));
        PixelImage *decoded = LoadDibImageA(path.c_str());
        ASSERT_NE(decoded, nullptr);
        Bytes decodedBytes(decoded->pixels, decoded->pixels + size_t(width) * height * 3);
        free(decoded->pixels);
        free(decoded);
        EXPECT_EQ(decodedBytes, record) << "width " << width;

        glPixelStorei(GL_UNPACK_ALIGNMENT, 8); // the caller's setting survives the upload
        int32_t index = table.AddTexture(path.c_str());
        ASSERT_GE(index, 0);
        EXPECT_EQ(UnpackAlignment(), 8) << "width " << width;
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        EXPECT_EQ(BoundTexels(width, height), record) << "width " << width;
        GLint minFilter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        EXPECT_EQ(minFilter, GL_LINEAR);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
