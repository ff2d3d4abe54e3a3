// The texture table in a real OpenGL context: indices, bindings, the limit of
// 64 names and the uploaded texels.
#include <stdio.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32_types.h" // before GL/gl.h, which needs it on Windows

#include <GL/gl.h>

#include "tests/image/image_files.h"
#include "tests/support/gl_context.h"
#include "tests/support/platform_script.h"
#include "textures/texture_table.h"
#include "toolkit/tk.h"

namespace {

GLint Integer(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

struct GeneratedDib {
    Bytes file;
    Bytes record; // red, green, blue, rows bottom first
};

// A 24-bit bitmap file of made-up colours and the record the reader delivers.
GeneratedDib Bitmap(int width, int height, uint32_t seed)
{
    const size_t stride = size_t(width * 3 + 3) / 4 * 4;
    Bytes data(stride * size_t(height), 0), record;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; x += 3) {
            uint8_t *bgr = &data[size_t(y) * stride + size_t(x)];
            for (int c = 0; c < 3; ++c)
                bgr[c] = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
            record.insert(record.end(), {bgr[2], bgr[1], bgr[0]});
        }
    }
    return {MakeDib(width, height, 24, BI_RGB, {}, data), record};
}

class TextureTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { opened_ = context_.Open(); }
    static void TearDownTestSuite() { context_.Close(); }

    void SetUp() override
    {
        ASSERT_TRUE(opened_) << context_.Failure();
        tkShowErrorBoxes(1);
    }
    void TearDown() override
    {
        for (const std::string &path : written_)
            remove(path.c_str());
    }

    // In the working folder, which is this build's own.
    std::string Write(const Bytes &bytes)
    {
        std::string path = "ov_texture_" + std::to_string(written_.size()) + ".bmp";
        if (FILE *file = fopen(path.c_str(), "wb")) {
            fwrite(bytes.data(), 1, bytes.size(), file);
            fclose(file);
        }
        written_.push_back(path);
        return path;
    }

    static inline TestGLContext context_;
    static inline bool opened_ = false;
    ScopedPlatform scoped_;
    std::vector<std::string> written_;
};

TEST_F(TextureTableTest, IndicesFollowSuccessfulLoadsUpToSixtyFour)
{
    TextureTable table;
    const std::string good = Write(Bitmap(2, 2, 1).file);
    const std::string refused = Write(Bytes{'B', 'M'});

    EXPECT_EQ(table.AddTexture("no/such/texture.bmp"), -1); // first call: names obtained all the same
    EXPECT_TRUE(messageBoxes.empty());                       // an unreadable file is not reported
    EXPECT_EQ(table.AddTexture(good.c_str()), 0);
    EXPECT_EQ(table.AddTexture(nullptr), -1);
    EXPECT_EQ(table.AddTexture(good.c_str()), 1);
    EXPECT_EQ(table.AddTexture(refused.c_str()), -1);
    ASSERT_EQ(messageBoxes.size(), 1u); // the reader's own refusal
    EXPECT_EQ(messageBoxes[0].text, "Unknown DIB file format.");
    for (int32_t index = 2; index < 64; ++index)
        ASSERT_EQ(table.AddTexture(good.c_str()), index);
    EXPECT_EQ(table.AddTexture(good.c_str()), -1);
    EXPECT_EQ(table.UsedCount(), 64);
}

TEST_F(TextureTableTest, TheNewOrSelectedTextureIsBound)
{
    TextureTable table;
    const std::string good = Write(Bitmap(1, 1, 3).file);
    ASSERT_EQ(table.AddTexture(good.c_str()), 0);
    ASSERT_EQ(table.AddTexture(good.c_str()), 1);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), GLint(table.TextureName(1)));
    table.SelectTexture(0);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), GLint(table.TextureName(0)));
    table.SelectTexture(-1); // indices never handed out change nothing
    table.SelectTexture(2);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), GLint(table.TextureName(0)));
    table.SelectTexture(1);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), GLint(table.TextureName(1)));
}

TEST_F(TextureTableTest, TexelsAreTheRecordWhateverTheRowLengthAndTheCallersAlignmentStays)
{
    TextureTable table;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int width : {1, 3, 4, 8}) {
        SCOPED_TRACE(width);
        const GeneratedDib bitmap = Bitmap(width, 3, uint32_t(width));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
        ASSERT_GE(table.AddTexture(Write(bitmap.file).c_str()), 0);
        EXPECT_EQ(Integer(GL_UNPACK_ALIGNMENT), 8);
        Bytes texels(bitmap.record.size());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_EQ(texels, bitmap.record);
        for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
            GLint value = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, filter, &value);
            EXPECT_EQ(value, GL_LINEAR);
        }
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
