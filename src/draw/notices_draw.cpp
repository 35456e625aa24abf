// The notices on screen: centred under the top line of the screen, each on a small panel, a new
// colour with its blossom beside it.
#include "notices.hpp"

#include <algorithm>

#include "graphics.hpp"
#include "panel.hpp"

namespace qm {

namespace {

constexpr int PAD = 6;        // text to panel edge
constexpr int GAP = 2;        // between two notices
constexpr int CLEAR_LEFT = 36;  // right of the full-screen and collection buttons
constexpr int BLOSSOM_ROOM = BLOSSOM_SIDE + 2;

// Below the clock and the frame time, whose line is as tall as the medium font.
int notices_top(DrawContext& ctx) { return TTF_FontHeight(ctx.medium_font.get()) + GAP; }
// The font's own line already keeps room above and below the letters.
int notice_height(DrawContext& ctx) { return std::max(TTF_FontHeight(ctx.medium_font.get()), BLOSSOM_SIDE) + 2; }

}  // namespace

int notices_bottom(DrawContext& ctx) {
    return notices_top(ctx) + static_cast<int>(Notices::LINES) * (notice_height(ctx) + GAP);
}

DrawResult Notices::draw(DrawContext& ctx) const {
    int y = notices_top(ctx);
    for (std::size_t k = 0; k < std::min(queue_.size(), LINES); ++k) {
        const Notice& notice = queue_[k];
        auto made = ctx.texts.line(ctx, ctx.medium_font.get(), WHITE, notice.text);
        if (!made) return std::unexpected(std::move(made.error()));
        const TextLine* line = *made;
        const int swatch = notice.colour ? BLOSSOM_ROOM : 0;
        const int w = line->w + swatch + 2 * PAD;
        const int h = notice_height(ctx);
        const int x = std::max(CLEAR_LEFT, ctx.transform.width / 2 - w / 2);
        if (auto done = draw_panel(ctx, SDL_Rect{x, y, w, h}); !done) return done;
        if (notice.colour) {
            const SDL_Point centre{x + PAD + BLOSSOM_SIDE / 2, y + h / 2};
            if (auto done = draw_blossom(ctx, *notice.colour, 255, centre, 1); !done) return done;
        }
        if (auto done = put_text(ctx, *line, x + PAD + swatch, y + (h - line->h) / 2); !done) return done;
        y += h + GAP;
    }
    return {};
}

}  // namespace qm
