// The shed: its footprint and the menu it opens.
#include "buildings.hpp"

#include <gtest/gtest.h>

#include "menu_from_request.hpp"

namespace qm {
namespace {

TEST(Shed, FootprintIsTheBottomOfThePicture) {
    const Shed shed;
    const struct {
        std::int32_t x, y;
        bool inside;
    } cases[] = {
        {131072, -933888, true},   // (2.0, -14.25)
        {57344, -965166, true},    // the top-left corner, inclusive
        {204800, -933888, false},  // (3.125, -14.25): the right edge is outside
        {204798, -933888, true},
        {131072, -917504, false},  // (2.0, -14.0), the base cell's centre itself
        {131072, -983040 + 16384, false},  // (2.0, -14.75): above the footprint
        {57342, -933888, false},
        {131072, -851968, false},  // the exit point
    };
    for (const auto& c : cases) EXPECT_EQ(shed.in_footprint(c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(Shed, MenuRingAroundTheRoof) {
    const auto request = Shed{}.menu();
    ASSERT_TRUE(request);
    const std::optional<ButtonMenu> menu = menu_from_request(*request);
    ASSERT_EQ(menu->items.size(), 5u);
    const std::uint32_t rows[] = {2, 3, 4, 5, 0};
    const ButtonCell cells[] = {{-2, 0}, {-1, -1}, {1, -1}, {2, 0}, {-1, 1}};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(menu->items[k].sprite, rows[k]);
        EXPECT_EQ(menu->items[k].cell, cells[k]);
        EXPECT_EQ(menu->items[k].origin, (Fixed{2 * 65536, -16 * 65536}));
    }
    EXPECT_EQ(Shed{}.position(), cell(2, -14));
}

}  // namespace
}  // namespace qm
