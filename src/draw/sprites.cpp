// The sheets' day tint and the sprite primitives: one sheet cell, placed by its anchor at a world
// point, in the tint of the hour or in a colour of its own.
#include "graphics.hpp"

#include "graphics_internal.hpp"
#include "ui.hpp"
#include "wrapping.hpp"

namespace qm {

namespace {

void set_colour_mod(SDL_Texture* texture, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (SDL_SetTextureColorMod(texture, r, g, b) != 0) {
        fatal(std::string("Error setting color mod: ") + SDL_GetError());
    }
}

// A colour of the caller's own, multiplied with the day tint. Dividing by 256 keeps it a shift;
// white on white therefore comes out as 254.
std::uint8_t modulate(std::uint8_t channel, std::uint8_t tint) {
    return static_cast<std::uint8_t>((unsigned{channel} * unsigned{tint}) >> 8);
}

}  // namespace

void DrawContext::set_tint(std::uint32_t colour) {
    tint = Tint{red_of(colour), green_of(colour), blue_of(colour)};
    for (std::size_t k = 0; k < SHEET_COUNT; ++k) {
        if (SHEETS[k].tint == DayTint::Applies) set_colour_mod((this->*SHEET_MEMBERS[k]).get(), tint.r, tint.g, tint.b);
    }
}

SDL_Texture* DrawContext::sheet(SheetId id) const { return (this->*SHEET_MEMBERS[std::to_underlying(id)]).get(); }

DrawResult DrawContext::copy(SDL_Texture* texture, SDL_Rect source, SDL_Rect destination) {
    const SDL_Rect src = clamped(source);
    const SDL_Rect dst = clamped(destination);
    if (SDL_RenderCopy(renderer(), texture, &src, &dst) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

DrawResult DrawContext::copy_whole(SDL_Texture* texture, SDL_Rect destination) {
    const SDL_Rect dst = clamped(destination);
    if (SDL_RenderCopy(renderer(), texture, nullptr, &dst) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

namespace {

// A copy under a colour of its own: modulated for this copy only, back to the tint afterwards.
DrawResult copy_tinted(SDL_Renderer* renderer, SDL_Texture* sheet, const Tint& tint, std::uint32_t colour,
                       WideRect source, WideRect destination) {
    set_colour_mod(sheet, modulate(red_of(colour), tint.r), modulate(green_of(colour), tint.g),
                   modulate(blue_of(colour), tint.b));
    QM_TRY(copy_cell(renderer, sheet, source, destination));
    set_colour_mod(sheet, tint.r, tint.g, tint.b);
    return {};
}

// Cell (column, row) of a sheet.
WideRect cell_of(const SheetSpec& sheet, std::int64_t column, std::int64_t row) {
    return {column * sheet.cell_w, row * sheet.cell_h, sheet.cell_w, sheet.cell_h};
}

// The screen rectangle of a cell whose anchor lands on (x, y).
WideRect anchored_at(const SheetSpec& sheet, std::int64_t x, std::int64_t y) {
    return {x - sheet.anchor_x, y - sheet.anchor_y, sheet.cell_w, sheet.cell_h};
}
WideRect anchored_at(const SheetSpec& sheet, ScreenPoint p) { return anchored_at(sheet, p.x, p.y); }

constexpr const SheetSpec& GROUND = sheet_spec(SheetId::ground);
constexpr const SheetSpec& PLANTS = sheet_spec(SheetId::plants);
constexpr const SheetSpec& FLOWERS = sheet_spec(SheetId::flowers);
constexpr const SheetSpec& LILY = sheet_spec(SheetId::lily);
constexpr const SheetSpec& ARMS = sheet_spec(SheetId::arms);
constexpr const SheetSpec& TOOLS = sheet_spec(SheetId::tools);
constexpr const SheetSpec& BUTTONS = sheet_spec(SheetId::buttons);

}  // namespace

DrawResult DrawContext::draw_ground(std::uint32_t cell, std::optional<std::uint32_t> colour, std::int32_t x,
                                    std::int32_t y) {
    const WideRect source = cell_of(GROUND, cell, 0);
    const WideRect destination = anchored_at(GROUND, transform.to_screen(x, y));
    if (colour) return copy_tinted(renderer(), ground.get(), tint, *colour, source, destination);
    return copy_cell(renderer(), ground.get(), source, destination);
}

DrawResult DrawContext::draw_plant(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y) {
    return copy_cell(renderer(), plants.get(), cell_of(PLANTS, column, row),
                     anchored_at(PLANTS, transform.to_screen(x, y)));
}

DrawResult DrawContext::draw_flowers(std::uint32_t row, std::uint32_t column, std::uint32_t colour,
                                     std::int32_t x, std::int32_t y) {
    return copy_tinted(renderer(), flowers.get(), tint, colour, cell_of(FLOWERS, column, row),
                       anchored_at(FLOWERS, transform.to_screen(x, y)));
}

DrawResult DrawContext::draw_lily(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y) {
    return copy_cell(renderer(), lily.get(), cell_of(LILY, column, row),
                     anchored_at(LILY, transform.to_screen(x, y)));
}

DrawResult DrawContext::draw_arm(std::uint32_t row, std::uint32_t column, std::int32_t x, std::int32_t y,
                                 std::int32_t dx, std::int32_t dy) {
    const ScreenPoint p = transform.to_screen(x, y);
    // The arm's anchor is the middle of its top edge, which goes on the shoulder point.
    return copy_cell(renderer(), arms.get(), cell_of(ARMS, column, row),
                     anchored_at(ARMS, std::int64_t{p.x} + dx, std::int64_t{p.y} + dy));
}

DrawResult DrawContext::draw_tool(std::uint32_t row, std::uint32_t column, bool second_variant, std::int32_t x,
                                  std::int32_t y, std::int32_t dx, std::int32_t dy) {
    const ScreenPoint p = transform.to_screen(x, y);
    // Each column of the tool sheet holds the tool's two variants side by side.
    const WideRect source = cell_of(TOOLS, 2 * std::int64_t{column} + (second_variant ? 1 : 0), row);
    return copy_cell(renderer(), tools.get(), source,
                     anchored_at(TOOLS, std::int64_t{p.x} + dx, std::int64_t{p.y} + dy));
}

namespace {


}  // namespace

DrawResult DrawContext::draw_button(std::uint32_t row, std::uint32_t column, std::optional<Fixed> anchor,
                                    std::int16_t du, std::int16_t dv) {
    return copy_cell(renderer(), buttons.get(), cell_of(BUTTONS, column, row),
                     anchored_at(BUTTONS, button_point(transform, anchor, du, dv)));
}

DrawResult DrawContext::draw_button_ring(std::optional<Fixed> anchor, std::int16_t du, std::int16_t dv,
                                         std::uint32_t colour) {
    // The mark cell at twice its size, its anchor on the button's centre: its hexagon then lies
    // just outside the button's own.
    const ScreenPoint p = button_point(transform, anchor, du, dv);
    const WideRect destination{std::int64_t{p.x} - 2 * GROUND.anchor_x, std::int64_t{p.y} - 2 * GROUND.anchor_y,
                               2 * GROUND.cell_w, 2 * GROUND.cell_h};
    return copy_tinted(renderer(), ground.get(), tint, colour,
                       cell_of(GROUND, std::to_underlying(GroundCell::Mark), 0), destination);
}

}  // namespace qm
