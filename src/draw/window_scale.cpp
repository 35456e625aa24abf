// Fitting the integer scale to the window, so the logical screen stays within its area bound.
#include "graphics.hpp"

#include "graphics_internal.hpp"

namespace qm {

std::uint32_t choose_scale(std::uint32_t current_scale, std::uint32_t viewport_w, std::uint32_t viewport_h) {
    // The window's area in physical pixels; a wrapped area only ever asks for a smaller scale.
    const std::uint32_t area = current_scale * current_scale * viewport_w * viewport_h;
    // area is below 2^32, so n = 92 (area / 8464 < 518400) always satisfies the bound; n² is
    // kept in 64 bits all the same so that no step of the search can wrap.
    std::uint64_t n = 1;
    while (area / (n * n) > MAX_LOGICAL_AREA) ++n;
    return static_cast<std::uint32_t>(n);
}

DrawResult DrawContext::adjust_scale() {
    SDL_Renderer* r = renderer();
    // The scale and the viewport read here are the window's, which SDL hides while a texture is
    // the target; a frame already begun carries on in a target fitted to the new size.
    const bool drawing = drawing_to_target_;
    if (drawing) QM_TRY(let_go_of_target());
    float scale_x = 1.0f;
    SDL_RenderGetScale(r, &scale_x, nullptr);
    // Truncated; anything below zero (or not a number) counts as zero, anything huge saturates.
    std::uint32_t current = 0;
    if (scale_x >= 4294967295.0f) current = 0xFFFFFFFFu;
    else if (scale_x >= 1.0f) current = static_cast<std::uint32_t>(scale_x);

    // The window's area in physical pixels. The output size says it exactly; the logical viewport
    // times the scale squared loses the remainder of an odd window side, and then a 961-pixel
    // wide window would flip between scale 1 and 2 on every frame.
    int out_w = 0;
    int out_h = 0;
    std::uint32_t n = 1;
    if (SDL_GetRendererOutputSize(r, &out_w, &out_h) == 0) {
        n = choose_scale(1, static_cast<std::uint32_t>(out_w), static_cast<std::uint32_t>(out_h));
    } else {
        const SDL_Rect viewport = viewport_of(r);
        n = choose_scale(current, static_cast<std::uint32_t>(viewport.w), static_cast<std::uint32_t>(viewport.h));
    }
    if (n != current) {
        const auto f = static_cast<float>(n);
        if (SDL_RenderSetScale(r, f, f) != 0) return std::unexpected(DrawError::from_sdl());
    }
    const SDL_Rect fitted = viewport_of(r);
    transform.width = fitted.w;
    transform.height = fitted.h;
    scale = n;
    if (drawing) return begin_frame();
    return {};
}

}  // namespace qm
