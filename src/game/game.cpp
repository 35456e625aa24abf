// The main task, what a frame hears and how it is drawn. Start-up builds everything in one fixed
// order; the coroutine's locals then come down in the reverse order when it ends.
#include "game.hpp"

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include <SDL.h>
#include <SDL_ttf.h>

#include "fatal.hpp"
#include "graphics.hpp"
#include "heap_use.hpp"
#include "lily.hpp"
#include "mixer.hpp"
#include "renderer_choice.hpp"
#include "sdl.hpp"
#include "drawn_view.hpp"
#include "sdl_input.hpp"
#include "touch_controls_draw.hpp"
#include "window_icon.hpp"
#include "world.hpp"

namespace qm {

namespace {

// A part of SDL the game cannot start without: up, or the game stops with SDL's error.
template <class Guard>
Guard started(std::expected<Guard, std::string> acquired) {
    if (!acquired) fatal_sdl_error(acquired.error());
    return std::move(*acquired);
}

}  // namespace

std::uint16_t next_intro_clock(std::uint16_t clock) {
    const auto next = static_cast<std::uint16_t>(clock + 1);
    return next >= INTRO_CLOCK_END ? INTRO_CLOCK_FIRST : next;
}

void start_day(LoopState& state, std::uint16_t first_tick) {
    state.time_of_day = first_tick;
    state.shown_tick = first_tick;
    state.day_end = DAY_END;
    state.day_over = false;
}

void start_play(Game& game) {
    game.world.setup_farm();
    game.lily.morning_reset();
    game.collection.grant_seeds();
    for (const Card card : DAY_CARDS) game.overlay.open(card);
    game.screens.reset(day_screen());
    if (game.controls.help_at_start) game.screens.hold(help_card());
    game.state.day = 1;
    start_day(game.state, FIRST_DAY_START);
}

std::uint16_t tick_clock(LoopState& state) {
    const std::uint16_t t = state.time_of_day;
    if (t < state.day_end) {
        state.time_of_day = static_cast<std::uint16_t>(t + 1);
    } else {
        state.day_over = true;  // the last frame of the day is still played in full
    }
    return t;
}

void take_chosen_seed(Game& game, const FrameCommands& commands) {
    if (!commands.seed_chosen) return;
    const std::optional<Flower> seed = game.collection.take_seed(*commands.seed_chosen);
    if (!seed) return;  // never seen in bloom, or none left today: the panel says which
    game.lily.carried_flowers.push_back(*seed);
    game.world.tell({Happening::Kind::SeedTaken, static_cast<std::uint32_t>(*commands.seed_chosen)});
}

namespace {

std::uint64_t completed_on(const Game& game) { return game.milestones.reached_on(Milestone::AllColours).value_or(0); }

// The volume to show in the speaker mark, while it shows.
const Volume* speaker_mark(const Controls& controls) {
    return controls.speaker_mark_frames > 0 ? &controls.volume : nullptr;
}

}  // namespace

Instant finish_day_frame(LoopState& state, Instant now) {
    // Shown on the next frame: this frame's work, without its wait.
    state.frame_time = saturating_sub(now, state.frame_start);
    return state.frame_start + FRAME_PERIOD;
}

void hear_the_field(Game& game) {
    game.heard.clear();
    for (const Happening& happening : game.world.take_happenings()) {
        game.heard.push_back(happening);
        if (happening.kind == Happening::Kind::FlowerOpened && game.collection.record(happening.value, game.state.day)) {
            game.heard.push_back({Happening::Kind::NewColour, happening.value});
        }
    }
    for (const Happening& happening : game.heard) {
        if (!has_notice(happening.kind)) continue;
        std::optional<std::uint32_t> blossom;
        if (happening.kind == Happening::Kind::NewColour || happening.kind == Happening::Kind::SeedTaken) {
            blossom = genotype_colour(happening.value);
        }
        game.notices.raise(notice_text(happening), blossom);
    }
    // Read from the frame's stream as it stands, so a milestone's notice follows the news that
    // reached it.
    const std::vector<Happening> told = game.heard;
    for (const Happening& happening : told) {
        if (const auto event = milestone_event(happening, game.world)) reach_milestones(game, *event);
    }
    play_happenings(*game.sound, game.heard);
}

std::optional<MilestoneEvent> milestone_event(const Happening& happening, const World& world) {
    using Kind = MilestoneEvent::Kind;
    switch (happening.kind) {
        case Happening::Kind::NewColour: return MilestoneEvent{Kind::NewColour, happening.value};
        case Happening::Kind::HiveHarvested: return MilestoneEvent{Kind::Harvest, happening.value};
        // Every hive on the field keeps a range, so the ranges count the hives.
        case Happening::Kind::HiveSetDown:
            return MilestoneEvent{Kind::HiveSetDown, static_cast<std::uint32_t>(world.hive_ranges().size())};
        default: return std::nullopt;
    }
}

void reach_milestones(Game& game, const MilestoneEvent& event) {
    for (const Milestone reached : game.milestones.hear(event, game.state.day)) {
        game.notices.raise(milestone_notice(reached));
        // Heard with the rest of the frame, so its chime rings once however many are reached.
        game.heard.push_back({Happening::Kind::MilestoneReached, static_cast<std::uint32_t>(reached)});
        if (reached == Milestone::AllColours) {
            game.celebration.start();
            game.overlay.open(Card::Finale);
        }
    }
}

void hear_the_place(Game& game, std::uint16_t tick) {
    if (const auto step = game.footsteps.step(game.world, game.lily)) game.sound->play(*step);
    const auto loops = place_loops(game.world, game.lily.position, tick);
    for (std::size_t k = 0; k < LOOP_COUNT; ++k) game.sound->loop(Loop{static_cast<std::uint8_t>(k)}, loops[k]);
    game.sound->music(music_part(tick));
}

DrawResult draw_frame(DrawContext& ctx, const Controls& controls, const World& world, const Lily& lily,
                      std::uint64_t day, std::uint16_t tick, std::chrono::nanoseconds frame_time,
                      const Overlays& overlays) {
    QM_TRY(ctx.begin_frame());
    QM_TRY(world.draw(ctx, lily, tick));
    // The field's marks lie under every panel: nothing of the field is drawn over the collection.
    if (overlays.cards) QM_TRY(overlays.cards->draw_marks(ctx, overlays.view));
    if (controls.collection_open && overlays.collection) {
        // The highlight is the collection's while no menu has the keys.
        const auto lit = controls.highlight_shown && !controls.menu ? std::optional(controls.swatch) : std::nullopt;
        QM_TRY(draw_collection(ctx, *overlays.collection, overlays.milestones, lit,
                               overlays.last_night ? *overlays.last_night : std::string{}));
    }
    QM_TRY(draw_controls(ctx, controls));
    QM_TRY(ctx.draw_daytime(day, tick));
    QM_TRY(ctx.draw_frame_time(frame_time));
    // The notices wait while the collection is open, so none lies over its panel or goes unread.
    if (overlays.notices && !controls.collection_open) QM_TRY(overlays.notices->draw(ctx));
    if (overlays.celebration) QM_TRY(overlays.celebration->draw(ctx));
    if (overlays.cards) QM_TRY(overlays.cards->draw(ctx, overlays.view));
    if (overlays.held) QM_TRY(overlays.held->draw_card(ctx, overlays.view));
    return ctx.present();
}

DrawResult draw_game_frame(Game& game, std::uint16_t tick, bool time_flies) {
    const LoopState& s = game.state;
    const std::optional<Cell> planned = planned_cell(game.world, game.lily);
    const GardenPass garden{game.world,
                            game.lily,
                            game.collection,
                            game.tonight.forecast(game.world),
                            planned ? &game.tonight.outlook(game.world, *planned) : nullptr,
                            tick,
                            game.controls.genomes_shown,
                            game.overlay.is_open(Card::Morning) ? &game.night : nullptr,
                            &game.ctx.texts,
                            game.controls.collection_open,
                            &game.kept_cards};
    const DrawResult drawn =
        draw_frame(game.ctx, game.controls, game.world, game.lily, s.day, tick, s.frame_time,
                   Overlays{&game.collection, &game.notices, &game.overlay,
                            OverlayView{s.day, tick, time_flies, speaker_mark(game.controls), &garden, completed_on(game)},
                            &game.milestones, &game.celebration, &game.last_night, game.screens.held_card()});
    return drawn;
}

void begin_next_day(LoopState& state) {
    state.day += 1;
    start_day(state, DAY_START);
}

Task main_task() {
    keep_memory_flat();
    // Asked before SDL opens the display here: the child opens its own.
    const char* render_driver_set = std::getenv("SDL_RENDER_DRIVER");
    const auto render_driver =
        render_driver_set ? std::optional<std::string_view>(render_driver_set) : std::nullopt;
    GlProbe gl_probe = GlProbe::start(render_driver);
    // Touches arrive as finger events only, never also as mouse clicks; and a full-screen
    // window stays up when it loses focus. Failures to set hints change nothing that matters.
    SDL_SetHint("SDL_TOUCH_MOUSE_EVENTS", "0");
    SDL_SetHint("SDL_VIDEO_MINIMIZE_ON_FOCUS_LOSS", "0");
    // The window's class (X11) and application id (Wayland) name the desktop entry, so a dock ties
    // the running game to its launcher. SDL reads them from the environment; a player's own
    // setting stays.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", APP_ID, 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", APP_ID, 0);

    const SdlCore core = started(SdlCore::acquire());
    const SdlSubsystem video = started(SdlSubsystem::acquire(SDL_INIT_VIDEO));
    show_software_frames_plainly();
    const TtfContext ttf = started(TtfContext::acquire());
    // Game controllers are welcome but not needed: without them the game plays on as before.
    const auto controllers = SdlSubsystem::acquire(SDL_INIT_GAMECONTROLLER);

    WindowPtr window{SDL_CreateWindow(WINDOW_TITLE, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, WINDOW_WIDTH,
                                      WINDOW_HEIGHT, SDL_WINDOW_RESIZABLE)};
    if (!window) fatal_sdl_error(SDL_GetError());
    // Without its icon the window still works: the window manager shows its generic one.
    static_cast<void>(set_window_icon(window.get()));
    apply_renderer_choice(choose_renderer(render_driver, gl_probe.result()));
    SDL_Renderer* renderer = SDL_CreateRenderer(window.get(), -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) fatal_sdl_error(SDL_GetError());
    if (SDL_RenderSetIntegerScale(renderer, SDL_TRUE) != 0) fatal_sdl_error(SDL_GetError());

    // The texture factory's handle outlives the draw context, so the renderer goes last.
    const TextureCreator texture_creator = std::make_shared<RendererContext>(std::move(window), renderer);
    Canvas canvas = texture_creator;
    auto made = DrawContext::create(std::move(canvas), texture_creator);
    if (!made) fatal_unwrap(made.error().to_string());
    DrawContext& ctx = *made;
    // Sound is welcome too, once the game's own files have loaded: without a device it says so
    // once and the game plays on silently.
    const std::unique_ptr<Sound> sound = open_sound();

    World world;
    Lily lily;
    SdlInput input(ctx.canvas->window());
    Controls controls(input);
    SdlEventPump pump = started(SdlEventPump::open());

    Game game{ctx, world, lily, controls, pump, LoopState{}};
    game.sound = sound.get();
    game.screens.reset(title_screen());
    LoopState& s = game.state;
    s.frame_start = monotonic_now();

    // The screens play; the task only waits between their steps.
    for (;;) {
        const Step done = step(game);
        switch (done.kind) {
            case Step::Kind::Quit:
                co_return;
            case Step::Kind::Started:
            case Step::Kind::Dawn:
                break;  // the next step at once
            case Step::Kind::Intro:
                co_await wait_until(s.frame_start + FRAME_PERIOD);
                s.frame_start = monotonic_now();
                break;
            case Step::Kind::Day:
            case Step::Kind::Held: {
                const Instant deadline = finish_day_frame(s, monotonic_now());
                co_await wait_until(deadline);
                s.frame_start = monotonic_now();
                break;
            }
            case Step::Kind::Night:
                // No input is read during the pause; frame_start stays, so the first frame of the
                // new day runs at once and shows the pause in its frame time.
                co_await wait_until(done.pause_end);
                break;
        }
    }
}

}  // namespace qm
