#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "cad/RasterCanvas.h"

using namespace quarrant;

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite200 = 0xC8C8C8C8u;  // 0xC8FFFFFF premultiplied

struct Image {
    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, kBlack) {}
    RasterCanvas Canvas() { return RasterCanvas(pixels.data(), width, height, width); }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::set<std::pair<int, int>> Lit() const {
        std::set<std::pair<int, int>> lit;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (At(x, y) != kBlack) {
                    lit.insert({x, y});
                }
            }
        }
        return lit;
    }
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

}  // namespace

TEST(RasterCanvas, BlendsLikeThePaintingLibrary) {
    EXPECT_EQ(PremultiplyArgb(0xC8FFFFFFu), kWhite200);
    EXPECT_EQ(PremultiplyArgb(0xC83C3C3Cu), 0xC82F2F2Fu);
    EXPECT_EQ(PremultiplyArgb(0x00FFFFFFu), 0u);
    Image image(4, 1);
    RasterCanvas canvas = image.Canvas();
    canvas.Line({0.5, 0.5}, {0.5, 0.5}, kWhite200);
    EXPECT_EQ(image.At(0, 0), 0xFFC8C8C8u);  // over opaque black the alpha stays opaque
    canvas.Line({0.5, 0.5}, {0.5, 0.5}, kWhite200);
    EXPECT_EQ(image.At(0, 0), 0xFFF3F3F3u);  // 200 + 200 * 55 / 255
}

TEST(RasterCanvas, LinesLightThePixelsHoldingTheirEndsAndOnePerStep) {
    Image image(20, 12);
    RasterCanvas canvas = image.Canvas();
    canvas.Line({2.0, 3.0}, {8.0, 3.0}, kWhite200);  // a point on a pixel's corner is in it
    std::set<std::pair<int, int>> row;
    for (int x = 2; x <= 8; ++x) {
        row.insert({x, 3});
    }
    EXPECT_EQ(image.Lit(), row);

    std::mt19937 random(11);
    // Coordinates kept off the pixel edges, where they are taken to the edge.
    std::uniform_int_distribution<int> pixel(0, 59);
    std::uniform_real_distribution<double> inside(0.01, 0.99);
    auto coordinate = [&] { return pixel(random) + inside(random); };
    for (int i = 0; i < 300; ++i) {
        Image img(60, 60);
        RasterCanvas c = img.Canvas();
        const RasterCanvas::Point a{coordinate(), coordinate()};
        const RasterCanvas::Point b{coordinate(), coordinate()};
        c.Line(a, b, kWhite200);
        const auto lit = img.Lit();
        const int ax = static_cast<int>(a.x), ay = static_cast<int>(a.y);
        const int bx = static_cast<int>(b.x), by = static_cast<int>(b.y);
        ASSERT_TRUE(lit.count({ax, ay}));
        ASSERT_TRUE(lit.count({bx, by}));
        ASSERT_EQ(lit.size(),
                  static_cast<std::size_t>(std::max(std::abs(bx - ax), std::abs(by - ay)) + 1));
        // No pixel is blended twice, and every lit pixel touches another (8-connected).
        for (const auto& [x, y] : lit) {
            ASSERT_EQ(img.At(x, y), 0xFFC8C8C8u);
            bool touches = lit.size() == 1;
            for (int dy = -1; dy <= 1 && !touches; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if ((dx != 0 || dy != 0) && lit.count({x + dx, y + dy})) {
                        touches = true;
                        break;
                    }
                }
            }
            ASSERT_TRUE(touches);
        }
    }
}

TEST(RasterCanvas, PiecesPaintedUnderClipsMakeTheWholePicture) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(-80.0, 180.0);
    Image whole(100, 80);
    Image pieces(100, 80);
    RasterCanvas wholeCanvas = whole.Canvas();
    RasterCanvas pieceCanvas = pieces.Canvas();
    std::vector<std::pair<RasterCanvas::Point, RasterCanvas::Point>> lines;
    for (int i = 0; i < 400; ++i) {
        lines.push_back(
            {{coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)}});
    }
    for (const auto& [a, b] : lines) {
        wholeCanvas.Line(a, b, 0x80402010u);
    }
    for (int piece = 0; piece < 4; ++piece) {
        const int left = piece % 2 == 0 ? 0 : 37;
        const int top = piece < 2 ? 0 : 53;
        pieceCanvas.SetClip(left, top, left == 0 ? 37 : 100, top == 0 ? 53 : 80);
        for (const auto& [a, b] : lines) {
            pieceCanvas.Line(a, b, 0x80402010u);
        }
    }
    EXPECT_EQ(pieces.pixels, whole.pixels);
}

TEST(RasterCanvas, FarAndBrokenCoordinatesStayInsideTheImage) {
    Image image(30, 20);
    RasterCanvas canvas = image.Canvas();
    canvas.Line({-1e13, 5.5}, {1e13, 5.5}, kWhite200);
    for (int x = 0; x < 30; ++x) {
        EXPECT_EQ(image.At(x, 5), 0xFFC8C8C8u) << x;
    }
    EXPECT_EQ(image.Lit().size(), 30u);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    canvas.Line({nan, 1.0}, {3.0, 3.0}, kWhite200);
    canvas.Line({1.0, 1.0}, {inf, 3.0}, kWhite200);
    EXPECT_EQ(image.Lit().size(), 30u);
    canvas.Line({1e300, -1e300}, {-1e300, 1e300}, kWhite200);  // must merely not crash
    Image diagonal(30, 20);
    RasterCanvas diagonalCanvas = diagonal.Canvas();
    diagonalCanvas.Line({-1e9, -1e9}, {1e9, 1e9}, kWhite200);
    EXPECT_EQ(diagonal.Lit().size(), 20u);
    EXPECT_EQ(diagonal.At(0, 0), 0xFFC8C8C8u);
    EXPECT_EQ(diagonal.At(19, 19), 0xFFC8C8C8u);
    diagonalCanvas.SetClip(40, -5, 10, 100);  // an empty clip
    diagonalCanvas.Line({0.0, 0.0}, {29.0, 19.0}, kWhite200);
    EXPECT_EQ(diagonal.Lit().size(), 20u);
}

TEST(RasterCanvas, PathsLightJointsAndTheClosingPixelOnce) {
    Image image(40, 40);
    RasterCanvas canvas = image.Canvas();
    // A closed ring of many short chords, as a flattened circle is drawn.
    std::vector<RasterCanvas::Point> ring;
    for (int k = 0; k <= 40; ++k) {
        const double a = 2.0 * 3.141592653589793 * k / 40.0;
        ring.push_back({20.0 + 12.0 * std::cos(a), 20.0 + 12.0 * std::sin(a)});
    }
    canvas.Path(ring.data(), ring.size(), kWhite200);
    const auto lit = image.Lit();
    EXPECT_GT(lit.size(), 60u);
    for (const auto& [x, y] : lit) {
        ASSERT_EQ(image.At(x, y), 0xFFC8C8C8u) << x << "," << y;
    }
    // A path that turns back on a vertex keeps the vertex once.
    Image turn(10, 10);
    RasterCanvas turnCanvas = turn.Canvas();
    const RasterCanvas::Point vee[] = {{1.5, 1.5}, {5.5, 5.5}, {9.5, 1.5}};
    turnCanvas.Path(vee, 3, kWhite200);
    EXPECT_EQ(turn.At(5, 5), 0xFFC8C8C8u);
    EXPECT_EQ(turn.Lit().size(), 9u);
}

TEST(RasterCanvas, MasksBlendTheirCoverageInsideTheClip) {
    // 0x00 / 0xFF / 0x80 coverage in a 4 x 2 picture.
    const std::uint32_t alpha[] = {0x00000000u, 0xFF000000u, 0xFF000000u, 0x00000000u,
                                   0x80000000u, 0x00000000u, 0x00000000u, 0xFF000000u};
    const CoverageMask mask = CoverageMask::FromAlpha(alpha, 4, 2, 4, 1, 1);
    EXPECT_EQ(mask.InkPixels(), 4u);
    EXPECT_EQ(mask.RowEnd(0) - mask.RowBegin(0), 1u);
    EXPECT_EQ(mask.RowEnd(1) - mask.RowBegin(1), 2u);
    Image image(6, 4);
    RasterCanvas canvas = image.Canvas();
    canvas.Mask(mask, 1, 1, kWhite200);  // the mask's top-left lands on (0, 0)
    EXPECT_EQ(image.At(1, 0), 0xFFC8C8C8u);
    EXPECT_EQ(image.At(2, 0), 0xFFC8C8C8u);
    EXPECT_EQ(image.At(0, 1), 0xFF646464u);  // half coverage: 200 * 128 / 255
    EXPECT_EQ(image.At(3, 1), 0xFFC8C8C8u);
    EXPECT_EQ(image.Lit().size(), 4u);
    // Off the image's edge and under a clip nothing is written outside.
    Image small(3, 3);
    RasterCanvas clipped = small.Canvas();
    clipped.SetClip(0, 0, 2, 3);
    clipped.Mask(mask, 0, 2, kWhite200);
    clipped.Mask(mask, -100, 100, kWhite200);
    EXPECT_EQ(small.Lit(), (std::set<std::pair<int, int>>{{0, 1}, {1, 1}}));
}

TEST(RasterCanvas, NoCoordinateOrClipWritesOutsideTheImage) {
    // The image sits inside a larger buffer whose border must stay untouched.
    constexpr int kWidth = 37, kHeight = 23, kBorder = 8;
    constexpr int kStride = kWidth + 2 * kBorder;
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(kStride) * (kHeight + 2 * kBorder),
                                      kBlack);
    RasterCanvas canvas(buffer.data() + kBorder * kStride + kBorder, kWidth, kHeight, kStride);
    std::mt19937 random(17);
    const double scales[] = {1.0, 40.0, 1e6, 1e14, 1e16, 1e300};
    auto coordinate = [&] {
        const double scale = scales[random() % 6];
        return std::uniform_real_distribution<double>(-scale, scale)(random);
    };
    std::vector<std::uint32_t> alpha(5 * 4, 0xFF000000u);
    const CoverageMask mask = CoverageMask::FromAlpha(alpha.data(), 5, 4, 5, 2, 3);
    for (int i = 0; i < 20000; ++i) {
        if (i % 50 == 0) {
            std::uniform_int_distribution<int> edge(-20, 60);
            canvas.SetClip(edge(random), edge(random), edge(random), edge(random));
        }
        canvas.Line({coordinate(), coordinate()}, {coordinate(), coordinate()}, 0x10101010u);
        const RasterCanvas::Point path[] = {{coordinate(), coordinate()},
                                            {coordinate(), coordinate()},
                                            {coordinate(), coordinate()}};
        canvas.Path(path, 3, 0x10101010u);
        std::uniform_int_distribution<int> place(i % 2 == 0 ? -2000000000 : -10,
                                                 i % 2 == 0 ? 2000000000 : 50);
        canvas.Mask(mask, place(random), place(random), 0x10101010u);
    }
    for (int y = 0; y < kHeight + 2 * kBorder; ++y) {
        for (int x = 0; x < kStride; ++x) {
            const bool inside =
                x >= kBorder && x < kBorder + kWidth && y >= kBorder && y < kBorder + kHeight;
            if (!inside) {
                ASSERT_EQ(buffer[static_cast<std::size_t>(y) * kStride + x], kBlack)
                    << x << "," << y;
            }
        }
    }
}

TEST(RasterCanvas, LongMaskRunsBlendExactlyAsOnePixelAtATime) {
    // Coverage in runs of 1 to 11 pixels over a background of mixed colours; every pixel
    // must be colour * coverage / 255 over background * (255 - that alpha) / 255, rounded.
    constexpr int kWidth = 64, kHeight = 6;
    std::mt19937 random(23);
    std::vector<std::uint32_t> alpha(static_cast<std::size_t>(kWidth) * kHeight, 0);
    for (int y = 0; y < kHeight; ++y) {
        int x = static_cast<int>(random() % 3);
        while (x < kWidth) {
            const int length = 1 + static_cast<int>(random() % 11);
            for (int i = 0; i < length && x < kWidth; ++i, ++x) {
                alpha[static_cast<std::size_t>(y) * kWidth + x] = (1u + random() % 255u) << 24;
            }
            x += 1 + static_cast<int>(random() % 3);
        }
    }
    const CoverageMask mask = CoverageMask::FromAlpha(alpha.data(), kWidth, kHeight, kWidth, 0, 0);
    Image image(kWidth + 3, kHeight);
    for (std::uint32_t& pixel : image.pixels) {
        pixel = PremultiplyArgb(static_cast<std::uint32_t>(random()));
    }
    const std::vector<std::uint32_t> before = image.pixels;
    const std::uint32_t color = PremultiplyArgb(0xC8FF8020u);
    image.Canvas().Mask(mask, 1, 0, color);
    auto scale = [](std::uint32_t channel, std::uint32_t by) {
        const std::uint32_t t = channel * by;
        return (t + (t >> 8) + 0x80) >> 8;
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t coverage = alpha[static_cast<std::size_t>(y) * kWidth + x] >> 24;
            const std::uint32_t under = before[static_cast<std::size_t>(y) * image.width + x + 1];
            std::uint32_t expected = under;
            if (coverage != 0) {
                std::uint32_t source = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    const std::uint32_t c = (color >> shift) & 0xFF;
                    source |= (coverage == 255 ? c : scale(c, coverage)) << shift;
                }
                expected = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    const std::uint32_t d = (under >> shift) & 0xFF;
                    expected |= (((source >> shift) & 0xFF) + scale(d, 255 - (source >> 24)))
                                << shift;
                }
            }
            ASSERT_EQ(image.At(x + 1, y), expected) << x << "," << y;
        }
    }
}
