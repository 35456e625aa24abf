// Owning handles for SDL objects. Each handle releases its object exactly once; the renderer is
// shared between the draw context's canvas and the texture factory, and holds the window so that
// the window goes after the renderer.
#pragma once

#include <memory>

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

private:
    WindowPtr window_;
    SDL_Renderer* renderer_;
};

// The canvas (drawing) and the texture factory (making textures) share one renderer.
using Canvas = std::shared_ptr<RendererContext>;
using TextureCreator = std::shared_ptr<RendererContext>;

// Scoped initialisation guards, released in reverse order of creation.
class SdlCore {
public:
    SdlCore() = default;
    ~SdlCore() { if (active_) SDL_Quit(); }
    SdlCore(const SdlCore&) = delete;
    SdlCore& operator=(const SdlCore&) = delete;
    bool init() { active_ = SDL_Init(0) == 0; return active_; }
private:
    bool active_ = false;
};

class SdlSubsystem {
public:
    explicit SdlSubsystem(Uint32 flags) : flags_(flags) {}
    ~SdlSubsystem() { if (active_) SDL_QuitSubSystem(flags_); }
    SdlSubsystem(const SdlSubsystem&) = delete;
    SdlSubsystem& operator=(const SdlSubsystem&) = delete;
    bool init() { active_ = SDL_InitSubSystem(flags_) == 0; return active_; }
private:
    Uint32 flags_;
    bool active_ = false;
};

class TtfContext {
public:
    TtfContext() = default;
    ~TtfContext() { if (active_) TTF_Quit(); }
    TtfContext(const TtfContext&) = delete;
    TtfContext& operator=(const TtfContext&) = delete;
    bool init() { active_ = TTF_Init() == 0; return active_; }
private:
    bool active_ = false;
};

}  // namespace qm
