// Owning handles for SDL objects. Each handle releases its object exactly once; the renderer is
// shared between the draw context's canvas and the texture factory, and holds the window so that
// the window goes after the renderer.
#pragma once

#include <cstdint>
#include <expected>
#include <memory>
#include <string>
#include <utility>

#include <SDL.h>
#include <SDL_ttf.h>

namespace qm {

struct SdlDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};

using WindowPtr = std::unique_ptr<SDL_Window, SdlDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, SdlDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter>;
using FontPtr = std::unique_ptr<TTF_Font, SdlDeleter>;

// The window and its renderer. The renderer is destroyed first, then the window.
class RendererContext {
public:
    RendererContext(WindowPtr window, SDL_Renderer* renderer) : window_(std::move(window)), renderer_(renderer) {}
    ~RendererContext() {
        if (renderer_) SDL_DestroyRenderer(renderer_);
    }
    RendererContext(const RendererContext&) = delete;
    RendererContext& operator=(const RendererContext&) = delete;

    SDL_Renderer* renderer() const { return renderer_; }
    SDL_Window* window() const { return window_.get(); }
    // Every texture made for the renderer after its sheets were loaded: texts and frame targets.
    // A steady frame adds none (a test holds the game to it).
    std::uint64_t textures_made() const { return textures_made_; }
    void count_texture() { ++textures_made_; }

private:
    WindowPtr window_;
    SDL_Renderer* renderer_;
    std::uint64_t textures_made_ = 0;
};

// The canvas (drawing) and the texture factory (making textures) share one renderer.
using Canvas = std::shared_ptr<RendererContext>;
using TextureCreator = std::shared_ptr<RendererContext>;

// What SDL switches on: the core, one of its subsystems, or the TTF library.
enum class SdlPart { Core, Subsystem, Ttf };

// A part of SDL that is up, switched off again when its guard goes; guards are released in
// reverse order of creation. Only `acquire` makes one, so there is no guard of a part that failed
// to start: it returns SDL's (or TTF's) error text instead.
template <SdlPart P>
class SdlGuard {
public:
    static std::expected<SdlGuard, std::string> acquire(Uint32 flags = 0) {
        if constexpr (P == SdlPart::Core) {
            if (SDL_Init(flags) != 0) return std::unexpected(std::string(SDL_GetError()));
        } else if constexpr (P == SdlPart::Subsystem) {
            if (SDL_InitSubSystem(flags) != 0) return std::unexpected(std::string(SDL_GetError()));
        } else {
            if (TTF_Init() != 0) return std::unexpected(std::string(TTF_GetError()));
        }
        return SdlGuard(flags);
    }

    SdlGuard(SdlGuard&& other) noexcept : flags_(other.flags_), active_(std::exchange(other.active_, false)) {}
    SdlGuard& operator=(SdlGuard&&) = delete;
    SdlGuard(const SdlGuard&) = delete;
    SdlGuard& operator=(const SdlGuard&) = delete;
    ~SdlGuard() {
        if (!active_) return;
        if constexpr (P == SdlPart::Core) {
            SDL_Quit();
        } else if constexpr (P == SdlPart::Subsystem) {
            SDL_QuitSubSystem(flags_);
        } else {
            TTF_Quit();
        }
    }

private:
    explicit SdlGuard(Uint32 flags) : flags_(flags) {}

    Uint32 flags_;
    bool active_ = true;
};

using SdlCore = SdlGuard<SdlPart::Core>;
using SdlSubsystem = SdlGuard<SdlPart::Subsystem>;
using TtfContext = SdlGuard<SdlPart::Ttf>;

}  // namespace qm
