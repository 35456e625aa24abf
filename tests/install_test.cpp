// The installed game: `cmake --install` into a scratch prefix, the desktop entry and the metainfo
// through their validators, every icon size, and the launcher started from / under Xvfb.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/e2e_harness.hpp"

namespace qm::e2e {
namespace {

namespace fs = std::filesystem;
const std::string APP_ID = "io.github.quillmarsh.Quillmarsh";

bool run(const std::string& command) { return std::system((command + " >&2").c_str()) == 0; }

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A game that dies takes its window along; Xlib's default handler would end this program
        // (and leave its Xvfb behind) on the next request about that window.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        char pattern[] = "/tmp/quillmarsh-install-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        prefix_ = pattern;
        ASSERT_TRUE(run("cmake --install '" QM_BUILD_DIR "' --prefix '" + prefix_.string() + "'"));
    }
    static void TearDownTestSuite() { fs::remove_all(prefix_); }

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
    GameProcess game((prefix_ / "games/quillmarsh").string(), "/", xvfb.display(), 1, QM_SANITIZED, log);
    const auto window = x.find_window("Quillmarsh", 60s);
    ASSERT_TRUE(window) << game.output();
    // The title card came up: the sheets and the font were found from the data directory.
    Image shot;
    EXPECT_TRUE(poll_shots(x, *window, 30s, shot, [](const Image& i) { return dark_fraction(i, i.whole()) < 0.5; }))
        << "the window stayed dark";
    save_png(shot, fs::path(QM_BUILD_DIR) / "e2e-shots/installed-game.png");
    EXPECT_EQ(game.terminate(30s), 0) << game.output();
}

TEST_F(Installed, LauncherRefusesToStartWithoutItsData) {
    const fs::path data = prefix_ / "share/games/quillmarsh";
    // Each case hides one thing and puts it back; the launcher must name the data directory.
    for (const fs::path& hidden : {data, data / "assets"}) {
        const fs::path aside = hidden.string() + ".aside";
        fs::rename(hidden, aside);
        const fs::path log = fs::path(QM_BUILD_DIR) / "e2e-shots/launcher-without-data.log";
        const pid_t pid = spawn({(prefix_ / "games/quillmarsh").string()}, environment_with({}), "/", log);
        const auto status = wait_for(pid, 30s);
        fs::rename(aside, hidden);
        ASSERT_TRUE(status) << "the launcher did not end";
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << hidden;
        std::ifstream in(log);
        const std::string said{std::istreambuf_iterator<char>(in), {}};
        EXPECT_NE(said.find(data.string()), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace qm::e2e
