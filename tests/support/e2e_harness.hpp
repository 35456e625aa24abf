// The end-to-end harness: a private Xvfb server, the real game binary under libfaketime, input
// through xdotool, and screenshots of the game window read with XGetImage and judged by simple
// pixel statistics. Header-only, because only the e2e program links X11.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qm::e2e {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// ---- images and their statistics ----

struct Region {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Colour {
    double r = 0, g = 0, b = 0;
};

// A screenshot, one 0x00RRGGBB value per pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    Region whole() const { return {0, 0, width, height}; }
    bool empty() const { return pixels.empty(); }
};

inline int red(std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int green(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int blue(std::uint32_t p) { return static_cast<int>(p & 0xFF); }

template <typename F>
void for_each_pixel(const Image& img, Region r, F&& visit) {
    const int x0 = std::max(0, r.x), y0 = std::max(0, r.y);
    const int x1 = std::min(img.width, r.x + r.w), y1 = std::min(img.height, r.y + r.h);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) visit(x, y, img.at(x, y));
}

inline Colour mean_colour(const Image& img, Region r) {
    double sr = 0, sg = 0, sb = 0, n = 0;
    for_each_pixel(img, r, [&](int, int, std::uint32_t p) {
        sr += red(p);
        sg += green(p);
        sb += blue(p);
        n += 1;
    });
    if (n == 0) return {};
    return {sr / n, sg / n, sb / n};
}

// Share of pixels whose brightest channel is below `threshold`.
inline double dark_fraction(const Image& img, Region r, int threshold = 40) {
    double dark = 0, n = 0;
    for_each_pixel(img, r, [&](int, int, std::uint32_t p) {
        dark += std::max({red(p), green(p), blue(p)}) < threshold ? 1 : 0;
        n += 1;
    });
    return n == 0 ? 0 : dark / n;
}

// Share of pure white pixels: the game's text.
inline double white_fraction(const Image& img, Region r) {
    double white = 0, n = 0;
    for_each_pixel(img, r, [&](int, int, std::uint32_t p) {
        white += (p & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
        n += 1;
    });
    return n == 0 ? 0 : white / n;
}

// Share of pixels that differ by more than `tolerance` in some channel.
inline double difference(const Image& a, const Image& b, Region r, int tolerance = 24) {
    if (a.width != b.width || a.height != b.height) return 1.0;
    double changed = 0, n = 0;
    for_each_pixel(a, r, [&](int x, int y, std::uint32_t p) {
        const std::uint32_t q = b.at(x, y);
        const int d = std::max({std::abs(red(p) - red(q)), std::abs(green(p) - green(q)), std::abs(blue(p) - blue(q))});
        changed += d > tolerance ? 1 : 0;
        n += 1;
    });
    return n == 0 ? 0 : changed / n;
}

inline bool save_png(const Image& img, const std::filesystem::path& file) {
    if (img.empty()) return false;
    std::filesystem::create_directories(file.parent_path());
    std::vector<std::uint32_t> argb(img.pixels);
    for (auto& p : argb) p |= 0xFF000000u;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(argb.data(), img.width, img.height, 32, img.width * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (!s) return false;
    const bool ok = IMG_SavePNG(s, file.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

// ---- processes ----

// Environment of the current process with some variables replaced or removed (empty value).
inline std::vector<std::string> environment_with(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (!changes.contains(name)) env.push_back(entry);
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) env.push_back(name + "=" + value);
    }
    return env;
}

// fork + exec with stdout and stderr sent to `log` (or /dev/null), an extra fd kept open as 3.
inline pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::filesystem::path& cwd, const std::filesystem::path& log, int keep_fd = -1) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        setpgid(0, 0);  // its own group: our signals reach it alone
        const int out = open(log.empty() ? "/dev/null" : log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        if (keep_fd >= 0 && keep_fd != 3) {
            dup2(keep_fd, 3);
        }
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// Waits up to `timeout` for the child; its wait status, or none if it is still running.
inline std::optional<int> wait_for(pid_t pid, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return status;
        if (r < 0) return std::nullopt;
        if (Clock::now() >= end) return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

// Our own X server on a display number it picks itself.
class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
        const std::string xvfb = "/usr/bin/Xvfb";
        pid_ = spawn({xvfb, "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-nocursor", "-noreset"},
                     environment_with({}), {}, {}, fds[1]);
        close(fds[1]);
        std::string number;
        char c = 0;
        const auto end = Clock::now() + 20s;
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
        while (Clock::now() < end) {
            const ssize_t n = read(fds[0], &c, 1);
            if (n == 1) {
                if (c == '\n') break;
                number += c;
            } else if (n == 0) {
                break;
            } else {
                std::this_thread::sleep_for(10ms);
            }
        }
        close(fds[0]);
        if (number.empty()) throw std::runtime_error("Xvfb did not report a display");
        display_ = ":" + number;
    }
    ~Xvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            if (!wait_for(pid_, 5s)) {
                kill(pid_, SIGKILL);
                wait_for(pid_, 5s);
            }
        }
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// The real game, in the build directory, its clock sped up `speed` times by libfaketime: the
// clock runs faster and sleeps are shorter, so frames come as fast as the work allows.
class GameProcess {
public:
    // `extra` adds to the environment or overrides it (SDL_AUDIODRIVER, say).
    GameProcess(const std::string& binary, const std::filesystem::path& run_dir, const std::string& display,
                int speed, bool sanitized, const std::filesystem::path& log,
                const std::map<std::string, std::string>& extra = {})
        : log_(log) {
        std::string preload = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
        if (sanitized) {
            // ASan must come first in the preload list.
            const std::string asan = libasan_path();
            if (!asan.empty()) preload = asan + ":" + preload;
        }
        std::map<std::string, std::string> changes{{"DISPLAY", display},
                                                   {"LD_PRELOAD", preload},
                                                   {"FAKETIME", "+0 x" + std::to_string(speed)},
                                                   {"FAKETIME_NO_CACHE", "1"},
                                                   {"FAKETIME_TIMESTAMP_FILE", ""},
                                                   {"SDL_VIDEODRIVER", "x11"},
                                                   {"SDL_AUDIODRIVER", "dummy"},
                                                   {"ASAN_OPTIONS", sanitized ? "detect_leaks=0" : ""}};
        for (const auto& [name, value] : extra) changes[name] = value;
        const auto env = environment_with(changes);
        std::filesystem::create_directories(log.parent_path());
        pid_ = spawn({binary}, env, run_dir, log);
    }
    ~GameProcess() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            wait_for(pid_, 5s);
        }
    }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool running() {
        if (status_) return false;
        status_ = wait_for(pid_, 0ms);
        return !status_;
    }
    // SIGTERM, then the exit status (-1 when it had to be killed or died of a signal).
    int terminate(std::chrono::milliseconds timeout) {
        if (running()) {
            kill(pid_, SIGTERM);
            status_ = wait_for(pid_, timeout);
        }
        if (!status_) {
            kill(pid_, SIGKILL);
            status_ = wait_for(pid_, 5s);
            return -1;
        }
        return WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1;
    }
    // The game's resident size in kibibytes (VmRSS), 0 when it cannot be read.
    long resident_kib() const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
        }
        return 0;
    }
    // The game's /proc/<pid>/maps: every file it has mapped, a line each.
    std::string mapped_files() const {
        std::ifstream in("/proc/" + std::to_string(pid_) + "/maps");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Holds the game still (its input piles up in the X connection) and lets it go again.
    void pause() { kill(pid_, SIGSTOP); }
    void resume() { kill(pid_, SIGCONT); }
    std::string output() const {
        std::ifstream in(log_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static std::string libasan_path() {
        for (const char* candidate : {"/usr/lib/x86_64-linux-gnu/libasan.so.8", "/usr/lib/x86_64-linux-gnu/libasan.so.6",
                                      "/usr/lib/x86_64-linux-gnu/libasan.so.5"}) {
            if (std::filesystem::exists(candidate)) return candidate;
        }
        return {};
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path log_;
};

// ---- the X side: finding the window, screenshots, input ----

class XClient {
public:
    explicit XClient(const std::string& display) {
        display_ = XOpenDisplay(display.c_str());
        if (!display_) throw std::runtime_error("cannot open display " + display);
        // A shot of a window that reaches past the screen fails with BadMatch; Xlib's default
        // handler would end the test program, while a failed shot is only tried again.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        display_name_ = display;
    }
    ~XClient() {
        if (display_) XCloseDisplay(display_);
    }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    // The mapped top-level window with this title.
    std::optional<Window> find_window(const std::string& title, std::chrono::milliseconds timeout) {
        const auto end = Clock::now() + timeout;
        while (Clock::now() < end) {
            Window root_return = 0, parent = 0;
            Window* children = nullptr;
            unsigned int n = 0;
            if (XQueryTree(display_, DefaultRootWindow(display_), &root_return, &parent, &children, &n)) {
                std::optional<Window> found;
                for (unsigned int k = 0; k < n && !found; ++k) {
                    char* name = nullptr;
                    if (XFetchName(display_, children[k], &name) && name) {
                        XWindowAttributes attributes{};
                        if (title == name && XGetWindowAttributes(display_, children[k], &attributes) &&
                            attributes.map_state == IsViewable) {
                            found = children[k];
                        }
                        XFree(name);
                    }
                }
                if (children) XFree(children);
                if (found) return found;
            }
            std::this_thread::sleep_for(50ms);
        }
        return std::nullopt;
    }

    // The window's pixels, or only those of `part` (in window coordinates; the image then has
    // the part's size and its origin at the part's corner).
    Image shot(Window window, std::optional<Region> part = std::nullopt) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window, &attributes)) return {};
        Region r = part.value_or(Region{0, 0, attributes.width, attributes.height});
        r.w = std::min(r.w, attributes.width - r.x);
        r.h = std::min(r.h, attributes.height - r.y);
        if (r.w <= 0 || r.h <= 0) return {};
        XImage* image = XGetImage(display_, window, r.x, r.y, static_cast<unsigned>(r.w), static_cast<unsigned>(r.h),
                                  AllPlanes, ZPixmap);
        if (!image) return {};
        Image out;
        out.width = r.w;
        out.height = r.h;
        out.pixels.resize(static_cast<std::size_t>(out.width * out.height));
        const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst && image->red_mask == 0xFF0000 &&
                            image->green_mask == 0xFF00 && image->blue_mask == 0xFF;
        for (int y = 0; y < out.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image->data + y * image->bytes_per_line);
            for (int x = 0; x < out.width; ++x) {
                const auto p = direct ? row[x] : static_cast<std::uint32_t>(XGetPixel(image, x, y));
                out.pixels[static_cast<std::size_t>(y * out.width + x)] = p & 0xFFFFFFu;
            }
        }
        XDestroyImage(image);
        return out;
    }

    // The window that has the keyboard focus (0 when none has).
    Window focus() {
        Window w = 0;
        int revert = 0;
        XGetInputFocus(display_, &w, &revert);
        return w;
    }
    // Where the window stands and its size, as the server has it now.
    std::optional<Region> geometry(Window window) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, window, &attributes)) return std::nullopt;
        return Region{attributes.x, attributes.y, attributes.width, attributes.height};
    }
    // A resize straight through our own connection, for the many a drag sends.
    void resize(Window window, int w, int h) {
        XResizeWindow(display_, window, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XSync(display_, False);
    }

    const std::string& display_name() const { return display_name_; }

private:
    Display* display_ = nullptr;
    std::string display_name_;
};

// One xdotool command line (arguments after "xdotool") on our display; true when it succeeded.
inline bool xdotool(const std::string& display, const std::string& arguments) {
    const std::string command = "DISPLAY=" + display + " xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Does `act` and waits a little for `done`; while it does not hold, does it again until the time
// is up. Focusing, resizing or moving a window that the server or the game is not ready for yet
// (a busy machine, a window just mapped) is then tried again instead of failing the test.
template <typename Act, typename Done>
bool until_it_takes(std::chrono::milliseconds timeout, Act&& act, Done&& done) {
    const auto end = Clock::now() + timeout;
    for (;;) {
        act();
        const auto settle = std::min(end, Clock::now() + 500ms);
        do {
            if (done()) return true;
            std::this_thread::sleep_for(10ms);
        } while (Clock::now() < settle);
        if (Clock::now() >= end) return false;
    }
}

// Polls `check` on fresh screenshots until it holds or the time is up; the last shot is kept.
template <typename Check>
bool poll_shots(XClient& x, Window w, std::chrono::milliseconds timeout, Image& last, Check&& check,
                std::chrono::milliseconds interval = 100ms, std::optional<Region> part = std::nullopt) {
    const auto end = Clock::now() + timeout;
    do {
        last = x.shot(w, part);
        if (!last.empty() && check(last)) return true;
        std::this_thread::sleep_for(interval);
    } while (Clock::now() < end);
    return false;
}

}  // namespace qm::e2e
