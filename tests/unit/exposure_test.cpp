// Coverage, point size and intensity.
#include <cmath>
#include <vector>

#include "engine/exposure.h"
#include "engine_fixture.h"

class ExposureTest : public EngineTest {
protected:
    std::vector<point> cloud;
    void setPoints(int n, float x, float y)
    {
        cloud.assign(n, point{{0, 0, 0, 255}, x, y, 0.0f});
        ApplicationData.points = cloud.data();
        ApplicationData.pointCount = n;
    }
    void TearDown() override
    {
        ApplicationData.points = nullptr;
        EngineTest::TearDown();
    }
};

TEST_F(ExposureTest, EmptyBuffer)
{
    ApplicationData.roundedPoints = 0;
    evolveProxy();
    EXPECT_EQ(ApplicationData.surface, 0.0f);
    EXPECT_EQ(ApplicationData.pointSize, 1.0f);
    EXPECT_EQ(ApplicationData.alpha, MINIMUM_ALPHA);
    ApplicationData.roundedPoints = 1;
    Fake.lo = 0.5f;
    Fake.hi = 0.5f;
    evolveProxy();
    EXPECT_EQ(ApplicationData.pointSize, 1.0f);  // single size below 1
    Fake.lo = 2.0f;
    Fake.hi = 10.0f;
    evolveProxy();
    EXPECT_EQ(ApplicationData.pointSize, 2.0f);  // raw 0 raised to the smallest size
}

TEST_F(ExposureTest, OneCellSizeAndIntensity)
{
    ApplicationData.width = 640;
    ApplicationData.height = 480;
    ApplicationData.roundedPoints = 0;
    setPoints(599, 0.1f, 0.1f);
    evolveProxy();
    EXPECT_EQ(ApplicationData.surface, 0.00390625f);
    float area = (float)(640 * 480 + 1) / 600.0f;
    float raw = (float)(1.01 * std::sqrt(area * 0.00390625));
    EXPECT_EQ(ApplicationData.pointSize, std::max(1.0f, std::round(raw)));
    double q = 1.0 * 0.1f * area * 0.00390625 / std::pow(ApplicationData.pointSize, 2);
    EXPECT_FLOAT_EQ(ApplicationData.alpha, std::max((float)q, MINIMUM_ALPHA));
    // Sharpness 200 %: square points never below one pixel.
    ApplicationData.sharpness = 2.0f;
    evolveProxy();
    EXPECT_EQ(ApplicationData.pointSize, 1.0f);
}

TEST_F(ExposureTest, OnlyTheFirst1281PointsAreSampled)
{
    setPoints(5000, -0.9f, -0.9f);
    cloud[1280].x = 0.9f;  // sampled
    cloud[1281].y = 0.9f;  // not sampled
    evolveProxy();
    EXPECT_EQ(ApplicationData.surface, 2 * 0.00390625f);
}

TEST_F(ExposureTest, SamplesOutsideTheSquareStayOnTheGrid)
{
    EXPECT_EQ(proxyCell(-1.0f), 0);
    EXPECT_EQ(proxyCell(1.0f), 15);
    EXPECT_EQ(proxyCell(-5.0f), 0);
    EXPECT_EQ(proxyCell(7.0f), 15);
    EXPECT_EQ(proxyCell(NAN), 0);
    setPoints(4, 40.0f, -40.0f);
    cloud[1] = point{{0, 0, 0, 255}, -40.0f, 1e30f, 0.0f};
    evolveProxy();
    EXPECT_EQ(ApplicationData.surface, 2 * 0.00390625f);
}

TEST_F(ExposureTest, RoundPointsSnapToGranularity)
{
    ApplicationData.width = 1000;
    ApplicationData.height = 1000;
    Fake.lo = 1.0f;
    Fake.hi = 255.0f;
    Fake.granularity = 0.25f;
    std::vector<point> spread(256);
    for (int i = 0; i < 256; i++) spread[i] = point{{0, 0, 0, 255}, -1 + (i / 16) / 8.0f + 0.01f, -1 + (i % 16) / 8.0f + 0.01f, 0};
    ApplicationData.points = spread.data();
    ApplicationData.pointCount = 256;
    evolveProxy();
    EXPECT_EQ(ApplicationData.surface, 1.0f);
    float raw = (float)(1.01 * std::sqrt((float)(1000001.0 / 257)));
    float p = (float)(raw * 1.5707963267948966);
    EXPECT_FLOAT_EQ(ApplicationData.pointSize, 1.0f + 0.25f * std::round((p - 1.0f) / 0.25f));
    Fake.granularity = 0.0f;
    evolveProxy();
    EXPECT_FLOAT_EQ(ApplicationData.pointSize, p);
    Fake.answerGranularity = false;  // query writes nothing: preset 0 stands
    evolveProxy();
    EXPECT_FLOAT_EQ(ApplicationData.pointSize, p);
    Fake.answerRange = false;  // preset range 1..1
    evolveProxy();
    EXPECT_EQ(ApplicationData.pointSize, 1.0f);
    ApplicationData.points = nullptr;
}

TEST_F(ExposureTest, IntensityMethodsAndFloors)
{
    setPoints(100, 0.0f, 0.0f);
    ApplicationData.blendMethod = 2;
    ApplicationData.luminance = 1.7f;
    evolveProxy();
    EXPECT_EQ(ApplicationData.alpha, 1.7f);
    ApplicationData.luminance = 0.0f;
    evolveProxy();
    EXPECT_EQ(ApplicationData.alpha, 0.0f);
    ApplicationData.blendMethod = 0;
    evolveProxy();
    EXPECT_EQ(ApplicationData.alpha, MINIMUM_ALPHA);
    // q = 0.25 with multi-pass blur gives 0.5: pick luminance so that q is 0.25.
    ApplicationData.width = ApplicationData.height = 1;  // A = 2 / 101
    ApplicationData.roundedPoints = 0;
    ApplicationData.attenuation = 1.0f;
    ApplicationData.motionBlur = 3;
    float area = 2.0f / 101.0f;
    ApplicationData.luminance = (float)(0.25 / (area * 0.00390625));
    evolveProxy();
    EXPECT_EQ(ApplicationData.pointSize, 1.0f);
    EXPECT_NEAR(ApplicationData.alpha, 0.5f, 1e-6);
    // A size range starting at 0 must not give a NaN intensity.
    ApplicationData.roundedPoints = 1;
    Fake.lo = 0.0f;
    Fake.hi = 10.0f;
    setPoints(0, 0, 0);
    evolveProxy();
    EXPECT_FALSE(std::isnan(ApplicationData.alpha));
}
