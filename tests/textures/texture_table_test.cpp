// The texture table in a real OpenGL context, on bitmaps of the shared test
// data: indices, bindings, the limit of 64 names and the uploaded texels.
#include <string>

#include <gtest/gtest.h>

#include "platform/win32_types.h" // before GL/gl.h, which needs it on Windows

#include <GL/gl.h>

#include "tests/image/image_files.h"
#include "tests/support/gl_context.h"
#include "tests/support/platform_script.h"
#include "textures/texture_table.h"
#include "toolkit/tk.h"

namespace {

// A state value, or of the texture bound to GL_TEXTURE_2D its size or a filter.
GLint Integer(GLenum name)
{
    GLint value = -1;
    if (name == GL_TEXTURE_WIDTH || name == GL_TEXTURE_HEIGHT)
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    else if (name == GL_TEXTURE_MIN_FILTER || name == GL_TEXTURE_MAG_FILTER)
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    else
        glGetIntegerv(name, &value);
    return value;
}

const std::string kGood = TestDataPath("bmp/bmpsuite/good/pal1.bmp");

using Failure = std::pair<int32_t, std::string>;

// The thread's last failure, cleared for the next.
Failure LastFailure()
{
    Failure last{tkLastError(), tkLastErrorText()};
    tkClearLastError();
    return last;
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

    static inline TestGLContext context_;
    static inline bool opened_ = false;
    ScopedPlatform scoped_;
};

TEST_F(TextureTableTest, IndicesFollowSuccessfulLoadsUpToSixtyFour)
{
    TextureTable table;
    EXPECT_EQ(table.AddTexture("no/such/texture.bmp"), -1);
    EXPECT_TRUE(messageBoxes.empty()); // an unreadable file shows no box, but is recorded
    EXPECT_EQ(LastFailure(), Failure(TK_ERROR_FILE_OPEN, "Failed to open texture file no/such/texture.bmp."));
    for (int32_t index : {-1, 0, 64, INT32_MIN})
        EXPECT_EQ(table.TextureName(index), 0u) << index;
    EXPECT_EQ(table.AddTexture(kGood.c_str()), 0);
    EXPECT_EQ(table.AddTexture(nullptr), -1);
    EXPECT_EQ(LastFailure(), Failure(TK_ERROR_ARGUMENT, "No texture file name."));
    EXPECT_EQ(table.AddTexture(kGood.c_str()), 1);
    const std::string v4 = TestDataPath("bmp/bmpsuite/good/pal8v4.bmp");
    EXPECT_EQ(table.AddTexture(v4.c_str()), -1);
    EXPECT_EQ(messageBoxes.size(), 1u); // the reader's own refusal
    EXPECT_EQ(LastFailure(), Failure(TK_ERROR_FILE_FORMAT, v4 + ": Unknown DIB file format."));
    for (int32_t index = 2; index < 64; ++index)
        ASSERT_EQ(table.AddTexture(kGood.c_str()), index);
    EXPECT_EQ(LastFailure(), Failure(TK_ERROR_NONE, "")); // successes leave the record alone
    EXPECT_EQ(table.AddTexture(kGood.c_str()), -1);
    EXPECT_EQ(LastFailure(), Failure(TK_ERROR_TABLE_FULL, "Texture table full: all 64 names in use."));
    EXPECT_EQ(table.UsedCount(), 64);
}

TEST_F(TextureTableTest, TheFirstCallObtainsTheNamesAndTheNewOrSelectedTextureIsBound)
{
    TextureTable table;
    EXPECT_EQ(table.AddTexture(nullptr), -1);
    GLuint later; // Mesa, native and under Wine, hands names out in increasing order
    glGenTextures(1, &later);
    ASSERT_EQ(table.AddTexture(kGood.c_str()), 0);
    EXPECT_LT(table.TextureName(0), later) << "names obtained by the null name's call";
    glDeleteTextures(1, &later);
    ASSERT_EQ(table.AddTexture(kGood.c_str()), 1);
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
    // Rows of 381 bytes, of 372 (a multiple of 4 but not of 8) and of 384.
    for (std::string name : {"bmpsuite/good/rgb24.bmp", "bmpsuite/good/pal8w124.bmp", "more/hopper_emboss.bmp"}) {
        SCOPED_TRACE(name);
        const Outcome expected = ReadReference(TestDataPath("bmp/gdi-reference" + name.substr(name.rfind('/')) + ".ppm"));
        glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
        ASSERT_GE(table.AddTexture(TestDataPath("bmp/" + name).c_str()), 0);
        EXPECT_EQ(Integer(GL_UNPACK_ALIGNMENT), 8);
        Bytes texels(expected.bytes.size());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_TRUE(texels == expected.bytes);
        EXPECT_EQ(Integer(GL_TEXTURE_WIDTH), expected.width);
        EXPECT_EQ(Integer(GL_TEXTURE_HEIGHT), expected.height);
        EXPECT_EQ(Integer(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(Integer(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
