// Hex geometry: rounding positions to cells, clamping, distances and the camera mapping.
#include "hex_geometry.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace qm {
namespace {

struct TileCase {
    std::int32_t x, y;
    int i, j;
};

TEST(ContainingTile, RoundsToTheHexagonHoldingThePoint) {
    const TileCase cases[] = {
        {0, 0, 0, 0},
        {5 * 65536, 3 * 65536, 5, 3},        // a cell centre is its own cell
        {-7 * 65536, -17 * 65536, -7, -17},
        {0x8000, 0, 0, 0},                   // half an i unit right of (0, 0)
        {0x10000, 0x8000, 1, 1},             // different parities, 3 * 0x8000 >= 0x10000
        {0x10000, 0x5555, 2, 0},             // 3 * 0x5555 = 0xFFFF stays above
        {0x8000, 0x8000, 1, 1},              // exactly on the threshold goes lower right
        {-0x8000, 0, 0, 0},                  // floor of a negative position
        {0x7FFF, 0x7FFF, 0, 0},              // just short of the threshold
    };
    for (const auto& c : cases) {
        EXPECT_EQ(containing_tile(c.x, c.y), cell(c.i, c.j)) << c.x << "," << c.y;
    }
}

TEST(ContainingTile, EveryPointNearACentreRoundsToThatCell) {
    // Points within a third of a unit (hex length) of a centre always belong to it.
    for (int ci = -4; ci <= 4; ++ci) {
        for (int cj = -4; cj <= 4; ++cj) {
            if (((ci ^ cj) & 1) != 0) continue;
            for (int dx = -20000; dx <= 20000; dx += 2500) {
                for (int dy = -10000; dy <= 10000; dy += 2500) {
                    const Fixed p{ci * 65536 + dx, cj * 65536 + dy};
                    EXPECT_EQ(containing_tile(p), cell(ci, cj)) << ci << "," << cj << " + " << dx << "," << dy;
                }
            }
        }
    }
}

struct ClampCase {
    std::int32_t vi, vj, r, ei, ej;
};

TEST(Within, ClampsOntoTheHexagonBoundary) {
    const ClampCase cases[] = {
        {10, 0, 2, 4, 0},   {7, 1, 2, 4, 0},    {-8, 0, 2, -4, 0}, {-3, -5, 2, -2, -2},
        {1, 5, 2, 2, 2},    {0, 6, 2, 0, 2},    {5, 3, 2, 3, 1},   {2, 2, 2, 2, 2},
        {3, 1, 2, 3, 1},    {0, 0, 2, 0, 0},    {-5, 3, 2, -3, 1}, {0x40000, 0, 0x20000, 0x40000, 0},
        {0x100000, 0, 0x20000, 0x40000, 0},
    };
    for (const auto& c : cases) {
        const Fixed got = within(Fixed{c.vi, c.vj}, c.r);
        EXPECT_EQ(got, (Fixed{c.ei, c.ej})) << c.vi << "," << c.vj << " r=" << c.r;
        EXPECT_LE(hex_length(got), static_cast<std::uint32_t>(c.r));
    }
}

TEST(Within, ResultOfAClampLiesExactlyOnTheRadius) {
    for (std::int32_t i = -40; i <= 40; ++i) {
        for (std::int32_t j = -40; j <= 40; ++j) {
            if (((i ^ j) & 1) != 0) continue;
            const Fixed v{i, j};
            const Fixed got = within(v, 6);
            if (hex_length(v) <= 6) {
                EXPECT_EQ(got, v);
            } else {
                EXPECT_EQ(hex_length(got), 6u) << i << "," << j;
            }
        }
    }
}

TEST(WithLength, StretchesShortVectorsAndClampsLongOnes) {
    const ClampCase cases[] = {
        {1, 1, 2, 2, 2},
        {2, 0, 2, 4, 0},
        {4096, 0, 65536, 131072, 0},
        {-4096, 4096, 65536, -65536, 65536},
        {32768, 0, 65536, 131072, 0},
        {0, 4096, 65536, 0, 65536},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(with_length(Fixed{c.vi, c.vj}, c.r), (Fixed{c.ei, c.ej})) << c.vi << "," << c.vj;
    }
}

TEST(HexLength, CountsNeighbourSteps) {
    EXPECT_EQ(distance(cell(-15, -13), cell(1, -13)), 8);
    EXPECT_EQ(distance(cell(-15, -13), cell(0, -12)), 8);
    EXPECT_EQ(distance(cell(-15, -13), cell(0, -14)), 8);
    EXPECT_EQ(distance(cell(-15, -13), cell(2, -12)), 9);
    for (const Cell n : NEIGHBOURS) EXPECT_EQ(hex_length(n), 1);
    EXPECT_EQ(hex_length(Fixed{6 * 65536, 2 * 65536}), 4u * 65536);
}

TEST(HexLength, WrapsAcrossTheEdgeOfTheField) {
    // Cells either side of the wrap at 65536 are neighbours.
    EXPECT_EQ(distance(cell(-1, -1), cell(1, 1)), 2);
    EXPECT_EQ(distance(cell(32767, 1), cell(-32767, 1)), 1);
    // The farthest difference, -32768 in both components, is 32768 steps, not a negative length.
    EXPECT_EQ(hex_length(cell(-32768, -32768)), 32768);
    EXPECT_EQ(hex_length(cell(-32768, 0)), 16384);
    // And on fixed point, |INT32_MIN| is 2^31.
    EXPECT_EQ(hex_length(Fixed{INT32_MIN, 0}), 1u << 30);
}

TEST(ScreenTransform, MapsBetweenWorldAndPixels) {
    const ScreenTransform t{Fixed{}, 720, 360};
    EXPECT_EQ(t.to_screen(Fixed{0, 0}), (ScreenPoint{360, 180}));
    EXPECT_EQ(t.to_screen(Fixed{2 * 65536, -65536}), (ScreenPoint{392, 158}));
    EXPECT_EQ(t.to_screen(Fixed{-2, 0}), (ScreenPoint{359, 180}));  // shifts floor
    EXPECT_EQ(t.to_world(0, 0), (Fixed{-720 * 2048, -360 * 1489}));
    EXPECT_EQ(t.to_world(720, 360), (Fixed{720 * 2048, 360 * 1489}));
    // Odd heights keep the parity rule by borrowing one raw unit.
    const ScreenTransform odd{Fixed{}, 101, 51};
    const Fixed corner = odd.to_world(0, 0);
    EXPECT_EQ(corner.i & 1, corner.j & 1);
}

TEST(ScreenTransform, VisibleCellsCoverTheScreenRowByRow) {
    const ScreenTransform t{Fixed{}, 720, 360};
    std::vector<Cell> cells(t.visible_iter().begin(), t.visible_iter().end());
    ASSERT_EQ(cells.size(), 456u);
    EXPECT_EQ(cells.front(), cell(-23, -9));
    EXPECT_EQ(cells[1], cell(-21, -9));
    EXPECT_EQ(cells[24], cell(-22, -8));
    EXPECT_EQ(cells.back(), cell(23, 9));
    for (std::size_t k = 1; k < cells.size(); ++k) {
        const int dj = as_i16(cells[k].j) - as_i16(cells[k - 1].j);
        ASSERT_TRUE(dj == 0 || dj == 1);
        if (dj == 0) {
            ASSERT_EQ(as_i16(cells[k].i) - as_i16(cells[k - 1].i), 2);
        }
    }
}

TEST(ScreenTransform, VisibleCellsFollowTheCameraAcrossTheWrap) {
    const ScreenTransform t{centre_of(cell(32766, 32766)), 64, 44};
    std::vector<Cell> cells(t.visible_iter().begin(), t.visible_iter().end());
    ASSERT_FALSE(cells.empty());
    // Every pixel's cell is listed, including those past the wrap.
    for (std::int32_t y = 0; y <= 44; y += 4) {
        for (std::int32_t x = 0; x <= 64; x += 4) {
            const Cell c = containing_tile(t.to_world(x, y));
            EXPECT_NE(std::find(cells.begin(), cells.end(), c), cells.end()) << x << "," << y;
        }
    }
}

TEST(HexCoordDeath, MismatchedParityStops) {
    EXPECT_DEATH(Fixed(1, 2), testing::HasSubstr("assertion failed: i & T::ONE == j & T::ONE"));
    EXPECT_DEATH(cell(3, 0), testing::HasSubstr("assertion failed: i & T::ONE == j & T::ONE"));
    EXPECT_DEATH(with_length(Fixed{}, 2), testing::HasSubstr("attempt to divide by zero"));
}

}  // namespace
}  // namespace qm
