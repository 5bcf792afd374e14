// The memory frame's kernels built per instruction set (portable, AVX2,
// AVX-512) give the same bytes: the fade, the weighted sum, and points of
// every shape, size and blend method sorted into two bands and drawn, with
// spans whose ends fall anywhere in a vector of pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/splat.h"

constexpr int W = 97, H = 70, POINTS = 600;

struct kernelresult {
    std::vector<uint32_t> image;  // after each case
    std::vector<int> boxes;
};

static uint32_t Seed;
static uint32_t nextRandom() { return Seed = Seed * 1664525u + 1013904223u; }

static kernelresult runKernels(const std::vector<point>& points)
{
    kernelresult out;
    Seed = 7;
    std::vector<uint32_t> image(W * H), add(W * H);
    for (uint32_t& p : image) p = nextRandom();
    for (uint32_t& p : add) p = nextRandom() & 0x3F3F3F3F;
    fadeRows(image.data(), W, 0, H, 1, blendFactor(40));
    fadeRows(image.data(), W, 3, H - 5, 0, modulation(0.93f));
    addScaledRows(image.data(), add.data(), W, 5, W - 2, 1, H, modulation(0.37f));
    std::vector<splatentry> entries[2] = {std::vector<splatentry>(POINTS), std::vector<splatentry>(POINTS)};
    for (int rounded : {0, 1})
        for (float size : {1.0f, 2.6f, 9.3f, 17.5f})
            for (int method = 0; method <= 2; method++) {
                splatjob job = {points.data(), 0, POINTS, W, H, 3, 2, W - 10, H - 4, size, rounded, method};
                discspans spans = {};
                prepareDiscSpans(&spans, size);
                splatbin bins[2] = {{entries[0].data(), 0}, {entries[1].data(), 0}};
                binPoints(bins, job, spans, 2);
                for (int band = 0; band < 2; band++) {
                    pixelbox b = splatBin(image.data(), job, spans, bins[band].entries, bins[band].count, band, 2, 1);
                    out.boxes.insert(out.boxes.end(), {b.x0, b.y0, b.x1, b.y1});
                }
                out.image.insert(out.image.end(), image.begin(), image.end());  // before the next case covers it
            }
    return out;
}

TEST(Splat, EveryInstructionSetGivesThePortableBytes)
{
    std::vector<point> points(POINTS);
    Seed = 3;
    for (point& p : points) {
        uint32_t c = nextRandom();
        memcpy(p.color, &c, 4);
        p.x = (nextRandom() >> 8) / float(1 << 23) - 1.05f;  // a few outside the picture
        p.y = (nextRandom() >> 8) / float(1 << 23) - 1.05f;
    }
    const char* before = splatKernelName();
    ASSERT_TRUE(useSplatKernel("portable"));
    kernelresult portable = runKernels(points);
    int others = 0;
    for (const char* name : {"x86-64-v3", "x86-64-v4"}) {
        if (!useSplatKernel(name)) continue;
        SCOPED_TRACE(name);
        kernelresult r = runKernels(points);
        EXPECT_TRUE(r.image == portable.image);
        EXPECT_EQ(r.boxes, portable.boxes);
        others++;
    }
    useSplatKernel(before);
    RecordProperty("variants", others + 1);
}

// A point taller than a band and a half reaches into a band of each thread
// beyond its first: both threads draw their rows of it.
TEST(Splat, PointAcrossThreeBandsDrawsEveryRow)
{
    for (int rounded : {0, 1}) {
        point p = {};
        p.y = 0.2f;  // rows 8 .. 47: the first band's, the second's, the first's again
        memcpy(p.color, "\xff\xff\xff\xff", 4);
        splatjob job = {&p, 0, 1, W, H, 0, 0, W, H, 40.0f, rounded, 2};
        discspans spans = {};
        prepareDiscSpans(&spans, job.size);
        splatentry entries[2][1];
        splatbin bins[2] = {{entries[0], 0}, {entries[1], 0}};
        binPoints(bins, job, spans, 2);
        std::vector<uint32_t> image(W * H);
        for (int band = 0; band < 2; band++) splatBin(image.data(), job, spans, bins[band].entries, bins[band].count, band, 2, 0);
        int rows = 0;
        for (int y = 0; y < H; y++) rows += image[y * W + W / 2] != 0;
        EXPECT_EQ(rows, 40) << "rounded " << rounded;
    }
}
