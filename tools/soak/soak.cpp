// Random play, headless: the game's own intro, day frames, new days and nights, played through
// the game's own step on the dummy video driver, fed random keys, clicks, motion, focus changes,
// fingers, window sizes and full-screen toggles, with the day clock pushed ahead now and then so
// that many days and nights go by.
// After every frame the world's invariants are checked against a brute-force recount.
//
//     quillmarsh_soak [frames] [seed] [--digest]     (run from the build directory; prints the seed)
//
// A failure names the frame and the seed; the seed fixes the game's generator and the maps' hash
// key as well as the soak's dice, so the same seed replays the same run. With --digest every
// frame's pixels and the world's state go into one running digest, printed every thousand frames
// and at the end: two builds that play and draw alike print the same lines. A fatal stop of the
// game itself leaves through its own fatal path with its own message and status.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "audio.hpp"
#include "collection_panel.hpp"
#include "controls.hpp"
#include "forecast.hpp"
#include "game.hpp"
#include "graphics.hpp"
#include "heap_use.hpp"
#include "lily.hpp"
#include "random.hpp"
#include "sdl.hpp"
#include "sdl_input.hpp"
#include "tools.hpp"
#include "world.hpp"

namespace qm {
namespace {

// Every frame's pixels, as the window shows them, and the world's state (tiles in any order, the
// gardener, the clock, the collection), chained frame by frame.
class FrameDigest {
public:
    void add_frame(SDL_Window* window, const Game& game, std::uint64_t frame) {
        add_words({frame});
        // The software renderer draws into the window's surface, which holds the frame after it
        // is shown.
        if (SDL_Surface* surface = SDL_GetWindowSurface(window)) {
            add_words({static_cast<std::uint64_t>(surface->w), static_cast<std::uint64_t>(surface->h)});
            const auto row = static_cast<std::size_t>(surface->w) * 4;
            const auto* pixels = static_cast<const std::uint8_t*>(surface->pixels);
            for (int y = 0; y < surface->h; ++y) {
                add(std::span(pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(surface->pitch), row));
            }
        }
        // The tiles: a sum of each tile's own hash, so the maps' order does not matter.
        std::uint64_t tiles = 0;
        for (const auto& [at, tile] : game.world.tiles()) tiles += tile_hash(at, tile);
        const LoopState& s = game.state;
        const Lily& lily = game.lily;
        add_words({tiles, game.world.tiles().size(), s.day, s.time_of_day, s.day_end, s.day_over ? 1u : 0u,
                   s.shown_tick, fixed(lily.position), fixed(lily.anchor), fixed(lily.facing),
                   lily.selection ? cell_word(*lily.selection) | 1ULL << 40 : 0, lily.in_building ? 1u : 0u,
                   lily.carried_flowers.size(), lily.carried_hive ? 1ULL << 40 | lily.carried_hive->honey : 0,
                   lily.tool ? lily.tool->tint() | 1ULL << 40 : 0, game.collection.seeds_left(),
                   game.milestones.reached(), rng_state()});
        for (const Flower& f : lily.carried_flowers) add_words({flower_word(f)});
    }

    std::uint64_t value() const { return digest_; }

private:
    static std::uint64_t fixed(Fixed p) {
        return static_cast<std::uint32_t>(p.i) | static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.j)) << 32;
    }
    static std::uint64_t cell_word(Cell c) { return c.i | static_cast<std::uint64_t>(c.j) << 16; }
    static std::uint64_t flower_word(const Flower& f) {
        return packed_genes(f) | static_cast<std::uint64_t>(f.stage) << 24 | static_cast<std::uint64_t>(f.next_stage) << 32;
    }
    static std::uint64_t tile_hash(Cell at, const Tile& tile) {
        std::array<std::uint64_t, 4> words{cell_word(at), tile.index(), 0, 0};
        if (const auto* hive = std::get_if<Hive>(&tile)) {
            words[2] = hive->hive.honey | static_cast<std::uint64_t>(hive->hive.level) << 32;
            words[3] = cell_word(hive->hive.position);
        } else if (const auto* soil = std::get_if<Soil>(&tile)) {
            words[2] = soil->watered ? 1 : 0;
            words[3] = soil->flower ? flower_word(*soil->flower) | 1ULL << 60 : 0;
        }
        return siphash13(0, 0, bytes_of(words));
    }
    static std::span<const std::uint8_t> bytes_of(const std::array<std::uint64_t, 4>& words) {
        return {reinterpret_cast<const std::uint8_t*>(words.data()), sizeof words};
    }
    void add_words(std::initializer_list<std::uint64_t> words) {
        add({reinterpret_cast<const std::uint8_t*>(std::data(words)), words.size() * sizeof(std::uint64_t)});
    }
    void add(std::span<const std::uint8_t> bytes) { digest_ = siphash13(digest_, 0x5EED, bytes); }

    std::uint64_t digest_ = 0;
};

// The soak's own draws, apart from the game's generator so that the game's draws stay its own.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool one_in(int n) { return below(n) == 0; }
    float unit() { return static_cast<float>(next() >> 40) / static_cast<float>(1 << 24); }

private:
    std::uint64_t state_;
};

// Held keys, Shift and the mouse as the dice left them; the full-screen state is the real
// window's, switched through SDL like the game does.
class SoakInput final : public InputState {
public:
    explicit SoakInput(SDL_Window* window) : sdl_(window) {}
    std::set<SDL_Scancode> keys;
    bool shift = false;
    std::optional<ScreenPoint> mouse;

    bool key_down(SDL_Scancode key) const override { return keys.contains(key); }
    bool shift_down() const override { return shift; }
    std::optional<ScreenPoint> mouse_in_window() const override { return mouse; }
    bool fullscreen() const override { return sdl_.fullscreen(); }
    std::expected<void, std::string> set_fullscreen(bool on) override { return sdl_.set_fullscreen(on); }
    Gamepads& gamepads() override { return sdl_.gamepads(); }
    const Gamepads& gamepads() const override { return sdl_.gamepads(); }

private:
    SdlInput sdl_;
};

constexpr SDL_Scancode KEYS[] = {SDL_SCANCODE_W,     SDL_SCANCODE_A,    SDL_SCANCODE_S,     SDL_SCANCODE_D,
                                 SDL_SCANCODE_UP,    SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT,  SDL_SCANCODE_RIGHT,
                                 SDL_SCANCODE_F,     SDL_SCANCODE_F11,  SDL_SCANCODE_SPACE, SDL_SCANCODE_ESCAPE,
                                 SDL_SCANCODE_LSHIFT, SDL_SCANCODE_Q,     SDL_SCANCODE_RETURN, SDL_SCANCODE_C,
                                 // the use key, time flying, the end of the day, pause and help
                                 SDL_SCANCODE_E,     SDL_SCANCODE_T,    SDL_SCANCODE_N,     SDL_SCANCODE_P,
                                 SDL_SCANCODE_H,     SDL_SCANCODE_F1,   SDL_SCANCODE_KP_ENTER,
                                 // mute, quieter, louder; the music's own
                                 SDL_SCANCODE_M,     SDL_SCANCODE_MINUS, SDL_SCANCODE_EQUALS, SDL_SCANCODE_KP_PLUS,
                                 SDL_SCANCODE_B,     SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_RIGHTBRACKET,
                                 // every genome label on the screen
                                 SDL_SCANCODE_G};


struct Figures {
    std::uint64_t frames = 0;
    std::uint64_t intro_frames = 0;
    std::uint64_t nights = 0;
    std::uint64_t events = 0;
    std::uint64_t state_changes = 0;  // held keys, Shift, mouse and window-size changes
    std::uint64_t checks = 0;
    std::uint64_t held_frames = 0;  // under the pause or the end-day card
    std::uint64_t milestones = 0;   // reached, of ten
    std::uint64_t finale_frames = 0;  // with the finale's card up
    std::uint64_t seeds_taken = 0;    // from the collection
};

// The collection's seeds across frames: never more than it keeps, each one taken of a genome seen
// in bloom, and its count falls by exactly the seeds the frame told of (a night grants more).
class SeedWatch {
public:
    std::optional<std::string> check(const Game& game, bool night) {
        const std::uint32_t left = game.collection.seeds_left();
        if (left > Collection::SEEDS_KEPT_MOST) return "the collection keeps more seeds than it may";
        std::uint32_t taken = 0;
        bool opened = std::exchange(open_, game.controls.collection_open) || open_;
        for (const Happening& h : game.heard) {
            opened = opened || h.kind == Happening::Kind::CollectionOpened;
            if (h.kind != Happening::Kind::SeedTaken) continue;
            ++taken;
            if (!game.collection.first_day(h.value)) return "a seed taken of a genome never seen in bloom";
        }
        // Enter and C in one frame may take a seed and close the panel: open at some time in the frame.
        if (taken > 0 && !opened) return "a seed taken from a closed collection";
        const std::uint32_t before = std::exchange(left_, left);
        if (night) {
            if (left != std::min(before + Collection::SEEDS_A_MORNING, Collection::SEEDS_KEPT_MOST)) return "the morning's grant miscounted";
        } else if (before != left + taken) {
            return "the seeds left changed by other than the seeds taken";
        }
        total += taken;
        return std::nullopt;
    }
    void started(const Game& game) { left_ = game.collection.seeds_left(); }
    std::uint64_t total = 0;

private:
    std::uint32_t left_ = 0;
    bool open_ = false;  // the collection, after the last frame
};

// The goals across frames: a milestone once reached keeps its day, the finale comes only with the
// 27th colour, its card never holds the game and leaves once the celebration is over.
class GoalWatch {
public:
    std::optional<std::string> check(const Game& game) {
        const Milestones& m = game.milestones;
        for (const MilestoneRow& row : MILESTONES) {
            auto& seen = days_[static_cast<std::size_t>(row.id)];
            const std::optional<std::uint64_t> day = m.reached_on(row.id);
            if (seen && day != seen) return std::string("milestone \"") + row.name + "\" changed its day";
            if (day && *day > game.state.day) return std::string("milestone \"") + row.name + "\" reached in the future";
            seen = day;
        }
        const bool complete = m.reached_on(Milestone::AllColours).has_value();
        if (complete != (m.colours() == GENOTYPES)) return "the finale and the colour count disagree";
        if (game.celebration.card_up() && !complete) return "a celebration before the collection was complete";
        if (game.overlay.is_open(Card::Finale) && !game.celebration.card_up()) return "the finale's card outstayed the celebration";
        if (game.screens.held() == Card::Finale) return "the finale's card held the game";
        return std::nullopt;
    }

private:
    std::array<std::optional<std::uint64_t>, MILESTONE_COUNT> days_{};
};

class Soak {
public:
    Soak(std::uint64_t seed, DrawContext& ctx, SoakInput& input) : dice_(seed), ctx_(ctx), input_(input) {}

    // Random input for the next frame: pushed events and a changed input state.
    void shake(bool intro) {
        SDL_Window* window = ctx_.canvas->window();
        int w = 1, h = 1;
        SDL_GetWindowSize(window, &w, &h);
        const int count = dice_.one_in(200) ? dice_.between(100, 2000) : dice_.between(0, 4);
        for (int k = 0; k < count; ++k) push(random_event(w, h, intro));
        if (dice_.one_in(6)) toggle(KEYS[dice_.below(std::size(KEYS))]);
        if (dice_.one_in(20)) flip(input_.shift);
        if (dice_.one_in(4)) move_mouse(w, h);
        // Large windows (full screen is the dummy display's 1024 × 768) are slow to paint in
        // software, a hundred times slower than small ones: they last a few frames only.
        big_frames_ = w * h > 480 * 270 ? big_frames_ + 1 : 0;
        if (big_frames_ > 3 && input_.fullscreen()) {
            push(key(SDL_SCANCODE_F11, true));
        } else if (big_frames_ > 3 || dice_.one_in(300) || figures.frames == 0) {
            resize(window);
        }
    }

    // Now and then the collection is opened and a seed asked for: a click or a touch on a swatch
    // (seen or not), or the highlight moved and Enter or Space pressed.
    void take_seeds(const Controls& controls) {
        if (!dice_.one_in(40)) return;
        if (!controls.collection_open) {
            push(key(SDL_SCANCODE_C));
            return;
        }
        const CollectionLayout panel = collection_layout(ctx_, WithMilestones::Yes);
        const SDL_Rect& swatch = panel.swatches[static_cast<std::size_t>(dice_.below(GENOTYPES))];
        const auto scale = static_cast<int>(ctx_.scale);
        const int x = (swatch.x + swatch.w / 2) * scale;
        const int y = (swatch.y + swatch.h / 2) * scale;
        SDL_Event e{};
        switch (dice_.below(3)) {
            case 0:
                e.type = SDL_MOUSEBUTTONDOWN;
                e.button.button = SDL_BUTTON_LEFT;
                e.button.x = x;
                e.button.y = y;
                push(e);
                break;
            case 1: {
                int w = 1, h = 1;
                SDL_GetWindowSize(ctx_.canvas->window(), &w, &h);
                e.type = SDL_FINGERDOWN;
                e.tfinger.touchId = 1;
                e.tfinger.fingerId = 7;
                e.tfinger.x = static_cast<float>(x) / static_cast<float>(std::max(w, 1));
                e.tfinger.y = static_cast<float>(y) / static_cast<float>(std::max(h, 1));
                push(e);
                break;
            }
            default: {
                constexpr SDL_Scancode STEPS[] = {SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT};
                for (int k = dice_.below(4); k > 0; --k) push(key(STEPS[dice_.below(4)]));
                push(key(dice_.one_in(2) ? SDL_SCANCODE_RETURN : SDL_SCANCODE_SPACE));
                break;
            }
        }
    }

    // A busy morning: random flowers and hives around the start point and a random tool in
    // hand, so that growth, honey, hive menus, splits and the night's breeding all get their
    // turn; a random walk alone would rarely get past the shed.
    void stock(World& world, Lily& lily) {
        lily.tool = tool_for(static_cast<Choice>(dice_.below(5)));  // the shed's five choices come first
        const int flowers = dice_.between(0, 60);
        for (int k = 0; k < flowers + 3; ++k) {
            const int dj = dice_.between(-8, 8);
            const int di = 2 * dice_.between(-8, 8) + (dj & 1);
            const Cell c{static_cast<std::uint16_t>(2 + di), static_cast<std::uint16_t>(-12 + dj)};
            if (k >= flowers) {
                const auto honey = dice_.one_in(2) ? HONEY_MAX : static_cast<std::uint32_t>(dice_.below(int(HONEY_MAX)));
                world.set_tile(c, Hive{BeeHive{c, honey, static_cast<std::uint16_t>(dice_.between(1, 9))}});
                continue;
            }
            Flower f;
            for (auto& g : f.genes) g = static_cast<std::uint8_t>(dice_.below(3));
            f.stage = static_cast<FlowerStage>(dice_.below(4));
            f.next_stage = static_cast<std::uint16_t>(dice_.between(1920, 26000));
            if (f.stage == FlowerStage::Flower || (f.stage == FlowerStage::Bud && dice_.one_in(2))) f.next_stage = NEVER;
            world.set_tile(c, Soil{f, dice_.one_in(2)});
        }
    }

    // Checks everything the world promises after a frame played with tick `t` (negative: after
    // the night, before the day's first frame).
    void check(const World& world, const Lily& lily, int t) {
        for (const auto& [cell, tile] : world.tiles()) {
            if (const Flower* f = flower_on(tile)) check_flower(*f, cell, t);
            if (const auto* hive = std::get_if<Hive>(&tile)) {
                check_hive(hive->hive, cell);
                expect(world.hive_ranges().contains(cell), cell, "a hive without a range set");
                expect(hive->hive.position == cell, cell, "a hive whose position is not its cell");
            }
        }
        for (const auto& [cell, set] : world.hive_ranges()) {
            const auto found = world.tiles().find(cell);
            const auto* hive = found == world.tiles().end() ? nullptr : std::get_if<Hive>(&found->second);
            expect(hive != nullptr, cell, "a range set without a hive");
            if (!hive) continue;
            std::size_t in_range = 0;
            for (const auto& [c, tile] : world.tiles()) {
                if (!flower_on(tile) || distance(c, hive->hive.position) > HIVE_RANGE) continue;
                ++in_range;
                expect(set.contains(c), c, "a flower in range missing from its hive's set");
            }
            expect(set.size() == in_range, cell, "a hive's set holds cells that are no flowers in range");
        }
        for (const Flower& f : lily.carried_flowers) check_flower(f, Cell{}, -1);
        if (lily.carried_hive) {
            expect(lily.carried_hive->level >= 1, Cell{}, "a carried hive below level 1");
            expect(lily.carried_hive->honey <= HONEY_MAX, Cell{}, "a carried hive over full");
        }
        expect(world.walkable(lily.position.i, lily.position.j), containing_tile(lily.position),
               "Lily stands where nobody can");
        expect(dry_feet(world, lily.position), containing_tile(lily.position), "Lily's feet over water");
        // The aim is always one of the six tiles around hers, never her own, never further.
        expect(!lily.selection || std::ranges::count(NEIGHBOURS, *lily.selection) == 1, containing_tile(lily.position),
               "an aim that is no neighbour of her tile");
    }

    // What the frame played: each sound at most once (no pile-up however many events came), at
    // most one footstep, and the bees heard only near a hive, recounted from the map.
    // `held`: a card held the game this frame, and the place must be quiet.
    void check_sound(RecordingSound& sound, const World& world, const Lily& lily, const Controls& controls, bool held) {
        expect(sound.all == controls.volume.gain() && sound.music_level == controls.volume.music_gain(), Cell{},
               "the mixer's levels are not the player's");
        expect(controls.volume.level <= Volume::STEPS && controls.volume.music_level <= Volume::STEPS, Cell{},
               "a volume above its top step");
        expect(sound.all <= 1 && sound.music_level <= 1, Cell{}, "a level above full");
        std::array<int, SOUND_COUNT> times{};
        int steps = 0;
        for (const SoundId id : sound.played) {
            ++times[static_cast<std::size_t>(id)];
            steps += id == SoundId::StepGrass || id == SoundId::StepSoil || id == SoundId::StepWet ? 1 : 0;
        }
        expect(std::ranges::all_of(times, [](int n) { return n <= 1; }), Cell{}, "a sound played twice in a frame");
        expect(steps <= 1, Cell{}, "two footsteps in a frame");
        expect(sound.tunes.size() <= 1, Cell{}, "two colour tunes in a frame");
        expect(sound.loops_playing() <= LOOP_COUNT, Cell{}, "more loops playing than there are");
        const Cell here = containing_tile(lily.position);
        bool hive_near = false;
        for (const auto& [cell, tile] : world.tiles()) {
            hive_near = hive_near || (std::holds_alternative<Hive>(tile) && distance(cell, here) <= HUM_REACH);
        }
        const Place& hum = sound.loops[static_cast<std::size_t>(Loop::Hum)];
        const bool humming = hum.left + hum.right > 0;
        for (const Place& p : sound.loops) {
            expect(p.left >= 0 && p.right >= 0 && p.left <= 1 && p.right <= 1 && p.open > 0 && p.open <= 1, here,
                   "a loop placed out of bounds");
        }
        if (held) {
            expect(sound.loops_playing() == 0, here, "the place heard while a card holds the game");
        } else {
            expect(humming == hive_near, here, humming ? "bees heard far from every hive" : "a hive near her not heard");
        }
        sound.clear();
    }

    // The intro is silent, and a night keeps only its crickets and frogs.
    void check_quiet(RecordingSound& sound) {
        const auto heard = [&](Loop loop) { return sound.loops[static_cast<std::size_t>(loop)].left > 0; };
        expect(!heard(Loop::Hum) && !heard(Loop::Birds), Cell{}, "bees or birds heard through the intro or the night");
        sound.clear();
    }

    Figures figures;
    std::optional<std::string> failure;

private:
    void expect(bool ok, Cell at, const char* what) {
        ++figures.checks;
        if (!ok && !failure) failure = std::string(what) + " at (" + std::to_string(std::int16_t(at.i)) + ", " +
                                       std::to_string(std::int16_t(at.j)) + ")";
    }

    void check_flower(const Flower& f, Cell at, int t) {
        bool genes_ok = true;
        for (const auto g : f.genes) genes_ok = genes_ok && g <= 2;
        expect(genes_ok, at, "a gene outside 0..2");
        switch (f.stage) {
            case FlowerStage::Flower:
                expect(f.next_stage == NEVER, at, "an open flower with a stage to come");
                break;
            case FlowerStage::Bud:  // a stalled bud waits for water
                expect(f.next_stage == NEVER || f.next_stage > t, at, "a bud overdue after growing");
                break;
            case FlowerStage::Seed:
            case FlowerStage::Sprout:
                expect(f.next_stage != NEVER && f.next_stage > t, at, "a seed or sprout overdue after growing");
                break;
            default:
                expect(false, at, "a flower in no stage");
        }
    }

    void check_hive(const BeeHive& hive, Cell at) {
        expect(hive.honey <= HONEY_MAX, at, "a hive over full");
        expect(hive.level >= 1, at, "a hive below level 1");
    }

    void push(SDL_Event e) {
        ++figures.events;
        if (SDL_PushEvent(&e) < 0) {
            // A full queue drops the event, as it would drop a real one; the text is ours to free.
            if (e.type == SDL_DROPFILE) SDL_free(e.drop.file);
        }
    }

    // Window pixels, mostly near the middle where the gardener and her menus are.
    ScreenPoint point(int w, int h) {
        if (dice_.one_in(2)) return {dice_.between(-8, w + 8), dice_.between(-8, h + 8)};
        return {w / 2 + dice_.between(-96, 96), h / 2 + dice_.between(-96, 96)};
    }

    SDL_Event random_event(int w, int h, bool intro) {
        SDL_Event e{};
        const ScreenPoint p = point(w, h);
        switch (dice_.below(intro ? 12 : 10)) {
            case 0:
            case 1:
                e = key(KEYS[dice_.below(std::size(KEYS))]);
                break;
            case 2:
                e.type = SDL_KEYUP;
                e.key.keysym.scancode = KEYS[dice_.below(std::size(KEYS))];
                break;
            case 3:
            case 4:
                e.type = dice_.one_in(2) ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
                e.button.button = static_cast<Uint8>(dice_.between(1, 3));
                e.button.x = p.x;
                e.button.y = p.y;
                break;
            case 5:
                e.type = SDL_MOUSEMOTION;
                e.motion.x = p.x;
                e.motion.y = p.y;
                break;
            case 6:
            case 7:
            case 8: {
                constexpr Uint32 TYPES[] = {SDL_FINGERDOWN, SDL_FINGERMOTION, SDL_FINGERUP};
                e.type = TYPES[dice_.below(3)];
                e.tfinger.touchId = 1;
                e.tfinger.fingerId = dice_.one_in(8) ? static_cast<SDL_FingerID>(dice_.next()) : dice_.below(4);
                e.tfinger.x = dice_.one_in(2) ? dice_.unit() * 1.2f - 0.1f : 0.5f + (dice_.unit() - 0.5f) * 0.4f;
                e.tfinger.y = dice_.one_in(2) ? dice_.unit() * 1.2f - 0.1f : 0.5f + (dice_.unit() - 0.5f) * 0.4f;
                break;
            }
            case 9: {
                e.type = SDL_WINDOWEVENT;
                constexpr Uint8 KINDS[] = {SDL_WINDOWEVENT_ENTER, SDL_WINDOWEVENT_LEAVE, SDL_WINDOWEVENT_FOCUS_GAINED,
                                           SDL_WINDOWEVENT_FOCUS_LOST};
                e.window.event = KINDS[dice_.below(4)];
                break;
            }
            default: {  // intro: text and dropped files, which the game must free and ignore
                e.type = SDL_DROPFILE;
                e.drop.file = static_cast<char*>(SDL_malloc(8));
                std::snprintf(e.drop.file, 8, "x.png");
                break;
            }
        }
        // The intro ends at the first press; let it run a while first.
        const bool starts = e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_FINGERDOWN;
        if (intro && starts && !dice_.one_in(40)) e.type = SDL_MOUSEMOTION;
        return e;
    }

    // A key press; the full-screen keys F and F11 only now and then unless `surely`.
    SDL_Event key(SDL_Scancode code, bool surely = false) {
        const bool switches = code == SDL_SCANCODE_F || code == SDL_SCANCODE_F11;
        if (switches && !surely && !dice_.one_in(8)) code = SDL_SCANCODE_SPACE;
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = code;
        e.key.repeat = static_cast<Uint8>(dice_.below(2));
        return e;
    }

    void toggle(SDL_Scancode key) {
        ++figures.state_changes;
        if (!input_.keys.erase(key)) input_.keys.insert(key);
    }
    void flip(bool& b) {
        ++figures.state_changes;
        b = !b;
    }
    void move_mouse(int w, int h) {
        ++figures.state_changes;
        if (dice_.one_in(10)) input_.mouse.reset();  // focus lost
        else input_.mouse = point(w, h);
    }
    void resize(SDL_Window* window) {
        ++figures.state_changes;
        // Mostly small windows; now and then a sliver or a wall of up to 8K.
        int w = dice_.between(1, 480);
        int h = dice_.between(1, 270);
        if (big_frames_ == 0) {
            switch (dice_.below(8)) {
                case 0: w = dice_.between(1, 3), h = dice_.between(1, 3); break;
                case 1: w = dice_.between(1, 7680), h = dice_.between(1, 4320); break;
                case 2: w = 7680, h = 4320; break;
                case 3: w = dice_.between(960, 1920), h = dice_.between(540, 1080); break;
                default: break;
            }
        }
        SDL_SetWindowSize(window, w, h);
    }

    Dice dice_;
    DrawContext& ctx_;
    SoakInput& input_;
    int big_frames_ = 0;  // frames in a row at a large window
};

[[noreturn]] void fail(const std::string& what, std::uint64_t seed) {
    std::fprintf(stderr, "soak: %s (seed %#" PRIx64 ")\n", what.c_str(), seed);
    std::exit(1);
}

void report(const Figures& f, const World& world, std::chrono::steady_clock::time_point began, const char* verdict) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::size_t flowers = 0;
    unsigned top_level = 0;
    for (const auto& [cell, tile] : world.tiles()) {
        if (flower_on(tile)) ++flowers;
        if (const auto* hive = std::get_if<Hive>(&tile)) top_level = std::max<unsigned>(top_level, hive->hive.level);
    }
    std::printf("soak: %" PRIu64 " frames (%" PRIu64 " intro), %" PRIu64 " nights, %" PRIu64
                " events pushed, %" PRIu64 " input state changes, %" PRIu64
                " invariant checks, %" PRIu64 " frames under a card, %" PRIu64 " milestones, %" PRIu64
                " frames of the finale's card, %" PRIu64 " seeds taken from the collection, %.1f s; now %zu tiles, %zu hives (top level %u), %zu flowers; %s\n",
                f.frames, f.intro_frames, f.nights, f.events, f.state_changes, f.checks, f.held_frames, f.milestones,
                f.finale_frames, f.seeds_taken, seconds, world.tiles().size(),
                world.hive_ranges().size(), top_level, flowers, verdict);
    std::fflush(stdout);
}

// The process's resident size in MiB (VmRSS), 0 where it cannot be read.
double resident_mib() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return static_cast<double>(std::atol(line.c_str() + 6)) / 1024.0;
    }
    return 0;
}
double heap_mib() { return static_cast<double>(heap_in_use()) / (1024.0 * 1024.0); }

// After the first night the world, the collection and every cache have their size; what the heap
// or the resident size holds beyond this much more by the end is a leak.
constexpr double MEMORY_GROWTH_MOST_MIB = 24.0;

int run(std::uint64_t frames, std::uint64_t seed, bool digesting) {
    std::printf("soak: %" PRIu64 " frames, seed %#" PRIx64 "\n", frames, seed);
    std::fflush(stdout);
    replay_from(seed);
    keep_memory_flat();

    SDL_SetHint("SDL_TOUCH_MOUSE_EVENTS", "0");
    auto core = SdlCore::acquire();
    auto video = core ? SdlSubsystem::acquire(SDL_INIT_VIDEO) : std::unexpected(core.error());
    auto ttf = video ? TtfContext::acquire() : std::unexpected(video.error());
    if (!ttf) fail("SDL: " + ttf.error(), seed);
    WindowPtr window{SDL_CreateWindow(WINDOW_TITLE, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, SDL_WINDOW_RESIZABLE)};
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window.get(), -1, 0) : nullptr;
    if (!renderer || SDL_RenderSetIntegerScale(renderer, SDL_TRUE) != 0) fail(SDL_GetError(), seed);
    const TextureCreator creator = std::make_shared<RendererContext>(std::move(window), renderer);
    auto made = DrawContext::create(creator, creator);
    if (!made) fail(made.error().to_string(), seed);
    DrawContext& ctx = *made;

    World world;
    Lily lily;
    SoakInput input(ctx.canvas->window());
    Controls controls(input);
    auto pump = SdlEventPump::open();
    if (!pump) fail(pump.error(), seed);
    Game game{ctx, world, lily, controls, *pump, LoopState{}};
    game.screens.reset(title_screen());
    RecordingSound sound;
    game.sound = &sound;
    Soak soak(seed, ctx, input);
    Dice clock(seed ^ 0xC10C);
    // Random flowers open few new colours, so now and then a colour is told outright, and the
    // finale and its card come within a short run.
    Dice colours(seed ^ 0xC0102);
    GoalWatch goals;
    SeedWatch seeds;
    FrameDigest digest;
    const auto began = std::chrono::steady_clock::now();

    std::printf("soak: at the start %.1f MiB resident, %.1f MiB on the heap\n", resident_mib(), heap_mib());
    std::optional<double> heap_after_first_night;
    double resident_after_first_night = 0;

    bool playing = false;
    // The tick the world last grew at, -1 before its first update of the day: a day may begin
    // under a card that holds the game (help asked for on the title card), and the farm's seeds
    // then keep the stages they were sown with until the card goes.
    int grown_at = -1;
    while (soak.figures.frames < frames) {
        soak.shake(!playing);
        ++soak.figures.frames;
        int tick = -1;
        bool card_held = false;  // this frame was played under a card that holds the game
        bool night = false;
        if (playing) soak.take_seeds(controls);
        if (!playing) {
            ++soak.figures.intro_frames;
            const Step outcome = step(game);
            if (outcome.kind == Step::Kind::Quit) fail("the intro quit on a quit event the soak never sends (SIGINT or SIGTERM?)", seed);
            if (outcome.kind == Step::Kind::Started) {
                soak.stock(world, lily);
                seeds.started(game);
                playing = true;
            }
        } else {
            // Skip ahead through the day now and then, so that hundreds of nights go by.
            LoopState& s = game.state;
            if (clock.one_in(40)) s.time_of_day = static_cast<std::uint16_t>(std::min<int>(
                                      s.day_end, s.time_of_day + clock.between(1, 4000)));
            if (colours.one_in(60)) {
                reach_milestones(game, {MilestoneEvent::Kind::NewColour, static_cast<std::uint32_t>(colours.below(GENOTYPES))});
            }
            const bool held = game.screens.held() != Card::None;
            card_held = held;
            const std::uint16_t clock_before = s.time_of_day;
            const Step played = step(game);
            if (played.kind == Step::Kind::Quit) fail("a day frame quit on a quit event the soak never sends (SIGINT or SIGTERM?)", seed);
            if (played.kind != (held ? Step::Kind::Held : Step::Kind::Day)) fail("a frame under a card played as a day's, or a day's as held", seed);
            tick = played.tick;
            if (!held) grown_at = played.tick;
            // A card that holds the game holds the clock; time that flies runs at most sixteen
            // ticks a frame and never past the day's end.
            const int ran = s.time_of_day - clock_before;
            if (held && ran != 0) fail("the clock ran under a card that holds the game", seed);
            if (ran < 0 || ran > TIME_FLIES_TICKS) fail("a frame ran " + std::to_string(ran) + " ticks", seed);
            if (s.time_of_day > s.day_end) fail("the clock ran past the end of the day", seed);
            if (played.tick > s.time_of_day) fail("a frame played a tick the clock has not reached", seed);
            soak.figures.held_frames += held ? 1u : 0u;
            // The morning report goes within twenty seconds of play; tonight's forecast adds up.
            if (game.morning_frames > MORNING_REPORT_MOST_FRAMES) fail("the morning report outstayed twenty seconds", seed);
            const Forecast tonight = forecast_night(world, plan_night(world, Open::ByNightfall, Partners::OnRequest));
            if (tonight.seeds_least > tonight.seeds_most || tonight.seeds_least < (tonight.breeding > 0 ? 1u : 0u) ||
                tonight.breeding + tonight.leaving != world.flower_count())
                fail("tonight's forecast does not add up", seed);
            if (s.day_over) {
                // The day's last frame is heard before the night.
                if (const auto wrong = seeds.check(game, false)) fail("frame " + std::to_string(soak.figures.frames) + ": " + *wrong, seed);
                night = true;
                // The dawn, then the night: two steps without a frame between them.
                const Step dawn = step(game);
                const Step after = step(game);
                if (dawn.kind != Step::Kind::Dawn || after.kind != Step::Kind::Night || s.day_over) fail("the day ended without its night", seed);
                if (clock.one_in(2)) soak.stock(world, lily);
                ++soak.figures.nights;
                grown_at = -1;
                if (soak.figures.nights == 1) {
                    heap_after_first_night = heap_mib();
                    resident_after_first_night = resident_mib();
                    std::printf("soak: after the first night %.1f MiB resident, %.1f MiB on the heap\n",
                                resident_after_first_night, *heap_after_first_night);
                }
                tick = -1;
            }
        }
        soak.check(world, lily, grown_at);
        if (tick >= 0) {
            soak.check_sound(sound, world, lily, controls, card_held);
        } else {
            soak.check_quiet(sound);
        }
        if (playing && !soak.failure) {
            soak.failure = goals.check(game);
            if (!soak.failure) soak.failure = seeds.check(game, night);
            soak.figures.seeds_taken = seeds.total;
            soak.figures.milestones = game.milestones.reached();
            soak.figures.finale_frames += game.overlay.is_open(Card::Finale) ? 1u : 0u;
        }
        if (soak.failure) fail("frame " + std::to_string(soak.figures.frames) + ": " + *soak.failure, seed);
        if (digesting) {
            digest.add_frame(ctx.canvas->window(), game, soak.figures.frames);
            if (soak.figures.frames % 1000 == 0 || soak.figures.frames == frames) {
                std::printf("soak: digest after %" PRIu64 " frames %016" PRIx64 "\n", soak.figures.frames, digest.value());
            }
        }
        if (soak.figures.frames % 20000 == 0) report(soak.figures, world, began, "so far");
    }

    std::printf("soak: at the end %.1f MiB resident, %.1f MiB on the heap\n", resident_mib(), heap_mib());
    if (heap_after_first_night && heap_mib() > *heap_after_first_night + MEMORY_GROWTH_MOST_MIB) {
        fail("the heap grew by " + std::to_string(heap_mib() - *heap_after_first_night) + " MiB after the first night", seed);
    }
#if !defined(__SANITIZE_ADDRESS__)  // whose allocator holds on to what is freed, by design
    if (heap_after_first_night && resident_mib() > resident_after_first_night + MEMORY_GROWTH_MOST_MIB) {
        fail("the resident size grew by " + std::to_string(resident_mib() - resident_after_first_night) +
                 " MiB after the first night", seed);
    }
#endif
    report(soak.figures, world, began, "clean");
    return 0;
}

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto flag = std::find(args.begin(), args.end(), "--digest");
    const bool digesting = flag != args.end();
    if (digesting) args.erase(flag);
    const std::uint64_t frames = args.size() > 0 ? std::strtoull(args[0].c_str(), nullptr, 0) : 3000;
    const std::uint64_t seed = args.size() > 1 ? std::strtoull(args[1].c_str(), nullptr, 0) : qm::fresh_seed();
    return qm::run(frames, seed, digesting);
}
