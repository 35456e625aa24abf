// Drawing the controls: the touch pad and buttons, the open menu and the corner buttons.
#include "touch_controls_draw.hpp"

#include <algorithm>
#include <string>

#include "controls.hpp"
#include "graphics.hpp"
#include "panel.hpp"

namespace qm {

namespace {

DrawResult draw_button(DrawContext& ctx, const Button& button) {
    return ctx.draw_button(button.sprite, button.held ? 1u : 0u, button.origin, button.cell.du, button.cell.dv);
}

// The name on a small panel beside a button, on the side away from the ring's middle, so it
// covers none of the menu's other buttons.
DrawResult draw_button_name(DrawContext& ctx, const Button& button, std::string_view name) {
    constexpr int PAD = 3;
    constexpr int HALF_W = 32;  // the button's half width and height, and a pixel more
    constexpr int HALF_H = 28;
    TTF_Font* font = ctx.small_font.get();
    const std::string text(name);
    const ScreenPoint p = button_point(ctx.transform, button.origin, button.cell.du, button.cell.dv);
    const int w = text_width(font, text) + 2 * PAD;
    const int h = TTF_FontHeight(font) + 2 * PAD;
    int x = p.x - w / 2;
    int y = button.cell.dv < 0 ? p.y - HALF_H - h : p.y + HALF_H;
    if (button.cell.dv == 0) {
        x = button.cell.du < 0 ? p.x - HALF_W - w : p.x + HALF_W;
        y = p.y - h / 2;
    }
    x = std::clamp(x, 0, std::max(0, ctx.transform.width - w));
    y = std::clamp(y, 0, std::max(0, ctx.transform.height - h));
    QM_TRY(draw_panel(ctx, SDL_Rect{x, y, w, h}));
    return draw_text(ctx, font, WHITE, text, x + PAD, y + PAD);
}

}  // namespace

DrawResult draw_controls(DrawContext& ctx, const Controls& controls) {
    if (controls.touch_mode) {
        QM_TRY(controls.pad.draw(ctx));
        if (controls.run_button.visible) {
            QM_TRY(draw_button(ctx, controls.run_button));
        }
        if (controls.tool_button && controls.tool_button->visible) {
            QM_TRY(draw_button(ctx, *controls.tool_button));
        }
    }
    if (controls.menu) {
        for (const Button& button : controls.menu->items) {
            if (!button.visible) continue;
            QM_TRY(draw_button(ctx, button));
        }
        if (controls.highlight < controls.menu->items.size()) {
            const Button& lit = controls.menu->items[controls.highlight];
            if (controls.highlight_shown) {
                if (auto r = ctx.draw_button_ring(lit.origin, lit.cell.du, lit.cell.dv, Controls::HIGHLIGHT_COLOUR); !r) return r;
            }
            QM_TRY(draw_button_name(ctx, lit, button_name(*controls.menu, lit)));
        }
    }
    const SheetSpec& sheet = sheet_spec(SheetId::top_buttons);
    // One cell of the corner sheet on a screen rectangle.
    const auto corner = [&](TopButtonColumn column, std::uint32_t row, ScreenRect at) {
        const SDL_Rect source{static_cast<int>(std::to_underlying(column)) * sheet.cell_w,
                              static_cast<int>(row) * sheet.cell_h, sheet.cell_w, sheet.cell_h};
        return ctx.copy(ctx.top_buttons.get(), source, SDL_Rect{at.x, at.y, at.w, at.h});
    };
    const TopButtonRow row = controls.input().fullscreen() ? TopButtonRow::Leave : TopButtonRow::Enter;
    if (auto r = corner(TopButtonColumn::FullScreen, std::to_underlying(row), FULLSCREEN_BUTTON); !r) return r;
    const CollectionButtonRow lit = controls.collection_open ? CollectionButtonRow::Open : CollectionButtonRow::Closed;
    return corner(TopButtonColumn::Collection, std::to_underlying(lit), COLLECTION_BUTTON);
}

}  // namespace qm
