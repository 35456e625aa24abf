// The real game in a real X server: a private Xvfb, input through xdotool, time sped up with
// libfaketime, and screenshots judged by simple pixel statistics and by masks of the game's own
// texts rendered here with the same font. Failed checks leave their shots in build/e2e-shots/.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <memory>
#include <tuple>

#include "support/e2e_harness.hpp"
#include "support/loudness.hpp"

#ifndef QM_SANITIZED
#define QM_SANITIZED 0
#endif

namespace qm::e2e {
namespace {

const std::filesystem::path BUILD_DIR = QM_BUILD_DIR;
const std::filesystem::path SHOTS_DIR = BUILD_DIR / "e2e-shots";
const std::filesystem::path FONT_FILE = BUILD_DIR / "pixeloid" / "TrueType (.ttf)" / "PixeloidSans.ttf";
constexpr bool SANITIZED = QM_SANITIZED != 0;
// Fast enough that a small window runs the afternoon in seconds, slow enough that the new-day
// pause (4 s of game time) stays up for a fifth of a second.
constexpr int SPEED = 20;
// Sanitized builds draw several times slower; every wait for the game stretches with them.
constexpr int SLOWNESS = SANITIZED ? 4 : 1;

constexpr Region CLOCK{0, 0, 240, 32};  // the clock's text box, descenders included

// One line of the game's text as the game renders it: solid mode, one colour.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<bool> on;
};

const TextMask& render_text(int points, const std::string& text) {
    static std::map<std::pair<int, std::string>, TextMask> cache;
    const auto key = std::make_pair(points, text);
    if (const auto found = cache.find(key); found != cache.end()) return found->second;
    TextMask& mask = cache[key];
    TTF_Font* font = TTF_OpenFont(FONT_FILE.c_str(), points);
    if (!font) return mask;
    SDL_Surface* s = TTF_RenderUTF8_Solid(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    TTF_CloseFont(font);
    if (!s) return mask;
    SDL_LockSurface(s);
    mask.width = s->w;
    mask.height = s->h;
    mask.on.resize(static_cast<std::size_t>(s->w * s->h));
    for (int y = 0; y < s->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < s->w; ++x) mask.on[static_cast<std::size_t>(y * s->w + x)] = row[x] != 0;
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return mask;
}

// How well the shot shows the text at (x0, y0), drawn at an integer scale: the worse of "its
// pixels are white" and "the pixels between its strokes are not".
double text_match(const Image& img, const TextMask& mask, int x0, int y0, int scale = 1) {
    double on = 0, on_white = 0, off = 0, off_clear = 0;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const int sx = x0 + x * scale + scale / 2, sy = y0 + y * scale + scale / 2;
            if (sx < 0 || sy < 0 || sx >= img.width || sy >= img.height) return 0;
            const bool white = (img.at(sx, sy) & 0xFFFFFF) == 0xFFFFFF;
            if (mask.on[static_cast<std::size_t>(y * mask.width + x)]) {
                on += 1;
                on_white += white ? 1 : 0;
            } else {
                off += 1;
                off_clear += white ? 0 : 1;
            }
        }
    }
    if (on == 0 || off == 0) return 0;
    return std::min(on_white / on, off_clear / off);
}

// The clock in the top-left corner starts with this text (a prefix such as "Day 1 6:").
bool clock_reads(const Image& img, const std::string& prefix, int scale = 1) {
    return text_match(img, render_text(18, prefix), 0, 0, scale) > 0.95;
}

// The game's scale for a window: the least n that brings w·h / n² within 960 × 540.
int scale_for(int w, int h) {
    int n = 1;
    while (static_cast<long>(w) * h / (static_cast<long>(n) * n) > 960L * 540) ++n;
    return n;
}

// The middle band of a 720 × 360 screen, where the new-day screen writes.
constexpr Region NEW_DAY_BAND{0, 120, 720, 120};

// "Dawn of" above the middle and "Day <n>" below it, in a shot of NEW_DAY_BAND.
bool new_day_screen_reads(const Image& band, int day) {
    const TextMask& dawn = render_text(18, "Dawn of");
    const TextMask& number = render_text(36, "Day " + std::to_string(day));
    const int w = 720, h = 360, top = NEW_DAY_BAND.y;
    return text_match(band, dawn, w / 2 - dawn.width / 2, h / 2 - 4 - dawn.height - top) > 0.95 &&
           text_match(band, number, w / 2 - number.width / 2, h / 2 + 4 - top) > 0.95;
}

// Light beige: the face of an on-screen button.
double button_face_fraction(const Image& img, Region r) {
    double face = 0, n = 0;
    for_each_pixel(img, r, [&](int, int, std::uint32_t p) {
        face += red(p) > 215 && green(p) > 185 && blue(p) > 120 && blue(p) < 215 && red(p) > blue(p) + 25 ? 1 : 0;
        n += 1;
    });
    return n == 0 ? 0 : face / n;
}

// Pixels of exactly one colour (0xRRGGBB): the honey of the time-flies mark.
int colour_count(const Image& img, Region r, std::uint32_t colour) {
    int n = 0;
    for_each_pixel(img, r, [&](int, int, std::uint32_t p) { n += (p & 0xFFFFFF) == colour ? 1 : 0; });
    return n;
}
constexpr std::uint32_t HONEY_RGB = 0xF8C840;
// Tilled ground: brown, red well above green and green above blue.
int soil_pixels(const Image& img, Region r) {
    int n = 0;
    for_each_pixel(img, r, [&](int, int, std::uint32_t p) { n += red(p) > green(p) + 25 && green(p) > blue(p) ? 1 : 0; });
    return n;
}
constexpr Region TIME_FLIES_MARK{660, 16, 60, 30};

class EndToEnd : public testing::Test {
protected:
    static void SetUpTestSuite() {
        TTF_Init();
        server_ = std::make_unique<Xvfb>();
    }
    static void TearDownTestSuite() {
        server_.reset();
        TTF_Quit();
    }

    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(QM_GAME_BINARY)) << QM_GAME_BINARY;
        ASSERT_TRUE(std::filesystem::exists(FONT_FILE)) << FONT_FILE;
        std::filesystem::create_directories(SHOTS_DIR);
        name_ = testing::UnitTest::GetInstance()->current_test_info()->name();
        x_ = std::make_unique<XClient>(server_->display());
        game_ = std::make_unique<GameProcess>(QM_GAME_BINARY, BUILD_DIR, server_->display(), speed(), SANITIZED,
                                              SHOTS_DIR / (name_ + ".log"), environment());
        const auto found = x_->find_window("Quillmarsh", 30s * SLOWNESS);
        ASSERT_TRUE(found.has_value()) << "no game window; game output:\n" << game_->output();
        window_ = *found;
        ASSERT_TRUE(until_it_takes(30s * SLOWNESS, [&] { xdo("windowfocus " + std::to_string(window_)); },
                                   [&] { return x_->focus() == window_; }))
            << "the game window never took the focus";
        // On a busy machine the window may be up a while before its first frame is.
        ASSERT_TRUE(wait_for_shot("first-frame", 30s, [](const Image& img) {
            return !img.empty() && dark_fraction(img, img.whole()) < 0.9;
        })) << game_->output();
    }

    void TearDown() override {
        // QM_E2E_KEEP_SHOTS=1 keeps the shots of passing runs too, for a look at the game.
        if (HasFailure() || std::getenv("QM_E2E_KEEP_SHOTS") != nullptr) {
            for (const auto& [label, img] : shots_) save_png(img, SHOTS_DIR / (name_ + "-" + label + ".png"));
            if (game_) std::cerr << "game output:\n" << game_->output() << "\n";
        }
        game_.reset();
        x_.reset();
    }

    // What the game's environment needs besides the harness's own.
    virtual std::map<std::string, std::string> environment() const { return {}; }
    // How many times faster than the wall's the game's clock runs.
    virtual int speed() const { return SPEED; }

    Image shot(const std::string& label) {
        Image img = x_->shot(window_);
        shots_[label] = img;
        return img;
    }
    template <typename Check>
    bool wait_for_shot(const std::string& label, std::chrono::milliseconds timeout, Check&& check,
                       std::chrono::milliseconds interval = 50ms, std::optional<Region> part = std::nullopt) {
        Image last;
        const bool ok = poll_shots(*x_, window_, timeout * SLOWNESS, last, check, interval, part);
        shots_[label] = last;
        return ok;
    }
    bool xdo(const std::string& arguments) { return xdotool(server_->display(), arguments); }

    // The real length of a day frame, from two turns of the clock's minute (32 frames each),
    // so that waits counted in frames stretch with a loaded machine.
    std::chrono::milliseconds measure_frame() {
        // Only the clock's white letters count: the field behind them sways with every frame.
        const auto minute_turns = [&](const std::string& label) {
            const Image before = x_->shot(window_, CLOCK);
            return wait_for_shot(label, 60s, [&](const Image& img) {
                bool turned = false;
                for_each_pixel(img, img.whole(), [&](int x, int y, std::uint32_t p) {
                    turned = turned || (p == 0xFFFFFF) != (before.at(x, y) == 0xFFFFFF);
                });
                return turned;
            }, 1ms, CLOCK);
        };
        minute_turns("clock-a");
        const auto start = Clock::now();
        minute_turns("clock-b");
        frame_ = std::max(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start) / 32, 1ms);
        std::cerr << name_ << ": a frame takes " << frame_.count() << " ms\n";
        return frame_;
    }
    // n frames of the game at its measured pace (a frame at SPEED until measured).
    std::chrono::milliseconds frames(int n) const { return n * frame_; }
    // Holds a key until the check holds on a fresh shot (or the time is up).
    template <typename Check>
    bool hold_until(const std::string& key, const std::string& label, std::chrono::milliseconds timeout, Check&& check) {
        const bool down = xdo("keydown " + key);
        const bool ok = wait_for_shot(label, timeout, check, 5ms);
        return xdo("keyup " + key) && down && ok;
    }
    bool xdo_window(const std::string& command, const std::string& arguments) {
        return xdo(command + " --window " + std::to_string(window_) + " " + arguments);
    }
    bool click_at(int x, int y) {
        return xdo_window("mousemove", std::to_string(x) + " " + std::to_string(y)) && xdo("click 1");
    }
    bool hold_key(const std::string& key, std::chrono::milliseconds how_long) {
        const bool down = xdo("keydown " + key);
        std::this_thread::sleep_for(how_long);
        return xdo("keyup " + key) && down;
    }
    // An xdotool window command with two numbers (a size, a corner), sent until the server has
    // the window so.
    bool until_window(const std::string& command, int a, int b, bool (*holds)(const Region&, int, int)) {
        return until_it_takes(
            10s * SLOWNESS,
            [&] { xdo(command + " " + std::to_string(window_) + " " + std::to_string(a) + " " + std::to_string(b)); },
            [&] {
                const auto g = x_->geometry(window_);
                return g && holds(*g, a, b);
            });
    }
    bool resize(int w, int h) {
        return until_window("windowsize", w, h, [](const Region& g, int a, int b) { return g.w == a && g.h == b; });
    }
    bool move_to(int x, int y) {
        return until_window("windowmove", x, y, [](const Region& g, int a, int b) { return g.x == a && g.y == b; });
    }

    // Walks up into the shed and takes the hoe; she then stands below the door.
    static constexpr Region MENU_RING{250, 40, 220, 190};  // the shed menu's buttons
    void take_the_hoe() {
        ASSERT_TRUE(xdo("keydown w"));
        const bool menu_open = wait_for_shot("shed-menu", 10s, [&](const Image& img) {
            return button_face_fraction(img, MENU_RING) > 0.15;
        }, 5ms);
        xdo("keyup w");
        ASSERT_TRUE(menu_open) << "faces " << button_face_fraction(shots_["shed-menu"], MENU_RING);
        ASSERT_TRUE(click_at(392, 92));  // the hoe's button, up and right of the ring's centre (360, 136)
        ASSERT_TRUE(wait_for_shot("hoe-chosen", 5s, [&](const Image& img) {
            return button_face_fraction(img, MENU_RING) < 0.02;
        }));
    }

    static std::unique_ptr<Xvfb> server_;
    std::string name_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<GameProcess> game_;
    Window window_ = 0;
    std::map<std::string, Image> shots_;
    std::chrono::milliseconds frame_{32 / SPEED + 1};
};

std::unique_ptr<Xvfb> EndToEnd::server_;

TEST_F(EndToEnd, TheIntroDriftsUntilATerminationSignalEndsTheGameCleanly) {
    // On a busy machine the window may be up a while before its first frame is.
    ASSERT_TRUE(wait_for_shot("intro-first", 10s, [](const Image& img) {
        return !img.empty() && dark_fraction(img, img.whole()) < 0.9;
    }));
    const Image first = shots_["intro-first"];
    EXPECT_EQ(first.width, 720);
    EXPECT_EQ(first.height, 360);
    EXPECT_FALSE(clock_reads(first, "Day "));
    // The field slides under the intro picture; its edges show it.
    const Region left_edge{0, 0, 100, 360};
    EXPECT_TRUE(wait_for_shot("intro-later", 5s, [&](const Image& img) { return difference(first, img, left_edge) > 0.1; }));
    // The picture itself stays put.
    EXPECT_LT(difference(first, shots_["intro-later"], Region{300, 150, 120, 60}), 0.05);
    // Xvfb's OpenGL is Mesa drawing on the CPU, so the game draws with SDL's software renderer,
    // and the probe that found out left none of the rasterizer's libraries behind.
    const std::string mapped = game_->mapped_files();
    ASSERT_NE(mapped.find("libSDL2"), std::string::npos);
    EXPECT_EQ(mapped.find("libLLVM"), std::string::npos);
    EXPECT_EQ(mapped.find("swrast_dri"), std::string::npos);
    EXPECT_EQ(mapped.find("libGLX"), std::string::npos);

    EXPECT_EQ(game_->terminate(10s * SLOWNESS), 0);
}

TEST_F(EndToEnd, ADayInTheGardenAndTheDawnOfTheNext) {
    const Image intro = shot("intro");
    ASSERT_FALSE(intro.empty());
    EXPECT_FALSE(clock_reads(intro, "Day"));

    // A click starts the first day at noon; the first ten minutes (320 frames) read 12:0x pm.
    ASSERT_TRUE(click_at(360, 320));
    EXPECT_TRUE(wait_for_shot("day-1-clock", 10s, [](const Image& img) { return clock_reads(img, "Day 1 12:0"); },
                              2ms, CLOCK));
    EXPECT_GT(difference(intro, shot("day-1"), CLOCK), 0.05);
    xdo_window("mousemove", "700 350");  // out of the way, still over the window

    // Walking: the camera follows her, so the field slides by; standing, it barely changes.
    const Region field{0, 70, 720, 290};
    measure_frame();
    const Image standing_a = shot("standing-a");
    std::this_thread::sleep_for(frames(10));
    const Image standing_b = shot("standing-b");
    const double still = difference(standing_a, standing_b, field);
    EXPECT_TRUE(hold_until("s", "walked-down", 10s, [&](const Image& img) {
        return difference(standing_b, img, field) > still + 0.05;
    })) << "still " << still << ", walked " << difference(standing_b, shots_["walked-down"], field);
    const Image walked = shot("walked");

    // Straight back up and into the shed: its menu opens around the point above the door.
    EXPECT_LT(button_face_fraction(walked, MENU_RING), 0.02);
    take_the_hoe();
    ASSERT_FALSE(HasFatalFailure());

    // She stands below the door, on tile (3, -13); tilling the lawn east of it makes soil.
    const Region east_tile{398, 172, 20, 16};
    ASSERT_TRUE(xdo_window("mousemove", "408 180"));
    std::this_thread::sleep_for(frames(10));
    const Image before_till = shot("before-till");
    ASSERT_TRUE(xdo("click 1"));
    EXPECT_TRUE(wait_for_shot("tilled", 5s, [&](const Image& img) { return difference(before_till, img, east_tile) > 0.3; }));
    const Colour lawn = mean_colour(before_till, east_tile);
    const Colour soil = mean_colour(shots_["tilled"], east_tile);
    EXPECT_GT(lawn.g, lawn.r) << "the tile was not lawn green";
    EXPECT_GT(soil.r, soil.g) << "the tile did not turn to brown soil";

    // On to the evening: a small window draws fast.
    xdo_window("mousemove", "-50 -50");
    ASSERT_TRUE(resize(240, 120));
    // Time flies through the afternoon (11520 ticks, 16 a frame), so a loaded machine draws 720
    // frames rather than 11520; limits in frames at twice the measured frame time.
    EXPECT_TRUE(hold_until("t", "evening", std::max<std::chrono::milliseconds>(240s, frames(2 * 11520 / 16)), [](const Image& img) {
        return clock_reads(img, "Day 1 6:") || clock_reads(img, "Day 1 7:") || clock_reads(img, "Day 2");
    }));
    ASSERT_TRUE(resize(720, 360));
    measure_frame();

    // The day ends on the new-day screen: black, "Dawn of" and "Day 2".
    EXPECT_TRUE(wait_for_shot("dawn-of-day-2", std::max<std::chrono::milliseconds>(120s, frames(2 * 1920)), [](const Image& band) {
        return band.width == 720 && new_day_screen_reads(band, 2);
    }, 2ms, NEW_DAY_BAND));
    EXPECT_GT(dark_fraction(shots_["dawn-of-day-2"], shots_["dawn-of-day-2"].whole()), 0.9);

    // Day 2 starts at 5:00 am in the dark red of dawn.
    EXPECT_TRUE(wait_for_shot("day-2", std::max<std::chrono::milliseconds>(30s, frames(1920)), [&](const Image& img) {
        if (!clock_reads(img, "Day 2 5:")) return false;
        const Colour c = mean_colour(img, field);
        return c.r > 20 && c.r > 1.5 * c.g && c.r > 1.5 * c.b;
    }, 10ms));
    const Colour dawn = mean_colour(shots_["day-2"], field);
    EXPECT_LT(dawn.g, 80) << "not dark: " << dawn.r << " " << dawn.g << " " << dawn.b;

    EXPECT_EQ(game_->terminate(10s * SLOWNESS), 0);
}

TEST_F(EndToEnd, TheWindowSurvivesTinySizesFullScreenTogglesAndABurstOfKeys) {
    ASSERT_TRUE(click_at(360, 320));
    ASSERT_TRUE(wait_for_shot("day-1", 5s, [](const Image& img) { return clock_reads(img, "Day 1 "); }, 5ms, CLOCK));
    xdo_window("mousemove", "-50 -50");
    measure_frame();

    // The clock is drawn at the scale the window's size calls for.
    const auto reads_at_its_scale = [](int w, int h) {
        return [w, h](const Image& img) {
            return img.width == w && img.height == h && clock_reads(img, "Day 1 ", scale_for(w, h));
        };
    };
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {1024, 768}, {1, 1}, {720, 360}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        ASSERT_TRUE(resize(w, h) && move_to(0, 0));
        if (w > 2) {
            EXPECT_TRUE(wait_for_shot("size-" + size, 10s, reads_at_its_scale(w, h))) << size;
        } else {
            EXPECT_TRUE(wait_for_shot("size-" + size, 10s, [&](const Image& img) { return img.width == w; })) << size;
            std::this_thread::sleep_for(frames(6));
        }
        ASSERT_TRUE(game_->running()) << "at " << size << ":\n" << game_->output();
    }

    // Fifty switches. With no window manager the X window keeps its size while the game draws
    // its full-screen frame, 1024 × 768 at scale 2, of which the window shows the lower-left
    // part: the first switch takes the clock out of the window. Each switch gets a few frames.
    for (int k = 1; k <= 50; ++k) {
        ASSERT_TRUE(xdo("key f"));
        if (k == 1) {
            EXPECT_TRUE(wait_for_shot("full-screen", 10s, [&](const Image& img) {
                return !img.empty() && !reads_at_its_scale(720, 360)(img);
            }));
        }
        std::this_thread::sleep_for(frames(3));
        ASSERT_TRUE(game_->running()) << "switch " << k << ":\n" << game_->output();
    }
    // Back in a window after an even number of switches: a new size is taken up at its scale.
    ASSERT_TRUE(resize(960, 541));
    EXPECT_TRUE(wait_for_shot("windowed-again", 10s, reads_at_its_scale(960, 541)));
    ASSERT_TRUE(resize(720, 360));
    EXPECT_TRUE(wait_for_shot("windowed-720", 10s, reads_at_its_scale(720, 360)));

    // Thousands of keys at once: the game stands still while they pile up, then takes them in
    // one frame's events.
    std::string keys = "key --delay 0";
    for (int k = 0; k < 3000; ++k) keys += k % 3 == 0 ? " a" : k % 3 == 1 ? " d" : " space";
    game_->pause();
    const bool sent = xdo(keys);
    game_->resume();
    ASSERT_TRUE(sent);
    const Image after = shot("after-burst");
    EXPECT_TRUE(wait_for_shot("burst-digested", 20s, [&](const Image& img) {
        return reads_at_its_scale(720, 360)(img) && difference(after, img, CLOCK) > 0.01;
    }, 20ms));
    ASSERT_TRUE(game_->running()) << game_->output();
    EXPECT_EQ(game_->terminate(10s * SLOWNESS), 0);
}


// On OpenGL, which the game would not choose here by itself (Mesa draws it on the CPU).
class EndToEndOnOpenGl : public EndToEnd {
protected:
    std::map<std::string, std::string> environment() const override { return {{"SDL_RENDER_DRIVER", "opengl"}}; }
};

// A window dragged through a thousand sizes and in and out of full screen, on OpenGL: the game's
// resident size ends within a few megabytes of where it stood after the first sizes. A frame
// target made for every size grew it by a third of a megabyte a size, without end.
TEST_F(EndToEndOnOpenGl, AThousandResizesLeaveTheResidentSizeWhereItStood) {
    if (SANITIZED) GTEST_SKIP() << "the sanitizers keep freed memory; the unit test counts the targets there";
    ASSERT_TRUE(click_at(360, 320));
    ASSERT_TRUE(wait_for_shot("day-1", 30s, [](const Image& img) { return clock_reads(img, "Day 1 "); }, 5ms, CLOCK));
    measure_frame();
    std::uint64_t draw = 7;
    const auto drag = [&](int n) {
        for (int k = 1; k <= n; ++k) {
            draw = draw * 6364136223846793005ull + 1442695040888963407ull;
            x_->resize(window_, 100 + static_cast<int>((draw >> 33) % 1300), 100 + static_cast<int>((draw >> 45) % 700));
            if (k % 200 == 0) {
                ASSERT_TRUE(xdo("key f"));  // in and out of full screen, an even number of times
            }
            std::this_thread::sleep_for(std::max(frames(1), 5ms));
        }
        std::this_thread::sleep_for(frames(30));
    };
    drag(200);
    const long first = game_->resident_kib();
    ASSERT_GT(first, 0);
    drag(1000);
    ASSERT_TRUE(game_->running()) << game_->output();
    const long last = game_->resident_kib();
    std::cerr << name_ << ": resident " << first / 1024 << " MiB after 200 sizes, " << last / 1024 << " MiB after 1200\n";
    EXPECT_LT(last, first + 10 * 1024);
    EXPECT_EQ(game_->terminate(10s * SLOWNESS), 0);
}

// The keys alone play, the pointer resting in the window up and to the left of her: it never
// steers, so Space works the tile ahead of her on the first press.
TEST_F(EndToEnd, AKeyboardOnlyDayFromTheTitleCardToTheNight) {
    xdo_window("mousemove", "120 60");
    ASSERT_TRUE(xdo("key Return"));
    ASSERT_TRUE(wait_for_shot("day-1", 10s, [](const Image& img) { return clock_reads(img, "Day 1 "); }, 5ms, CLOCK));
    measure_frame();

    // Up into the shed's door; its menu opens. Up, Right and Enter take the hoe (upper right).
    const Region menu_ring{250, 40, 220, 190};
    ASSERT_TRUE(hold_until("Up", "shed-menu", 20s, [&](const Image& img) { return button_face_fraction(img, menu_ring) > 0.15; }));
    ASSERT_TRUE(xdo("key Up") && xdo("key Right") && xdo("key Return"));
    ASSERT_TRUE(wait_for_shot("hoe-taken", 10s, [&](const Image& img) { return button_face_fraction(img, menu_ring) < 0.02; }));

    // A few steps east, the camera with her (the shed slides left); Space tills the lawn ahead.
    const Region shed{320, 80, 60, 80};
    const Image at_door = shot("at-door");
    ASSERT_TRUE(hold_until("Right", "stepped-east", 10s, [&](const Image& img) { return difference(at_door, img, shed) > 0.3; }));
    std::this_thread::sleep_for(frames(4));
    // She stands in the middle of the screen facing east: the tile ahead lies right of her, the
    // one the pointer would pick up and to the left.
    const Region ahead{368, 160, 64, 40};
    const Region toward_pointer{296, 120, 56, 40};
    const Image before = shot("before-space");
    ASSERT_TRUE(xdo("key space"));
    EXPECT_TRUE(wait_for_shot("tilled", 10s, [&](const Image& img) {
        return soil_pixels(img, ahead) > soil_pixels(before, ahead) + 150;
    })) << soil_pixels(before, ahead) << " soil pixels ahead before, " << soil_pixels(shots_["tilled"], ahead) << " after";
    EXPECT_LT(soil_pixels(shots_["tilled"], toward_pointer), soil_pixels(before, toward_pointer) + 50);

    // T held: the mark shows and the afternoon flies by into the night's screen. It stops by
    // itself at 6:00 pm (and at a full hive); let go and held again, it flies on.
    ASSERT_TRUE(xdo("keydown t"));
    EXPECT_TRUE(wait_for_shot("time-flies", 10s, [](const Image& img) {
        return colour_count(img, TIME_FLIES_MARK, HONEY_RGB) > 20;
    }, 5ms));
    bool night = false;
    for (const auto until = Clock::now() + 240s * SLOWNESS; !night && Clock::now() < until;) {
        night = wait_for_shot("dawn-of-day-2", 3s, [](const Image& band) {
            return band.width == 720 && new_day_screen_reads(band, 2);
        }, 2ms, NEW_DAY_BAND);
        if (!night) {
            xdo("keyup t");
            xdo("keydown t");
        }
    }
    xdo("keyup t");
    EXPECT_TRUE(night);
    EXPECT_TRUE(wait_for_shot("day-2", 60s, [](const Image& img) { return clock_reads(img, "Day 2 5:"); }, 10ms, CLOCK));
    EXPECT_EQ(game_->terminate(10s * SLOWNESS), 0);
}

// The game's sound recorded by SDL's disk driver: 16-bit stereo frames at 48 kHz, as the mixer
// made them, appended as the game plays. The clock runs as the wall's, so a minute recorded is a
// minute played.
class EndToEndHearing : public EndToEnd {
protected:
    int speed() const override { return 1; }
    std::filesystem::path recording() const { return SHOTS_DIR / (name_ + ".raw"); }
    std::map<std::string, std::string> environment() const override {
        return {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", recording().string()}};
    }
    void TearDown() override {
        EndToEnd::TearDown();
        if (!HasFailure() && std::getenv("QM_E2E_KEEP_SHOTS") == nullptr) std::filesystem::remove(recording());
    }

    std::uintmax_t recorded_bytes() const {
        std::error_code ec;
        const auto n = std::filesystem::file_size(recording(), ec);
        return ec ? 0 : n;
    }
    // The loudest sample between two byte offsets of the recording.
    int loudest(std::uintmax_t from, std::uintmax_t to) const {
        std::ifstream in(recording(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from & ~std::uintmax_t{1}));
        int peak = 0;
        std::int16_t s = 0;
        for (std::uintmax_t at = from; at + 2 <= to && in.read(reinterpret_cast<char*>(&s), 2); at += 2) {
            peak = std::max(peak, std::abs(int{s}));
        }
        return peak;
    }
    // The recorded frames between two byte offsets, left and right interleaved.
    std::vector<std::int16_t> samples(std::uintmax_t from, std::uintmax_t to) const {
        std::ifstream in(recording(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(from & ~std::uintmax_t{3}));
        std::vector<std::int16_t> out((to - (from & ~std::uintmax_t{3})) / 4 * 2);
        in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size() * 2));
        out.resize(static_cast<std::size_t>(in.gcount()) / 4 * 2);
        return out;
    }
    // Waits until the samples recorded after byte `from` satisfy `check` (given their peak).
    bool wait_for_sound(std::uintmax_t from, std::chrono::milliseconds timeout, auto&& check) {
        const auto end = Clock::now() + timeout * SLOWNESS;
        do {
            if (check(loudest(from, recorded_bytes()))) return true;
            std::this_thread::sleep_for(100ms);
        } while (Clock::now() < end);
        return false;
    }
};

TEST_F(EndToEndHearing, AMinuteOfPlayIsStereoAtAnEveningsLoudnessUnderFullScaleAndSilentAfterM) {
    ASSERT_TRUE(click_at(360, 320));
    ASSERT_TRUE(wait_for_shot("day-1", 30s, [](const Image& img) { return clock_reads(img, "Day 1 "); }, 5ms, CLOCK));
    take_the_hoe();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(xdo_window("mousemove", "408 180"));  // the lawn east of her
    std::this_thread::sleep_for(300ms);

    // The birds of the afternoon stay under a tenth of full scale; the hoe's knock is far louder.
    constexpr int WORK = 8000;
    const std::uintmax_t before_work = recorded_bytes();
    EXPECT_GT(before_work, 0u) << "nothing recorded; game output:\n" << game_->output();
    ASSERT_TRUE(xdo("click 1"));
    EXPECT_TRUE(wait_for_sound(before_work, 20s, [](int peak) { return peak > WORK; }))
        << "peak " << loudest(before_work, recorded_bytes());

    // A scripted minute: she walks about the lawn and the garden, tilling as she goes.
    constexpr const char* WALKS[] = {"a", "s", "d", "w", "a", "w", "d", "s"};
    for (int round = 0; round < 12; ++round) {
        const std::string way = WALKS[round % 8];
        xdo("keydown " + way);
        std::this_thread::sleep_for(2s);
        xdo("keyup " + way);
        xdo("key space");
        std::this_thread::sleep_for(3s);
    }
    const std::vector<std::int16_t> minute = samples(before_work, recorded_bytes());
    ASSERT_GT(minute.size(), 2u * 48000 * 30) << "half a minute recorded at least";
    const double lufs = test::integrated_lufs(minute);
    EXPECT_NEAR(lufs, -24.0, 3.0);
    EXPECT_LT(20 * std::log10(test::true_peak(minute)), -1.0);
    double sides = 0, middle = 0;  // stereo, not the same in both ears
    for (std::size_t n = 0; n + 1 < minute.size(); n += 2) {
        sides += std::abs(minute[n] - minute[n + 1]);
        middle += std::abs(minute[n] + minute[n + 1]);
    }
    EXPECT_GT(sides, 0.01 * middle);
    std::printf("a minute of play: %.1f LUFS, %.1f dBTP, sides/middle %.3f\n", lufs,
                20 * std::log10(test::true_peak(minute)), sides / middle);

    // M mutes everything: the birds too. Half a second of the game's output in a row is silence.
    ASSERT_TRUE(xdo("key m"));
    std::this_thread::sleep_for(50ms);
    shot("muted");  // the speaker mark, crossed out, top right
    const auto last_half_second = [&] {
        const std::uintmax_t n = recorded_bytes();
        return loudest(n > 96000 ? n - 96000 : 0, n);
    };
    const auto end = Clock::now() + 30s * SLOWNESS;
    while (last_half_second() > 0 && Clock::now() < end) std::this_thread::sleep_for(100ms);
    EXPECT_EQ(last_half_second(), 0);
    EXPECT_EQ(game_->terminate(10s * SLOWNESS), 0);
}

}  // namespace
}  // namespace qm::e2e
