// Trails fade to black: every frame multiplies the picture by 1 - attenuation
// and also takes one step (1/255) off every non-zero channel, in the
// single-buffer, double-buffer and multi-pass modes, read back from OpenGL.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "display/glut_test.h"
#include "render/frame.h"

constexpr int W = 64;
constexpr int H = 48;
constexpr int MODES[] = {0, 1, 3};  // single buffer, double buffer, a multi-pass mode

static std::vector<unsigned char> uniform(int v) { return std::vector<unsigned char>(W * H * 3, (unsigned char)v); }

static int brightest()
{
    int m = 0;
    for (unsigned char v : readPixels(0, 0, W, H)) m = v > m ? v : m;
    return m;
}

struct FadeTest : testing::Test {
    void SetUp() override
    {
        resetHiddenMenu();
        RenderOptions = DEFAULT_RENDER_OPTIONS;
        RenderOptions.renderer = RENDERER_GL;  // OpenGL's own fade; memory is compared with it elsewhere
        ApplicationData.pointCount = 0;
        createTestWindow(W, H);
        reshapeFunc(W, H);
    }
    void TearDown() override { RenderOptions = DEFAULT_RENDER_OPTIONS; }
};

// Uniform frames reach black: at 10 % a channel at 4 rounds back to 4 with
// the fade alone (the extra step ends it in four frames); white ends within
// 255 frames at any attenuation.
TEST_F(FadeTest, UniformFrameReachesBlack)
{
    struct fadecase {
        int value;          // every channel of the first frame
        float attenuation;  // per frame
        int frames;         // most frames to black
    };
    const fadecase cases[] = {{4, 0.1f, 5}, {255, 0.001f, 255}, {255, 0.01f, 255}, {255, 0.1f, 255}};
    for (const fadecase& c : cases)
        for (int mode : MODES) {
            SCOPED_TRACE(testing::Message() << "value " << c.value << ", attenuation " << c.attenuation << ", mode "
                                            << mode);
            ApplicationData.attenuation = c.attenuation;
            ApplicationData.motionBlur = mode;
            drawPreviousFrame(W, H, uniform(c.value));
            int frames = 0;
            while (frames < c.frames + 5 && brightest() > 0) {
                displayFunc();
                frames++;
            }
            EXPECT_LE(frames, c.frames);
            EXPECT_EQ(brightest(), 0);
        }
}

// Every value, faded once the new way and the plain way: at most one step
// apart, and a non-zero value always ends at least one step lower.
TEST_F(FadeTest, FadedValueIsWithinOneStepOfThePlainFade)
{
    std::vector<unsigned char> image(W * H * 3);  // every value 0..255 in each channel, in different places
    for (int i = 0; i < W * H; i++) {
        image[i * 3] = (unsigned char)i;
        image[i * 3 + 1] = (unsigned char)(i * 7 + 3);
        image[i * 3 + 2] = (unsigned char)(255 - i);
    }
    for (float attenuation : {0.001f, 0.01f, 0.1f, 0.5f})
        for (int mode : MODES) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", attenuation " << attenuation);
            ApplicationData.attenuation = attenuation;
            ApplicationData.motionBlur = mode;
            std::vector<unsigned char> faded[2];  // plain, then with the extra step
            for (int fadeToBlack : {0, 1}) {
                RenderOptions.fadeToBlack = fadeToBlack;
                drawPreviousFrame(W, H, image);
                displayFunc();
                faded[fadeToBlack] = readPixels(0, 0, W, H);
            }
            int far = 0, kept = 0;
            for (size_t i = 0; i < image.size(); i++) {
                far += std::abs(faded[1][i] - faded[0][i]) > 1;
                kept += image[i] > 0 && faded[1][i] >= image[i];
            }
            EXPECT_EQ(far, 0);
            EXPECT_EQ(kept, 0);
        }
}
