// The frame: drawn at the logical size into a texture of its own and scaled to the window in one
// copy when it is presented.
#include "graphics.hpp"

#include <string_view>

#include "graphics_internal.hpp"

namespace qm {

void show_software_frames_plainly() {
    // On X11, SDL shows a software renderer's frame through an OpenGL texture. Without a GPU that
    // is Mesa's llvmpipe uploading and drawing every window pixel again each frame: at full
    // screen more than the whole frame's drawing. An X shared-memory image is one copy, made by
    // the X server. The environment variable of the same name still wins over this.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::string_view(driver) == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

namespace {

// The window's own format, so that blending into the target works on the same pixels as
// blending into the window did.
Uint32 target_format(SDL_Window* window) {
    const Uint32 format = window ? SDL_GetWindowPixelFormat(window) : Uint32{SDL_PIXELFORMAT_UNKNOWN};
    return format == SDL_PIXELFORMAT_UNKNOWN ? Uint32{SDL_PIXELFORMAT_ARGB8888} : format;
}

// Wipes a fresh target to opaque black, as a fresh window is, leaving the draw colour as it was.
DrawResult clear_to_black(SDL_Renderer* r) {
    Uint8 red = 0, green = 0, blue = 0, alpha = 0;
    SDL_GetRenderDrawColor(r, &red, &green, &blue, &alpha);
    set_draw_colour(r, 0, 0, 0, 255);
    const bool cleared = SDL_RenderClear(r) == 0;
    set_draw_colour(r, red, green, blue, alpha);
    if (!cleared) return std::unexpected(DrawError::from_sdl());
    return {};
}

}  // namespace

DrawResult DrawContext::begin_frame() {
    if (drawing_to_target_ || scaling != Scaling::Once) return {};
    SDL_Renderer* r = renderer();
    float scale_x = 0.0f;
    float scale_y = 0.0f;
    SDL_RenderGetScale(r, &scale_x, &scale_y);
    // Only a whole-number scale above 1 is a copy worth making; a scale set by other hands (not
    // whole, or not the same both ways) keeps drawing the way it always has.
    const int factor = scale_x >= 2.0f && scale_x < 65536.0f ? static_cast<int>(scale_x) : 1;
    if (factor < 2 || static_cast<float>(factor) != scale_x || scale_y != scale_x) {
        frame_target.reset();
        return {};
    }
    int out_w = 0;
    int out_h = 0;
    if (SDL_GetRendererOutputSize(r, &out_w, &out_h) != 0) return std::unexpected(DrawError::from_sdl());
    // A scale above 1 means a window of more than 518400 pixels, so neither side is empty.
    const int w = (out_w + factor - 1) / factor;
    const int h = (out_h + factor - 1) / factor;
    const bool fresh = !frame_target || [&] {
        const TextureSize size = texture_size(frame_target.get());
        return size.w != w || size.h != h;
    }();
    if (fresh) {
        frame_target.reset();
        TexturePtr made{SDL_CreateTexture(r, target_format(canvas->window()), SDL_TEXTUREACCESS_TARGET, w, h)};
        if (!made || SDL_SetTextureBlendMode(made.get(), SDL_BLENDMODE_NONE) != 0 ||
            SDL_SetTextureScaleMode(made.get(), SDL_ScaleModeNearest) != 0) {
            return std::unexpected(DrawError::from_sdl());
        }
        frame_target = std::move(made);
    }
    window_viewport_ = viewport_of(r);
    if (SDL_SetRenderTarget(r, frame_target.get()) != 0) return std::unexpected(DrawError::from_sdl());
    drawing_to_target_ = true;
    if (fresh) QM_TRY(clear_to_black(r));
    return {};
}

DrawResult DrawContext::let_go_of_target() {
    drawing_to_target_ = false;
    if (SDL_SetRenderTarget(renderer(), nullptr) != 0) return std::unexpected(DrawError::from_sdl());
    return {};
}

DrawResult DrawContext::present() {
    SDL_Renderer* r = renderer();
    if (drawing_to_target_) {
        QM_TRY(let_go_of_target());
        // In the window's logical pixels: the renderer's scale makes it the whole window, and
        // more by the part-pixel that SDL clips at an odd side.
        const TextureSize size = texture_size(frame_target.get());
        const SDL_Rect whole{0, 0, static_cast<int>(size.w), static_cast<int>(size.h)};
        if (SDL_RenderCopy(r, frame_target.get(), nullptr, &whole) != 0) return std::unexpected(DrawError::from_sdl());
    }
    SDL_RenderPresent(r);
    return {};
}

SDL_Rect DrawContext::window_viewport() const {
    return drawing_to_target_ ? window_viewport_ : viewport_of(renderer());
}

}  // namespace qm
