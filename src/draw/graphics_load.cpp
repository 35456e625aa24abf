// Making the draw context: the fonts, the fixed texts and every sprite sheet, each checked
// before it is used.
#include "graphics.hpp"

#include <SDL_image.h>

#include <cctype>
#include <memory>
#include <span>
#include <string_view>

#include "fatal.hpp"
#include "graphics_internal.hpp"
#include "sheet_header.hpp"

namespace qm {

DrawError DrawError::from_sdl() { return string(SDL_GetError()); }

namespace {

SDL_Color sdl_colour(std::uint32_t c) { return {red_of(c), green_of(c), blue_of(c), alpha_of(c)}; }

struct RwCloser {
    void operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
};

// SDL's error text at hand, with the file's name in front unless the text names it already.
DrawError load_error(std::string_view path) {
    std::string text = SDL_GetError();
    if (text.find(path) == std::string::npos) text = std::string(path) + ": " + text;
    return DrawError::string(std::move(text));
}

// One sheet, its header checked before the decoder sees it: a header that declares an absurd
// size would have the decoder allocate it, and a sheet smaller than its grid would draw nothing.
// The same open file is checked and decoded, so what was checked is what gets loaded.
std::expected<TexturePtr, DrawError> load_sheet(SDL_Renderer* renderer, const std::string& path, PixelSize grid) {
    std::unique_ptr<SDL_RWops, RwCloser> file{SDL_RWFromFile(path.c_str(), "rb")};
    if (!file) return std::unexpected(load_error(path));
    std::array<std::uint8_t, PNG_HEADER_BYTES> head{};
    const std::size_t got = SDL_RWread(file.get(), head.data(), 1, head.size());
    if (const auto size = png_header_size(std::span(head).first(got))) {
        if (auto problem = sheet_size_problem(path, *size, grid)) {
            return std::unexpected(DrawError::string(std::move(*problem)));
        }
    }
    if (SDL_RWseek(file.get(), 0, RW_SEEK_SET) != 0) return std::unexpected(load_error(path));
    TexturePtr texture{IMG_LoadTexture_RW(renderer, file.get(), 0)};
    if (!texture) return std::unexpected(load_error(path));
    // Pictures of other kinds are the loader's business; their size is checked once decoded.
    const TextureSize loaded = texture_size(texture.get());
    const PixelSize size{static_cast<std::uint32_t>(loaded.w), static_cast<std::uint32_t>(loaded.h)};
    if (auto problem = sheet_size_problem(path, size, grid)) {
        return std::unexpected(DrawError::string(std::move(*problem)));
    }
    return texture;
}

// Every character the game ever writes: the dawn card, the clock, the frame time, hive levels
// and the genome labels.
constexpr std::string_view FONT_CHARACTERS = "Dawnof0123456789:.apmsyLcCmMY";

// A font can open and still be useless: a broken character map gives every character the empty
// glyph, and a broken glyph table gives glyphs without outlines, and either way the game would
// play on without a word on screen. A font that draws none of the game's characters is refused.
void check_font(TTF_Font* font) {
    for (const char c : FONT_CHARACTERS) {
        int min_x = 0, max_x = 0, min_y = 0, max_y = 0, advance = 0;
        const auto ch = static_cast<Uint16>(static_cast<unsigned char>(c));
        const bool drawn = TTF_GlyphIsProvided(font, ch) != 0 &&
                           TTF_GlyphMetrics(font, ch, &min_x, &max_x, &min_y, &max_y, &advance) == 0 &&
                           max_x > min_x && max_y > min_y;
        if (!drawn) fatal_unwrap(std::string(FONT_PATH) + " has no glyph for '" + c + "'");
    }
}

FontPtr open_font(int points) {
    FontPtr font{TTF_OpenFont(FONT_PATH, points)};
    // Without its font the game cannot say anything at all, not even why it stopped drawing.
    if (!font) {
        std::string text = TTF_GetError();
        if (text.find(FONT_PATH) == std::string::npos) text = std::string(FONT_PATH) + ": " + text;
        fatal_unwrap(text);
    }
    check_font(font.get());
    return font;
}

}  // namespace

std::expected<DrawContext, DrawError> DrawContext::create(Canvas canvas_, TextureCreator texture_creator_) {
    DrawContext ctx;
    const SDL_Rect viewport = viewport_of(canvas_->renderer());

    ctx.large_font = open_font(36);
    ctx.medium_font = open_font(18);
    ctx.small_font = open_font(12);
    ctx.canvas = std::move(canvas_);
    ctx.texture_creator = std::move(texture_creator_);

    auto dawn = gen_text(ctx.texture_creator, ctx.medium_font.get(), WHITE, "Dawn of");
    if (!dawn) return std::unexpected(std::move(dawn.error()));
    ctx.dawn_of = std::move(*dawn);

    constexpr std::array<std::pair<std::uint32_t, const char*>, 3> GENES{
        {{CYAN, "c"}, {MAGENTA, "m"}, {YELLOW, "y"}}};
    for (std::size_t k = 0; k < GENES.size(); ++k) {
        auto labels = gen_genome_textures(ctx.texture_creator, ctx.small_font.get(), GENES[k].first,
                                          GENES[k].second);
        if (!labels) return std::unexpected(std::move(labels.error()));
        ctx.genome_textures[k] = std::move(*labels);
    }

    for (std::size_t k = 0; k < SHEET_COUNT; ++k) {
        const SheetSpec& spec = SHEETS[k];
        const std::string path = "assets/" + std::string(spec.name) + ".png";
        // The title card is drawn whole at its own size: any picture will do for it.
        const PixelSize grid = SheetId(k) == SheetId::intro
                                   ? PixelSize{1, 1}
                                   : PixelSize{static_cast<std::uint32_t>(spec.width()), static_cast<std::uint32_t>(spec.height())};
        auto sheet = load_sheet(ctx.texture_creator->renderer(), path, grid);
        // Whatever was built so far goes with ctx when we leave.
        if (!sheet) return std::unexpected(std::move(sheet.error()));
        ctx.*SHEET_MEMBERS[k] = std::move(*sheet);
    }

    ctx.transform = ScreenTransform{Fixed{0, 0}, viewport.w, viewport.h};
    ctx.scale = 1;
    ctx.tint = Tint{};
    ctx.scaling = SDL_RenderTargetSupported(ctx.renderer()) ? Scaling::Once : Scaling::PerCopy;
    return ctx;
}

std::expected<TexturePtr, DrawError> DrawContext::gen_text(const TextureCreator& creator, TTF_Font* font,
                                                            std::uint32_t colour, const std::string& text) {
    const SurfacePtr surface{TTF_RenderUTF8_Solid(font, text.c_str(), sdl_colour(colour))};
    if (!surface) return std::unexpected(DrawError::font(TTF_GetError()));
    TexturePtr texture{SDL_CreateTextureFromSurface(creator->renderer(), surface.get())};
    creator->count_texture();
    if (!texture) return std::unexpected(DrawError::texture_value(SDL_GetError()));
    return texture;
}

std::expected<std::array<TexturePtr, 3>, DrawError> DrawContext::gen_genome_textures(
    const TextureCreator& creator, TTF_Font* font, std::uint32_t colour, const std::string& letter) {
    std::string upper = letter;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // Index = number of dominant alleles, which is how the genome panel looks them up.
    const std::array<std::string, 3> texts{letter + letter, upper + letter, upper + upper};
    std::array<TexturePtr, 3> labels;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        auto label = gen_text(creator, font, colour, texts[k]);
        if (!label) return std::unexpected(std::move(label.error()));
        labels[k] = std::move(*label);
    }
    return labels;
}

}  // namespace qm
