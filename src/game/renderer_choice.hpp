// Which renderer draws the game: on a machine whose OpenGL is a software rasterizer (Mesa's
// llvmpipe, softpipe or swrast, as on any machine without a GPU), SDL's own software renderer,
// which there costs a quarter of the CPU and a fifth of the memory; on a real GPU, SDL's choice.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

enum class RendererChoice {
    SdlDefault,  // whatever SDL picks, or what SDL_RENDER_DRIVER names
    Software,    // SDL's software renderer
};

// True for the GL_RENDERER string of an OpenGL drawn on the CPU.
bool is_software_rasterizer(std::string_view gl_renderer);

// The choice, from SDL_RENDER_DRIVER (set: it wins) and what the OpenGL probe read (nothing when
// there was no probe or it failed).
RendererChoice choose_renderer(std::optional<std::string_view> render_driver_variable,
                               std::optional<std::string_view> gl_renderer);

// What an OpenGL context of this display reports as its renderer, read in a child process so
// that the rasterizer's libraries are loaded there and not here. Started before SDL is: the child
// must not share the parent's connection to the display.
class GlProbe final {
public:
    // Forks the child, which opens SDL's video itself. Nothing is started where the variable
    // SDL_RENDER_DRIVER is set (its value given here), since it decides.
    static GlProbe start(std::optional<std::string_view> render_driver_variable);
    // The renderer string, once the child has told it. A probe that fails says so on stderr
    // (one line) and gives nothing; one that was not needed (no display with OpenGL windows,
    // the dummy driver) gives nothing quietly.
    std::optional<std::string> result();

    GlProbe(GlProbe&& other) noexcept;
    GlProbe& operator=(GlProbe&&) = delete;
    GlProbe(const GlProbe&) = delete;
    ~GlProbe();

private:
    GlProbe() = default;
    int pid_ = -1;
    int pipe_ = -1;
};

// Makes SDL's next renderer the software one, when that is the choice.
void apply_renderer_choice(RendererChoice choice);

}  // namespace qm
