// The draw side's answers to what the controls ask of the screen: the draw context's view and
// scale, the colour collection's layout as it is drawn, and the full-screen switch.
#pragma once

#include <cstdint>

#include "controls.hpp"
#include "input_view.hpp"

namespace qm {

class DrawContext;

class DrawnView final : public InputView {
public:
    explicit DrawnView(DrawContext& ctx) : ctx_(&ctx) {}
    ScreenTransform& camera() override;
    std::uint32_t scale() const override;
    CollectionHit collection_hit(std::int32_t x, std::int32_t y) override;
    void switch_full_screen(InputState& input) override;

private:
    DrawContext* ctx_;
};

// One day frame's input, the screen being the draw context's.
FrameCommands frame_events(Controls& controls, EventSource& events, Lily& lily, World& world, std::uint16_t now,
                           DrawContext& ctx, const CardKeys* card = nullptr);

}  // namespace qm
