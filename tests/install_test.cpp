// The installed game: `cmake --install` into a scratch prefix, the desktop entry and the metainfo
// through their validators, every icon size, and the launcher started from / under Xvfb.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include "support/e2e_harness.hpp"

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;
const std::string APP_ID = "io.github.quillmarsh.Quillmarsh";

bool run(const std::string& command) { return std::system((command + " >&2").c_str()) == 0; }

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A game that dies takes its window along: Xlib's default handler would then end us.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        char pattern[] = "/tmp/quillmarsh-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        prefix_ = pattern;
        ASSERT_TRUE(run("cmake --install '" QM_BUILD_DIR "' --prefix '" + prefix_.string() + "'"));
    }
    static void TearDownTestSuite() { fs::remove_all(prefix_); }

    // Started from /, as a desktop would; no preloads: the shell hangs under ASan's and faketime's.
    static pid_t launch(const fs::path& log, const std::string& display = "") {
        const auto env = environment_with({{"DISPLAY", display}, {"SDL_VIDEODRIVER", display.empty() ? "" : "x11"},
                                           {"LD_PRELOAD", ""}, {"ASAN_OPTIONS", "detect_leaks=0"}});
        return spawn({(prefix_ / "games/quillmarsh").string()}, env, "/", log);
    }
    static std::string said(const fs::path& log) { std::ifstream in(log); return {std::istreambuf_iterator<char>(in), {}}; }
    static inline fs::path prefix_;
};

TEST_F(Installed, DesktopEntryAndMetainfoValidate) {
    EXPECT_TRUE(run("desktop-file-validate '" + (prefix_ / "share/applications" / (APP_ID + ".desktop")).string() + "'"));
    EXPECT_TRUE(run("appstreamcli validate --no-net '" + (prefix_ / "share/metainfo" / (APP_ID + ".metainfo.xml")).string() + "'"));
}

TEST_F(Installed, EveryIconSizeIsASquareWithAClearCorner) {
    for (const int size : {QM_ICON_SIZES}) {
        const fs::path file = prefix_ / "share/icons/hicolor" / (std::to_string(size) + "x" + std::to_string(size)) /
                              "apps" / (APP_ID + ".png");
        SDL_Surface* loaded = IMG_Load(file.c_str());
        ASSERT_NE(loaded, nullptr) << file << ": " << IMG_GetError();
        SDL_Surface* icon = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(loaded);
        EXPECT_TRUE(icon->w == size && icon->h == size) << file << " is " << icon->w << " x " << icon->h;
        // The hex leaves the corners clear, and the picture fills the middle (alpha is byte 3).
        const auto* rgba = static_cast<const Uint8*>(icon->pixels);
        EXPECT_EQ(rgba[3], 0) << file;
        EXPECT_EQ(rgba[(size / 2) * icon->pitch + (size / 2) * 4 + 3], 255) << file;
        SDL_FreeSurface(icon);
    }
}

TEST_F(Installed, LauncherStartsTheGameFromRootAndItQuitsCleanly) {
    Xvfb xvfb;
    XClient x(xvfb.display());
    const fs::path log = fs::path(QM_BUILD_DIR) / "e2e-shots/installed-game.log";
    const pid_t game = launch(log, xvfb.display());
    const int slowness = QM_SANITIZED ? 3 : 1;
    const auto window = x.find_window("Quillmarsh", 60s * slowness);
    ASSERT_TRUE(window) << said(log);
    // The title card came up: the sheets and the font were found from the data directory.
    Image shot;
    EXPECT_TRUE(poll_shots(x, *window, 30s * slowness, shot, [](const Image& i) { return dark_fraction(i, i.whole()) < 0.5; }))
        << "the window stayed dark";
    save_png(shot, fs::path(QM_BUILD_DIR) / "e2e-shots/installed-game.png");
    // The running window names its desktop entry as its class, as the entry's StartupWMClass says,
    // and carries the game's own 64-pixel icon: a dock ties it to its launcher.
    std::ifstream entry(prefix_ / "share/applications" / (APP_ID + ".desktop"));
    const std::string entry_text{std::istreambuf_iterator<char>(entry), {}};
    EXPECT_NE(entry_text.find("\nStartupWMClass=" + APP_ID + "\n"), std::string::npos);
    const std::string props = output_of("xprop -display " + xvfb.display() + " -id " + std::to_string(*window) +
                                        " WM_CLASS _NET_WM_ICON 2>&1");
    EXPECT_NE(props.find("WM_CLASS(STRING) = \"" + APP_ID + "\", \"" + APP_ID + "\""), std::string::npos) << props;
    EXPECT_NE(props.find("_NET_WM_ICON(CARDINAL) = \tIcon (64 x 64):"), std::string::npos) << props.substr(0, 400);
    kill(game, SIGTERM);
    const auto status = wait_for(game, 30s * slowness);
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << said(log);
}

TEST_F(Installed, LauncherRefusesToStartWithoutItsData) {
    const fs::path data = prefix_ / "share/games/quillmarsh";
    // Each case hides one thing and puts it back; the launcher must name the data directory.
    for (const fs::path& hidden : {data, data / "assets"}) {
        const fs::path aside = hidden.string() + ".aside";
        fs::rename(hidden, aside);
        const fs::path log = fs::path(QM_BUILD_DIR) / "e2e-shots/launcher-without-data.log";
        const auto status = wait_for(launch(log), 30s);
        fs::rename(aside, hidden);
        ASSERT_TRUE(status) << "the launcher did not end";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << hidden;
        EXPECT_NE(said(log).find(data.string()), std::string::npos) << said(log);
    }
}

}  // namespace
}  // namespace qm::e2e
