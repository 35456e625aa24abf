// The shed's picture, one whole sheet placed by its anchor.
#include "buildings.hpp"

#include "graphics.hpp"

namespace qm {

DrawResult Shed::draw(DrawContext& ctx) const {
    const ScreenPoint base = ctx.transform.to_screen(centre_of(BASE));
    const SheetSpec& sheet = sheet_spec(SheetId::shed);
    return ctx.copy_whole(ctx.shed.get(),
                          SDL_Rect{base.x - sheet.anchor_x, base.y - sheet.anchor_y, sheet.cell_w, sheet.cell_h});
}

}  // namespace qm
