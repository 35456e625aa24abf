// The screen as the controls see it, answered from the draw context.
#include "drawn_view.hpp"

#include <SDL_rect.h>

#include "collection_panel.hpp"
#include "graphics.hpp"
#include "window_mode.hpp"

namespace qm {

ScreenTransform& DrawnView::camera() { return ctx_->transform; }

std::uint32_t DrawnView::scale() const { return ctx_->scale; }

CollectionHit DrawnView::collection_hit(std::int32_t x, std::int32_t y) {
    // The panel as the game draws it, with its milestones.
    const CollectionLayout layout = collection_layout(*ctx_, WithMilestones::Yes);
    const SDL_Point p{x, y};
    if (SDL_PointInRect(&p, &layout.panel) != SDL_TRUE) return {};
    return {true, swatch_at(layout, x, y)};
}

void DrawnView::switch_full_screen(InputState& input) { qm::switch_full_screen(input, *ctx_); }

FrameCommands frame_events(Controls& controls, EventSource& events, Lily& lily, World& world, std::uint16_t now,
                           DrawContext& ctx, const CardKeys* card) {
    DrawnView view(ctx);
    return controls.frame_events(events, lily, world, now, view, card);
}

}  // namespace qm
