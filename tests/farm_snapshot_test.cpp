// The farm drawn with the real generated art, the way a player sees it at the start of a day:
// the frames are written to snapshots/ in the build directory for a person to look at, and
// checked for what the light and the range overlay must do to them.
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "day_clock.hpp"
#include "collection_panel.hpp"
#include "game.hpp"
#include "graphics.hpp"
#include "lily.hpp"
#include "milestones.hpp"
#include "random.hpp"
#include "support/fake_input.hpp"
#include "ui.hpp"
#include "support/sdl_fixture.hpp"
#include "world.hpp"

namespace qm {
namespace {

constexpr std::uint16_t DAWN = 240;
const Cell HIVE_CELL = cell(-15, -13);

using Frame = std::vector<std::uint32_t>;

class FarmSnapshot : public ::testing::Test {
protected:
    void SetUp() override {
        // The build directory holds the generated sheets and the font; tests run from there.
        if (!std::filesystem::exists("assets/ground.png") || !std::filesystem::exists(FONT_PATH)) {
            GTEST_SKIP() << "no generated art in " << std::filesystem::current_path();
        }
        sdl_.emplace();
        canvas_ = test::make_canvas(720, 360);
        auto built = DrawContext::create(canvas_, canvas_);
        ASSERT_TRUE(built) << built.error().to_string();
        ctx_.emplace(std::move(*built));

        set_rng_state(0x5EED);
        world_.setup_farm();
        const std::array<std::array<std::uint8_t, 3>, 13> genomes{{{0, 0, 0}, {2, 2, 2}, {0, 2, 2}, {2, 0, 2}, {2, 2, 0},
                                                                  {0, 0, 2}, {0, 2, 0}, {2, 0, 0}, {1, 1, 1}, {0, 1, 2},
                                                                  {1, 0, 1}, {0, 2, 1}, {2, 1, 0}}};
        const std::array<Cell, 13> beds{cell(-2, -12), cell(-4, -12), cell(-6, -12), cell(-1, -11), cell(-3, -11),
                                        cell(-5, -11), cell(-1, -13), cell(-3, -13), cell(-5, -13), cell(-2, -10),
                                        cell(-4, -10), cell(-2, -14), cell(-14, -12)};  // the last beside the hive
        for (std::size_t k = 0; k < beds.size(); ++k) {
            const FlowerStage stage = k % 5 == 4 ? FlowerStage::Bud : FlowerStage::Flower;
            world_.set_tile(beds[k], Soil{Flower{NEVER, genomes[k], stage}, k % 2 == 0});
        }
        world_.set_tile(HIVE_CELL, Hive{BeeHive{HIVE_CELL, HONEY_MAX, 2}});

        lily_.morning_reset();
        lily_.position = Lily::MORNING_POINT;
        lily_.anchor = lily_.position;
        lily_.facing = {-2 * ONE_UNIT, 0};
        lily_.tool = std::make_unique<WateringCan>();
        ctx_->transform.center = lily_.position;
    }

    // Draws one frame as the game does, saves it under snapshots/ and returns its pixels.
    Frame shoot(const char* name, std::uint16_t tick, Cell selected) {
        lily_.selection = selected - containing_tile(lily_.position);
        EXPECT_TRUE(world_.draw(*ctx_, lily_, tick));
        draw_mark_strip_and_pad();
        EXPECT_TRUE(ctx_->draw_daytime(1, tick));
        return save(name);
    }

    // The window's pixels (720 × 360 at every scale), also saved under snapshots/.
    Frame save(const std::string& name, int scale = 1) {
        const int w = 720 * scale;
        const int h = 360 * scale;
        Frame pixels(static_cast<std::size_t>(w * h));
        EXPECT_EQ(SDL_RenderReadPixels(ctx_->renderer(), nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), w * 4), 0);
        std::filesystem::create_directories("snapshots");
        const SurfacePtr surface{SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), w, h, 32, w * 4, SDL_PIXELFORMAT_RGBA32)};
        EXPECT_EQ(IMG_SavePNG(surface.get(), ("snapshots/" + name + ".png").c_str()), 0) << SDL_GetError();
        return pixels;
    }

    // East of the range, marks in every tint (a row each) on every ground; and the pad, held.
    void draw_mark_strip_and_pad() {
        const std::optional<std::uint32_t> tints[] = {std::nullopt, YELLOW, 0xFF0000, 0x000000, 0x004040, 0x00FFFF};
        for (std::uint32_t k = 0; k < 24; ++k) {
            const Fixed at = centre_of(cell(static_cast<std::int16_t>(9 + 4 * (k % 4) - k / 4 % 2), static_cast<std::int16_t>(k / 4 - 17)));
            EXPECT_TRUE(ctx_->draw_ground(k % 4, std::nullopt, at.i, at.j) && ctx_->draw_ground(4, tints[k / 4], at.i, at.j));
        }
        EXPECT_TRUE((MovePad{.finger = 1, .vector = {0x10000, -0x10000}}.draw(*ctx_)));
    }

    static double brightness(const Frame& f, int x0, int x1) {
        double sum = 0;
        for (int y = 40; y < 360; ++y) {  // below the clock
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t p = f[static_cast<std::size_t>(y * 720 + x)];
                sum += (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
            }
        }
        return sum / (320.0 * (x1 - x0));
    }
    static int differing(const Frame& a, const Frame& b, int x0, int x1) {
        int n = 0;
        for (int y = 40; y < 360; ++y) {
            for (int x = x0; x < x1; ++x) {
                const auto k = static_cast<std::size_t>(y * 720 + x);
                if (a[k] != b[k]) ++n;
            }
        }
        return n;
    }

    std::optional<test::SdlSession> sdl_;
    Canvas canvas_;
    std::optional<DrawContext> ctx_;
    World world_;
    Lily lily_;
};

TEST_F(FarmSnapshot, NoonDawnAndTheHiveRange) {
    const Cell flower_bed = cell(-2, -12);
    const Frame noon = shoot("noon", NOON, flower_bed);
    const Frame dawn = shoot("dawn", DAWN, flower_bed);
    const Frame range = shoot("hive_range", NOON, HIVE_CELL);

    // Dawn light is red and dim: darker everywhere, and a red cast.
    EXPECT_LT(brightness(dawn, 0, 720), 0.6 * brightness(noon, 0, 720));
    // The hive's range covers the garden west of the gardener; its eastern tip, column 1, ends
    // at x 360, so the lawn further east looks the same with and without the overlay.
    EXPECT_GT(differing(noon, range, 0, 300), 10000);
    EXPECT_EQ(differing(noon, range, 460, 720), 0);
}

// The screens drawn over the field, at scale 1 and 2 of a 720 × 360 window: the colour
// collection with a notice above it, and the title card.
class ScreensSnapshot : public FarmSnapshot, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        FarmSnapshot::SetUp();
        if (IsSkipped()) return;
        ctx_.reset();
        canvas_ = test::make_canvas(720 * GetParam(), 360 * GetParam());
        auto built = DrawContext::create(canvas_, canvas_);
        ASSERT_TRUE(built) << built.error().to_string();
        ctx_.emplace(std::move(*built));
        ASSERT_TRUE(ctx_->adjust_scale());
        ctx_->transform.center = lily_.position;
    }
    std::string name(const char* what) const { return std::string(what) + "_" + std::to_string(GetParam()) + "x"; }

    test::FakeInput input_;
    Controls controls_{input_};
};

TEST_P(ScreensSnapshot, TheCollectionANoticeAndTheTitleCard) {
    const int s = GetParam();
    ASSERT_EQ(ctx_->scale, static_cast<std::uint32_t>(s));
    Collection collection;
    for (const std::size_t k : {13u, 0u, 26u, 4u, 8u, 10u, 16u, 22u, 12u}) collection.record(k, 1 + k % 4);
    Notices notices;
    notices.raise(notice_text({Happening::Kind::FlowerOpened, 5}), genotype_colour(5));
    notices.raise(night_notice(12, 0));
    controls_.collection_open = true;
    ASSERT_TRUE(draw_frame(*ctx_, controls_, world_, lily_, 4, NOON, std::chrono::microseconds(2345),
                           {&collection, &notices}));
    const Frame some = save(name("collection"), s);

    ASSERT_TRUE(world_.draw(*ctx_, lily_, 1920));
    ASSERT_TRUE(ctx_->draw_intro());
    save(name("intro"), s);

    // Every genome seen: 27 swatches, no two alike.
    for (std::size_t k = 0; k < GENOTYPES; ++k) collection.record(k, 2);
    ASSERT_TRUE(draw_frame(*ctx_, controls_, world_, lily_, 4, NOON, std::chrono::microseconds(2345), {&collection}));
    const Frame all = save(name("collection_full"), s);
    const CollectionLayout layout = collection_layout(*ctx_);
    std::vector<Frame> swatches;
    for (const SDL_Rect& r : layout.swatches) {
        Frame swatch;
        for (int y = r.y * s; y < (r.y + r.h) * s; ++y) {
            for (int x = r.x * s; x < (r.x + r.w) * s; ++x) swatch.push_back(all[static_cast<std::size_t>(y * 720 * s + x)]);
        }
        swatches.push_back(std::move(swatch));
    }
    for (std::size_t a = 0; a < swatches.size(); ++a) {
        for (std::size_t b = a + 1; b < swatches.size(); ++b) EXPECT_NE(swatches[a], swatches[b]) << a << " and " << b;
    }
    // The unseen swatches of the first panel were silhouettes: they differ from the full panel's.
    EXPECT_NE(some, all);
}

// A run with a goal: the milestones under the swatches, a milestone's notice and a morning's hint,
// then the finale's blossoms and bees over the field.
TEST_P(ScreensSnapshot, TheMilestonesAHintAndTheFinale) {
    const int s = GetParam();
    Collection collection;
    Milestones milestones;
    for (const std::uint32_t k : {13u, 12u, 0u, 4u, 22u}) {
        collection.record(k, 1 + k % 4);
        milestones.hear({MilestoneEvent::Kind::NewColour, k}, 1 + k % 4);
    }
    milestones.hear({MilestoneEvent::Kind::Harvest, 2}, 2);
    Notices notices;
    notices.raise(milestone_notice(Milestone::White));
    notices.raise(hint_notice(Hint::KeepCrossesClose));
    controls_.collection_open = true;
    const auto frame = [&](const Overlays& overlays) {
        return draw_frame(*ctx_, controls_, world_, lily_, 4, NOON, std::chrono::microseconds(2345), overlays);
    };
    ASSERT_TRUE(frame({&collection, &notices}));
    const Frame without = save(name("collection_before_milestones"), s);
    ASSERT_TRUE(frame({.collection = &collection, .notices = &notices, .milestones = &milestones}));
    const Frame with = save(name("milestones"), s);
    // The swatches keep their size; the panel grows by the list and stays on the screen.
    const CollectionLayout plain = collection_layout(*ctx_);
    const CollectionLayout listed = collection_layout(*ctx_, WithMilestones::Yes);
    EXPECT_EQ(plain.swatches[0].w, listed.swatches[0].w);
    EXPECT_GT(listed.panel.h, plain.panel.h + 40);
    EXPECT_LE(listed.panel.y + listed.panel.h, ctx_->transform.height);
    EXPECT_NE(without, with);

    controls_.collection_open = false;
    Celebration celebration;
    celebration.start();
    for (int k = 0; k < 60; ++k) celebration.advance();
    Overlay cards;
    cards.open(Card::Finale);
    ASSERT_TRUE(frame({.cards = &cards, .view = {.day = 4, .tick = NOON, .collection_completed = 12}, .celebration = &celebration}));
    const Frame finale = save(name("finale"), s);
    ASSERT_TRUE(frame({}));
    EXPECT_NE(finale, save(name("field"), s));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScreensSnapshot, ::testing::Values(1, 2));

}  // namespace
}  // namespace qm
