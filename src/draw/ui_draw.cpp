// The move pad's picture, and its knob under the finger.
#include "ui.hpp"

#include "graphics.hpp"

namespace qm {

DrawResult MovePad::draw(DrawContext& ctx) const {
    if (!enabled) return {};
    const ScreenRect pad = move_pad_rect(ctx.transform.height);
    QM_TRY(ctx.copy_whole(ctx.move_pad.get(), SDL_Rect{pad.x, pad.y, pad.w, pad.h}));
    if (!finger) return {};
    const ScreenPoint at = ctx.transform.to_screen(centre(ctx.transform) + vector);
    // The knob is the ground sheet's mark cell, its anchor on the finger.
    const SheetSpec& knob = sheet_spec(SheetId::ground);
    const int mark = static_cast<int>(std::to_underlying(GroundCell::Mark));
    return ctx.copy(ctx.ground.get(), SDL_Rect{mark * knob.cell_w, 0, knob.cell_w, knob.cell_h},
                    SDL_Rect{at.x - knob.anchor_x, at.y - knob.anchor_y, knob.cell_w, knob.cell_h});
}

}  // namespace qm
