// On-screen controls: the move pad's area and steps, button hit tests on the button grid, and the
// six-slot menu with its one-shot action.
#include "ui.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "lily.hpp"
#include "world.hpp"

namespace qm {
namespace {

const ScreenTransform SCREEN_720{Fixed{}, 720, 360};

TEST(MovePad, TakesFingersInsideItsHexagonOnly) {
    // The pad centre is (98, H - 76) = (98, 284) on a 360-pixel-high screen.
    const struct {
        std::int32_t x, y;
        bool taken;
    } cases[] = {
        {98, 284, true},  {162, 284, true}, {163, 284, false}, {34, 284, true}, {33, 284, false},
        {98, 328, true},  {98, 329, false}, {98, 240, true},   {98, 239, false}, {0, 0, false},
    };
    for (const auto& c : cases) {
        MovePad pad;
        EXPECT_EQ(pad.press(SCREEN_720, 7, c.x, c.y), c.taken) << c.x << "," << c.y;
        EXPECT_EQ(pad.finger.has_value(), c.taken);
    }
}

TEST(MovePad, CentreHoldsWithoutMoving) {
    MovePad pad;
    ASSERT_TRUE(pad.press(SCREEN_720, 1, 98, 284));
    EXPECT_EQ(pad.vector, Fixed{});
    EXPECT_EQ(pad.step(), Fixed{});
}

TEST(MovePad, DraggingFarKeepsTheKnobOnTheEdgeAndGivesAKeyboardStep) {
    MovePad pad;
    ASSERT_TRUE(pad.press(SCREEN_720, 1, 100, 284));
    pad.drag(SCREEN_720, 1, 700, 284);
    EXPECT_EQ(pad.vector, (Fixed{0x40000, 0}));
    EXPECT_EQ(pad.step(), (Fixed{8192, 0}));
    pad.drag(SCREEN_720, 1, 98, 0);  // straight up, far away
    EXPECT_EQ(pad.vector, (Fixed{0, -0x20000}));
    EXPECT_EQ(pad.step(), (Fixed{0, -4096}));
    // Another finger's motion does not move it.
    pad.drag(SCREEN_720, 2, 700, 284);
    EXPECT_EQ(pad.vector, (Fixed{0, -0x20000}));
}

TEST(MovePad, ReleaseOnlyByItsFingerAndOnlyWhenEnabled) {
    MovePad pad;
    ASSERT_TRUE(pad.press(SCREEN_720, 4, 98, 284));
    EXPECT_FALSE(pad.press(SCREEN_720, 5, 98, 284));  // already held
    EXPECT_FALSE(pad.release(5));
    EXPECT_TRUE(pad.release(4));
    EXPECT_FALSE(pad.finger);
    pad.enabled = false;
    EXPECT_FALSE(pad.press(SCREEN_720, 4, 98, 284));
}

TEST(MovePad, StepKeepsTheParityRule) {
    MovePad pad;
    ASSERT_TRUE(pad.press(SCREEN_720, 1, 98, 284));
    for (std::int32_t x = 40; x <= 160; x += 7) {
        for (std::int32_t y = 240; y <= 330; y += 5) {
            pad.drag(SCREEN_720, 1, x, y);
            const Fixed s = pad.step();
            EXPECT_EQ(s.i & 1, s.j & 1);
            EXPECT_LE(std::abs(s.i), 8192);
            EXPECT_LE(std::abs(s.j), 4096);
        }
    }
}

TEST(Button, DefaultCornerButtonsOnALargeScreen) {
    const ScreenTransform screen{Fixed{}, 960, 540};
    Button run(std::nullopt, {0, 0}, 1);
    Button tool(std::nullopt, {1, -1}, 4);
    EXPECT_TRUE(run.hit(screen, 864, 497));
    EXPECT_TRUE(tool.hit(screen, 864 + 32, 497 - 44));
    EXPECT_FALSE(run.hit(screen, 864 + 32, 497 - 44));
    EXPECT_FALSE(tool.hit(screen, 864, 497));
    // The corner origin is the world point under (W - 96, H - 43).
    EXPECT_EQ(default_button_origin(screen), screen.to_world(960 - 96, 540 - 43));
}

TEST(Button, AHeldButtonIgnoresASecondFinger) {
    Button button(std::nullopt, {0, 0}, 1);
    EXPECT_TRUE(button.on_finger_down(SCREEN_720, 3, 624, 317));
    EXPECT_EQ(button.held, 3);
    EXPECT_FALSE(button.on_finger_down(SCREEN_720, 9, 624, 317));
    EXPECT_EQ(button.held, 3);
    Button hidden(std::nullopt, {0, 0}, 1);
    hidden.visible = false;
    EXPECT_FALSE(hidden.on_finger_down(SCREEN_720, 3, 624, 317));
}

TEST(Button, CornerButtonStaysOnScreenWhenTheCameraMoves) {
    ScreenTransform moved = SCREEN_720;
    moved.center = Fixed{40 * 65536, -12 * 65536};
    Button run(std::nullopt, {0, 0}, 1);
    EXPECT_TRUE(run.hit(moved, 624, 317));
    Button fixed(Fixed{0, 0}, {0, 0}, 1);
    EXPECT_TRUE(fixed.hit(SCREEN_720, 360, 180));
    EXPECT_FALSE(fixed.hit(moved, 360, 180));
}

std::array<std::optional<std::uint32_t>, 6> slots(std::initializer_list<std::optional<std::uint32_t>> rows) {
    std::array<std::optional<std::uint32_t>, 6> out{};
    std::size_t k = 0;
    for (const auto& r : rows) out[k++] = r;
    return out;
}

TEST(ButtonMenu, EmptySlotsKeepTheirPlaceInTheRing) {
    const ButtonMenu menu(2, -16, slots({std::nullopt, 3u, std::nullopt, 5u, std::nullopt, 0u}),
                          [](std::size_t, World&, Lily&) -> MenuResult { return std::nullopt; });
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[0].cell, (ButtonCell{-1, -1}));
    EXPECT_EQ(menu.items[0].sprite, 3u);
    EXPECT_EQ(menu.items[1].cell, (ButtonCell{2, 0}));
    EXPECT_EQ(menu.items[2].cell, (ButtonCell{-1, 1}));
    for (const Button& b : menu.items) EXPECT_EQ(b.origin, (Fixed{2 * 65536, -16 * 65536}));
}

TEST(ButtonMenu, ClickAndTouchHoldTheButtonUnderThePointer) {
    ButtonMenu menu(0, 0, slots({2u, 3u, 4u, 5u, std::nullopt, 0u}),
                    [](std::size_t, World&, Lily&) -> MenuResult { return std::nullopt; });
    // The NE slot sits two units right and two up of the centre: 32 pixels right, 44 up.
    EXPECT_FALSE(menu.on_click(SCREEN_720, 360, 180));  // the centre holds no button
    EXPECT_FALSE(menu.chosen());
    EXPECT_TRUE(menu.on_click(SCREEN_720, 392, 136));
    EXPECT_EQ(menu.chosen(), 2u);
    EXPECT_EQ(menu.items[2].held, 0);
    EXPECT_TRUE(menu.items[0].on_finger_down(SCREEN_720, 12, 296, 180));  // W slot, 64 left
    EXPECT_EQ(menu.items[0].held, 12);
    EXPECT_EQ(menu.chosen(), 0u);  // the first held button in menu order wins
}

TEST(ButtonMenu, TheActionRunsOnce) {
    int calls = 0;
    std::size_t seen = 99;
    ButtonMenu menu(0, 0, slots({2u}), [&](std::size_t index, World&, Lily&) -> MenuResult {
        ++calls;
        seen = index;
        return std::nullopt;
    });
    World world;
    Lily lily;
    const auto first = menu.run_action(0, world, lily);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(first->has_value());  // close
    EXPECT_FALSE(menu.run_action(0, world, lily).has_value());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, 0u);
}

}  // namespace
}  // namespace qm
