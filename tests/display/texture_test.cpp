// Motion-blur textures: storage sizes and the image round trip, reallocation,
// the empty record, deletion.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "display/glut_test.h"
#include "render/texture.h"
#include "core/appdata.h"

// ---- OpenGL call counters ----
// The test program interposes these two entry points, counts the calls and
// forwards them to the real library.
static int TexImageCalls = 0;
static int DeleteTexturesCalls = 0;

extern "C" void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const void* data)
{
    using fn = void (*)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
    static fn real = (fn)dlsym(RTLD_NEXT, "glTexImage2D");
    TexImageCalls++;
    real(target, level, internalFormat, width, height, border, format, type, data);
}

extern "C" void glDeleteTextures(GLsizei n, const GLuint* textures)
{
    using fn = void (*)(GLsizei, const GLuint*);
    static fn real = (fn)dlsym(RTLD_NEXT, "glDeleteTextures");
    DeleteTexturesCalls++;
    real(n, textures);
}

// ---- Helpers ----
static void setWindowSize(int w, int h)
{
    ApplicationData.width = w;
    ApplicationData.height = h;
    glViewport(0, 0, w, h);
}

// Fills the lower-left w x h pixels with a pattern no stretched copy reproduces.
static std::vector<unsigned char> drawPattern(int w, int h)
{
    std::vector<unsigned char> image(size_t(w) * h * 3);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned char* p = &image[(size_t(y) * w + x) * 3];
            p[0] = (unsigned char)(x * 7 + y * 3);
            p[1] = (unsigned char)(y * 11 + x);
            p[2] = (unsigned char)((x ^ y) * 5);
        }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2f(-1, -1);
    glDrawPixels(w, h, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}

static void storageSize(unsigned int id, int* w, int* h)
{
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    glBindTexture(GL_TEXTURE_2D, 0);
}

class TextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        createTestWindow(1024, 768);
        TexImageCalls = 0;
        DeleteTexturesCalls = 0;
    }
};

// ---- Storage ----
TEST_F(TextureTest, StorageIsTheNextPowerOfTwoOfTheWindow)
{
    struct {
        int w, h, tw, th;
    } cases[] = {{640, 480, 1024, 512}, {1024, 768, 1024, 1024}, {1, 1, 1, 1}, {513, 3, 1024, 4}};
    for (auto c : cases) {
        setWindowSize(c.w, c.h);
        texture t = EMPTY_TEXTURE;
        copyTexture(&t);
        EXPECT_NE(t.id, TEXTURE_NONE);
        EXPECT_EQ(t.width, c.w);
        EXPECT_EQ(t.height, c.h);
        EXPECT_EQ(t.textureWidth, c.tw);
        EXPECT_EQ(t.textureHeight, c.th);
        int w = 0, h = 0;
        storageSize(t.id, &w, &h);
        EXPECT_EQ(w, c.tw) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.th) << c.w << "x" << c.h;
        deleteTexture(&t);
    }
}

// s = 0.625 and r = 0.9375 at 640x480: the painted image is the copied one, texel for pixel.
TEST_F(TextureTest, PaintGivesBackTheCopiedWindowExactly)
{
    setWindowSize(640, 480);
    std::vector<unsigned char> image = drawPattern(640, 480);
    texture t = EMPTY_TEXTURE;
    copyTexture(&t);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    EXPECT_EQ(paintTexture(&t), 1);
    EXPECT_TRUE(readPixels(0, 0, 640, 480) == image);
}

// Before the first reshape the window counts as 1x1: that one pixel fills the window.
TEST_F(TextureTest, OnePixelRecordIsStretchedOverTheWindow)
{
    setWindowSize(1, 1);
    glClearColor(0.2f, 0.6f, 1.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    texture t = EMPTY_TEXTURE;
    copyTexture(&t);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, 1024, 768);
    glColor3f(1, 1, 1);
    ASSERT_EQ(paintTexture(&t), 1);
    for (rgb p : {readPixel(0, 0), readPixel(1023, 767), readPixel(500, 300)}) {
        EXPECT_EQ(p.r, 51);
        EXPECT_EQ(p.g, 153);
        EXPECT_EQ(p.b, 255);
    }
}

TEST_F(TextureTest, StorageIsReallocatedOnlyAfterAResize)
{
    setWindowSize(640, 480);
    texture t = EMPTY_TEXTURE;
    copyTexture(&t);
    unsigned int id = t.id;
    EXPECT_EQ(TexImageCalls, 1);
    copyTexture(&t);
    copyTexture(&t);
    EXPECT_EQ(TexImageCalls, 1);
    EXPECT_EQ(t.id, id);

    // Same power-of-two storage, but the held area changes: reallocated.
    setWindowSize(600, 480);
    copyTexture(&t);
    EXPECT_EQ(TexImageCalls, 2);
    EXPECT_EQ(t.id, id);
    EXPECT_EQ(t.width, 600);
    EXPECT_EQ(t.textureWidth, 1024);
    copyTexture(&t);
    EXPECT_EQ(TexImageCalls, 2);
}

// ---- Empty records and deletion ----
TEST_F(TextureTest, EmptyRecordPaintsNothing)
{
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    texture t = EMPTY_TEXTURE;
    glColor3f(1, 1, 1);
    EXPECT_EQ(paintTexture(&t), 0);
    rgb p = readPixel(100, 100);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 0);
}

TEST_F(TextureTest, DeleteEmptiesTheRecordAndSkipsAnEmptyOne)
{
    texture t = EMPTY_TEXTURE;
    deleteTexture(&t);
    EXPECT_EQ(DeleteTexturesCalls, 0);
    EXPECT_EQ(t.id, TEXTURE_NONE);

    setWindowSize(64, 48);
    copyTexture(&t);
    unsigned int id = t.id;
    ASSERT_TRUE(glIsTexture(id));
    deleteTexture(&t);
    EXPECT_EQ(DeleteTexturesCalls, 1);
    EXPECT_FALSE(glIsTexture(id));
    EXPECT_EQ(t.id, TEXTURE_NONE);
    EXPECT_EQ(t.width, 0);
    EXPECT_EQ(t.height, 0);
    EXPECT_EQ(t.textureWidth, 0);
    EXPECT_EQ(t.textureHeight, 0);
    deleteTexture(&t);
    EXPECT_EQ(DeleteTexturesCalls, 1);

    // The next copy starts over with a fresh texture and storage.
    copyTexture(&t);
    EXPECT_NE(t.id, TEXTURE_NONE);
    EXPECT_EQ(t.textureWidth, 64);
}
