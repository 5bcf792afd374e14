// Colour-map coefficients.
#include <cmath>

#include "engine/colormap.h"
#include "engine_fixture.h"

class ColorMapTest : public EngineTest {};

TEST_F(ColorMapTest, TimeFrequencyZeroFreezesTheMap)
{
    Fake.now = 123456;
    ApplicationData.timeFrequency = 0.0f;
    evolveColorMap();
    EXPECT_EQ(u1, 3.0f);
    EXPECT_EQ(u2, 3.0f);
    EXPECT_EQ(u3, 3.0f);
    EXPECT_EQ(u4, 1.9f);
    EXPECT_EQ(u5, -1.4f);
    EXPECT_EQ(u6, -1.1f);
}

TEST_F(ColorMapTest, CoefficientsFollowElapsedTime)
{
    Fake.now = 10000;
    ApplicationData.timeFrequency = 1.0f;
    evolveColorMap();
    EXPECT_FLOAT_EQ(u1, (float)(cos(1.2) + 2));
    EXPECT_FLOAT_EQ(u4, (float)((cos(10.0) + 10) * 1.9));
    EXPECT_FLOAT_EQ(u6, (float)((cos(-14.0) + 10) * -1.1));
    // Past the signed wrap of the clock the time keeps growing.
    Fake.now = (int)(2147483648u + 1000u);
    evolveColorMap();
    EXPECT_GT(u4, 4.0e6f);
}
