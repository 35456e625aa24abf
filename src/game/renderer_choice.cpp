// The OpenGL probe runs in a forked child that reports one line through a pipe: GL_RENDERER, or a
// word for "not needed". Mesa's shader cache is switched off in the child, so the probe writes
// nothing under the player's home.
#include "renderer_choice.hpp"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <SDL.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qm {

namespace {

constexpr std::string_view NOT_NEEDED = "-";  // the child's word for "no OpenGL windows here"
constexpr int GL_RENDERER_ENUM = 0x1F01;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// In the child: open the video, make a hidden OpenGL window and context, and write what the
// context says it is.
[[noreturn]] void probe_in_child(int out) {
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    std::string said = std::string(NOT_NEEDED);
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        const std::string_view driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
        if (driver == "x11" || driver == "wayland") {
            said.clear();
            SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
            SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
            using GetString = const unsigned char* (*)(unsigned);
            const auto get_string = context ? reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString")) : nullptr;
            const unsigned char* name = get_string ? get_string(GL_RENDERER_ENUM) : nullptr;
            if (name) said = reinterpret_cast<const char*>(name);
        }
    }
    said += '\n';
    const ssize_t written = write(out, said.data(), said.size());
    _exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
}

}  // namespace

bool is_software_rasterizer(std::string_view gl_renderer) {
    return contains(gl_renderer, "llvmpipe") || contains(gl_renderer, "softpipe") ||
           contains(gl_renderer, "Software Rasterizer") || contains(gl_renderer, "swrast");
}

RendererChoice choose_renderer(std::optional<std::string_view> render_driver_variable,
                               std::optional<std::string_view> gl_renderer) {
    if (render_driver_variable) return RendererChoice::SdlDefault;
    return gl_renderer && is_software_rasterizer(*gl_renderer) ? RendererChoice::Software : RendererChoice::SdlDefault;
}

GlProbe GlProbe::start(std::optional<std::string_view> render_driver_variable) {
    GlProbe probe;
    if (render_driver_variable) return probe;
    std::array<int, 2> fds{};
    if (pipe2(fds.data(), O_CLOEXEC) != 0) return probe;
    std::fflush(nullptr);  // nothing buffered is written twice
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        probe_in_child(fds[1]);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return probe;
    }
    probe.pid_ = pid;
    probe.pipe_ = fds[0];
    return probe;
}

std::optional<std::string> GlProbe::result() {
    if (pid_ < 0) return std::nullopt;
    // No time limit: the child either writes its line or ends, and a display that never answers
    // it would not answer the game either. (A limit would also shrink under a sped-up clock.)
    std::string said;
    std::array<char, 256> buffer{};
    while (said.find('\n') == std::string::npos) {
        const ssize_t n = read(pipe_, buffer.data(), buffer.size());
        if (n > 0) {
            said.append(buffer.data(), static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipe_);
    pipe_ = -1;
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    const std::size_t end_of_line = said.find('\n');
    if (end_of_line == std::string::npos || end_of_line == 0) {
        std::fprintf(stderr, "Quillmarsh: could not ask OpenGL what draws it; SDL picks the renderer\n");
        return std::nullopt;
    }
    said.resize(end_of_line);
    if (said == NOT_NEEDED) return std::nullopt;
    return said;
}

GlProbe::GlProbe(GlProbe&& other) noexcept : pid_(other.pid_), pipe_(other.pipe_) {
    other.pid_ = -1;
    other.pipe_ = -1;
}

GlProbe::~GlProbe() {
    if (pipe_ >= 0) close(pipe_);
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

void apply_renderer_choice(RendererChoice choice) {
    if (choice == RendererChoice::Software) SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
}

}  // namespace qm
