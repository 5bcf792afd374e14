// Trails fade to black: every frame multiplies the picture by 1 - attenuation
// and also takes one step (1/255) off every non-zero channel, in the
// single-buffer, double-buffer and multi-pass modes, read back from OpenGL.
//
// Index
//   - Fixture and helpers
//   - Small values end
//   - A white frame ends within 255 frames
//   - One step from the plain fade
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "display/glut_test.h"
#include "menu/mainmenu.h"
#include "render/frame.h"
#include "render/texture.h"
#include "shell/state.h"

// ---- Fixture and helpers ----
constexpr int W = 64;
constexpr int H = 48;
constexpr int MODES[] = {0, 1, 3};  // single buffer, double buffer, a multi-pass mode

// Every value 0..255 in each channel, each in a different place.
static std::vector<unsigned char> gradient()
{
    std::vector<unsigned char> image(W * H * 3);
    for (int i = 0; i < W * H; i++) {
        image[i * 3] = (unsigned char)i;
        image[i * 3 + 1] = (unsigned char)(i * 7 + 3);
        image[i * 3 + 2] = (unsigned char)(255 - i);
    }
    return image;
}

// Makes the image the previous frame: in the window (mode 0) and in frameTexture.
static void setPreviousFrame(const std::vector<unsigned char>& image)
{
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2f(-1, -1);
    glDrawPixels(W, H, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    glPopAttrib();
    copyTexture(&ApplicationData.frameTexture);
}

static std::vector<unsigned char> uniform(int v) { return std::vector<unsigned char>(W * H * 3, (unsigned char)v); }

class FadeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplicationData = INITIAL_APPLICATION_DATA;
        RenderOptions = DEFAULT_RENDER_OPTIONS;
        resetMainMenu();
        MainMenu.visible = 0;
        ApplicationData.currentMenu = &MainMenu;
        ApplicationData.pointCount = 0;
        createTestWindow(W, H);
        reshapeFunc(W, H);
    }
    void TearDown() override { RenderOptions = DEFAULT_RENDER_OPTIONS; }
};

static int brightest(const std::vector<unsigned char>& image)
{
    int m = 0;
    for (unsigned char v : image) m = v > m ? v : m;
    return m;
}

// ---- Small values end ----
// At 10 % a channel at 4 rounds back to 4 with the fade alone; the extra
// step takes it to 0 in four frames.
TEST_F(FadeTest, ChannelAtFourReachesZeroInAFewFrames)
{
    ApplicationData.attenuation = 0.1f;
    for (int mode : MODES) {
        ApplicationData.motionBlur = mode;
        setPreviousFrame(uniform(4));
        int frames = 0;
        while (frames < 10 && brightest(readPixels(0, 0, W, H)) > 0) {
            displayFunc();
            frames++;
        }
        EXPECT_LE(frames, 5) << "mode " << mode;
        EXPECT_EQ(brightest(readPixels(0, 0, W, H)), 0) << "mode " << mode;
    }
}

// ---- A white frame ends within 255 frames ----
TEST_F(FadeTest, WhiteReachesBlackWithin255Frames)
{
    for (float attenuation : {0.001f, 0.01f, 0.1f})
        for (int mode : MODES) {
            ApplicationData.attenuation = attenuation;
            ApplicationData.motionBlur = mode;
            setPreviousFrame(uniform(255));
            for (int f = 0; f < 255; f++) displayFunc();
            EXPECT_EQ(brightest(readPixels(0, 0, W, H)), 0) << "mode " << mode << ", attenuation " << attenuation;
        }
}

// ---- One step from the plain fade ----
// Every value, faded once the new way and the plain way: at most one step
// apart, and a non-zero value always ends at least one step lower.
TEST_F(FadeTest, FadedValueIsWithinOneStepOfThePlainFade)
{
    std::vector<unsigned char> image = gradient();
    for (float attenuation : {0.001f, 0.01f, 0.1f, 0.5f})
        for (int mode : MODES) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", attenuation " << attenuation);
            ApplicationData.attenuation = attenuation;
            ApplicationData.motionBlur = mode;
            std::vector<unsigned char> plain, darker;
            for (int fadeToBlack : {0, 1}) {
                RenderOptions.fadeToBlack = fadeToBlack;
                setPreviousFrame(image);
                displayFunc();
                (fadeToBlack ? darker : plain) = readPixels(0, 0, W, H);
            }
            int far = 0, kept = 0;
            for (size_t i = 0; i < image.size(); i++) {
                if (std::abs(darker[i] - plain[i]) > 1) far++;
                if (image[i] > 0 && darker[i] >= image[i]) kept++;
            }
            EXPECT_EQ(far, 0);
            EXPECT_EQ(kept, 0);
        }
}
