// The frame: drawn at the logical size into a texture of its own and scaled to the window in one
// copy when it is presented.
#include "graphics.hpp"

#include <algorithm>
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

// The target's size when one has to be made: the frame it must hold, and never less than a
// frame at scale 2 of a window filling the window's display, each side rounded up to a step. On
// OpenGL, SDL keeps one framebuffer object for every size of target ever drawn into, and each
// holds on to the last texture drawn through it, so a target made afresh for every window size
// kept every old frame alive: a window dragged through a few hundred sizes cost hundreds of
// megabytes. Made at a size that rarely changes and only ever grown, the targets of a whole
// evening are one or two.
TargetSize target_capacity(SDL_Window* window, TargetSize frame, TargetSize current) {
    constexpr int STEP = 128;
    int want_w = frame.w;
    int want_h = frame.h;
    SDL_Rect bounds{};
    const int display = window ? SDL_GetWindowDisplayIndex(window) : -1;
    if (display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0) {
        want_w = std::max(want_w, (bounds.w + 1) / 2);
        want_h = std::max(want_h, (bounds.h + 1) / 2);
    }
    const auto up = [](int v) { return (v + STEP - 1) / STEP * STEP; };
    return {std::max(current.w, up(want_w)), std::max(current.h, up(want_h))};
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
        frame_size_ = {};
        return {};
    }
    int out_w = 0;
    int out_h = 0;
    if (SDL_GetRendererOutputSize(r, &out_w, &out_h) != 0) return std::unexpected(DrawError::from_sdl());
    // A scale above 1 means a window of more than 518400 pixels, so neither side is empty.
    const TargetSize frame{(out_w + factor - 1) / factor, (out_h + factor - 1) / factor};
    // The frame is drawn into the target's top-left corner; the target is kept while it holds
    // the frame and grown, never remade, when it does not.
    TargetSize held{};
    if (frame_target) {
        const TextureSize size = texture_size(frame_target.get());
        held = {static_cast<int>(size.w), static_cast<int>(size.h)};
    }
    const bool fresh = frame.w != frame_size_.w || frame.h != frame_size_.h;
    if (held.w < frame.w || held.h < frame.h) {
        const TargetSize made_size = target_capacity(canvas->window(), frame, held);
        frame_target.reset();
        TexturePtr made{SDL_CreateTexture(r, target_format(canvas->window()), SDL_TEXTUREACCESS_TARGET, made_size.w,
                                          made_size.h)};
        texture_creator->count_texture();
        if (!made || SDL_SetTextureBlendMode(made.get(), SDL_BLENDMODE_NONE) != 0 ||
            SDL_SetTextureScaleMode(made.get(), SDL_ScaleModeNearest) != 0) {
            frame_size_ = {};
            return std::unexpected(DrawError::from_sdl());
        }
        frame_target = std::move(made);
        if (std::ranges::find(frame_target_sizes, made_size) == frame_target_sizes.end()) {
            frame_target_sizes.push_back(made_size);
        }
    }
    window_viewport_ = viewport_of(r);
    if (SDL_SetRenderTarget(r, frame_target.get()) != 0) return std::unexpected(DrawError::from_sdl());
    drawing_to_target_ = true;
    // The drawing sees a target of exactly the frame's size, as it did when each size had its own.
    const SDL_Rect corner{0, 0, frame.w, frame.h};
    if (SDL_RenderSetViewport(r, &corner) != 0) return std::unexpected(DrawError::from_sdl());
    frame_size_ = frame;
    // A frame of a new size starts from black, as a fresh window does.
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
        const SDL_Rect whole{0, 0, frame_size_.w, frame_size_.h};
        if (SDL_RenderCopy(r, frame_target.get(), &whole, &whole) != 0) return std::unexpected(DrawError::from_sdl());
    }
    SDL_RenderPresent(r);
    // The texts this frame did not draw go; those it drew wait for the next.
    texts.end_frame();
    return {};
}

SDL_Rect DrawContext::window_viewport() const {
    return drawing_to_target_ ? window_viewport_ : viewport_of(renderer());
}

}  // namespace qm
