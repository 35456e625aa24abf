// The speaker mark: drawn with filled rectangles on one of the framed panels, so it needs no art.
#include "speaker_mark.hpp"

#include "graphics.hpp"
#include "panel.hpp"

namespace qm {

namespace {

constexpr int MARGIN = 2;
constexpr int TIME_FLIES_MARK_H = 20;
constexpr int PAD = 6;
constexpr int BAR_W = 2;
constexpr int BAR_GAP = 1;
constexpr int TALLEST = 12;
constexpr int SPEAKER_W = 10;
constexpr int WIDTH = PAD + SPEAKER_W + 4 + Volume::STEPS * (BAR_W + BAR_GAP) + PAD;
constexpr int HEIGHT = TALLEST + 2 * PAD;

constexpr SDL_Color LIT{255, 255, 255, 255};
constexpr SDL_Color UNLIT{90, 96, 104, 255};
constexpr SDL_Color CROSS{230, 90, 70, 255};

}  // namespace

DrawResult draw_speaker_mark(DrawContext& ctx, const Volume& volume) {
    // Under the frame time, below the place the time-flies mark takes.
    const int top_line = TTF_FontHeight(ctx.medium_font.get());
    const SDL_Rect area{ctx.transform.width - WIDTH - 2, top_line + 2 + TIME_FLIES_MARK_H + MARGIN, WIDTH, HEIGHT};
    QM_TRY(draw_panel(ctx, area));
    const int top = area.y + PAD;
    const int left = area.x + PAD;
    // The speaker: a small box and a cone widening to the right, a column at a time.
    const SDL_Color body = volume.muted ? UNLIT : LIT;
    QM_TRY(fill_rect(ctx, SDL_Rect{left, top + 4, 3, 4}, body));
    for (int x = 0; x < 5; ++x) QM_TRY(fill_rect(ctx, SDL_Rect{left + 3 + x, top + 4 - x, 1, 4 + 2 * x}, body));
    const int bars = left + SPEAKER_W + 4;
    for (int k = 0; k < Volume::STEPS; ++k) {
        const int h = 3 + (TALLEST - 3) * k / (Volume::STEPS - 1);
        const bool lit = !volume.muted && k < volume.level;
        QM_TRY(fill_rect(ctx, SDL_Rect{bars + k * (BAR_W + BAR_GAP), top + TALLEST - h, BAR_W, h}, lit ? LIT : UNLIT));
    }
    if (volume.muted) {  // a cross over the bars
        for (int k = 0; k < TALLEST; ++k) {
            const int across = Volume::STEPS * (BAR_W + BAR_GAP) * k / TALLEST;
            QM_TRY(fill_rect(ctx, SDL_Rect{bars + across, top + k, 2, 1}, CROSS));
            QM_TRY(fill_rect(ctx, SDL_Rect{bars + across, top + TALLEST - 1 - k, 2, 1}, CROSS));
        }
    }
    return {};
}

}  // namespace qm
