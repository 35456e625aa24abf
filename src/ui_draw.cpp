// The move pad's picture, and its knob: the ground sheet's mark cell, anchored on the finger.
#include "ui_draw.hpp"

#include "graphics.hpp"
#include "ui.hpp"

namespace qm {

DrawResult draw_move_pad(DrawContext& ctx, const MovePad& pad) {
    if (!pad.enabled) return {};
    const ScreenRect rect = move_pad_rect(ctx.transform.height);
    QM_TRY(ctx.copy_whole(ctx.move_pad.get(), SDL_Rect{rect.x, rect.y, rect.w, rect.h}));
    if (!pad.finger) return {};
    const ScreenPoint at = ctx.transform.to_screen(MovePad::centre(ctx.transform) + pad.vector);
    const SheetSpec& knob = sheet_spec(SheetId::ground);
    const int mark = static_cast<int>(std::to_underlying(GroundCell::Mark));
    return ctx.copy(ctx.ground.get(), SDL_Rect{mark * knob.cell_w, 0, knob.cell_w, knob.cell_h},
                    SDL_Rect{at.x - knob.anchor_x, at.y - knob.anchor_y, knob.cell_w, knob.cell_h});
}

}  // namespace qm
