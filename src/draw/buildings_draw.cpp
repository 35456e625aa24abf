// The shed's picture, one whole sheet placed by its anchor.
#include "buildings.hpp"
#include "graphics.hpp"
#include "world_draw.hpp"

namespace qm {

DrawResult draw_building(DrawContext& ctx, const Building& building) {
    // The shed is the one kind of building there is.
    if (dynamic_cast<const Shed*>(&building) == nullptr) return {};
    const ScreenPoint base = ctx.transform.to_screen(centre_of(Shed::BASE));
    const SheetSpec& sheet = sheet_spec(SheetId::shed);
    return ctx.copy_whole(ctx.shed.get(),
                          SDL_Rect{base.x - sheet.anchor_x, base.y - sheet.anchor_y, sheet.cell_w, sheet.cell_h});
}

}  // namespace qm
