// The main task and its frames. Start-up builds everything in one fixed order; the coroutine's
// locals then come down in the reverse order when it ends.
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

void unwrap(const DrawResult& result) {
    if (!result) fatal_unwrap(result.error().to_string());
}

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

IntroOutcome intro_frame(Game& game) {
    LoopState& s = game.state;
    unwrap(game.ctx.adjust_scale());
    const IntroOutcome outcome = game.controls.intro_events(game.events);
    if (outcome != IntroOutcome::Stay) return outcome;

    game.ctx.transform.center = s.intro_pan;
    unwrap(game.ctx.begin_frame());
    unwrap(game.world.draw(game.ctx, game.lily, s.intro_clock));
    unwrap(game.ctx.draw_intro());
    unwrap(game.ctx.present());

    s.intro_pan = Fixed{wrap_add(s.intro_pan.i, INTRO_DRIFT), s.intro_pan.j};
    s.intro_clock = next_intro_clock(s.intro_clock);
    return outcome;
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
    if (game.controls.help_at_start) game.overlay.open(Card::Help);
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

void apply_commands(Game& game, const FrameCommands& commands, bool moved) {
    Overlay& overlay = game.overlay;
    if (overlay.is_open(Card::Morning) && overlay.modal() == Card::None) {
        ++game.morning_frames;
        // Walking answers it too, but only a walk begun after the report came up.
        if (!moved) game.morning_stood = true;
        const bool walked_off = moved && game.morning_stood && game.morning_frames > MORNING_REPORT_LEAST_FRAMES;
        if (commands.report_answered || walked_off || game.morning_frames >= MORNING_REPORT_MOST_FRAMES) {
            overlay.close(Card::Morning);
            game.controls.report_shown = false;
        }
    }
    if (commands.finale_dismissed) overlay.close(Card::Finale);
    if (commands.pause_toggled) overlay.toggle(Card::Help);
    if (commands.end_day_asked) {
        game.ending_now = forecast_if_ended_now(game.world);
        overlay.open(Card::EndDay);
    }
    if (commands.end_day_cancelled) overlay.close(Card::EndDay);
    if (commands.end_day_confirmed) {
        overlay.close(Card::EndDay);
        game.state.day_over = true;  // the loop runs the night as at 7:00 pm
    }
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

// The finale's card leaves by itself once the celebration has had its time.
void advance_finale(Game& game) {
    game.celebration.advance();
    if (!game.celebration.card_up()) game.overlay.close(Card::Finale);
}

// The volume to show in the speaker mark, while it shows.
const Volume* speaker_mark(const Controls& controls) {
    return controls.speaker_mark_frames > 0 ? &controls.volume : nullptr;
}

// The place fades out (a card holds the game); the night keeps its crickets and frogs.
void quiet_the_place(Sound& sound, bool night = false) {
    for (const Loop loop : {Loop::Hum, Loop::Birds, Loop::Crickets, Loop::Frogs}) {
        if (!night || loop == Loop::Hum || loop == Loop::Birds) sound.loop(loop, SILENT_PLACE);
    }
}

void set_levels(Game& game) {
    game.sound->master(game.controls.volume.gain(), game.controls.volume.music_gain());
}

// What is open over the field that takes the controls' presses first.
void tell_controls(Game& game) {
    Controls& controls = game.controls;
    // The report makes way for the collection, and is not answered while it is out of sight.
    controls.report_shown = game.overlay.is_open(Card::Morning) && !controls.collection_open;
    controls.report_answerable = game.morning_frames >= MORNING_REPORT_LEAST_FRAMES;
    controls.finale_shown = game.overlay.is_open(Card::Finale);
}

// A frame under a card that holds the game: nothing moves, the clock, the world and the notices
// wait, and the field is drawn as it was.
DayFrame held_frame(Game& game, Card modal) {
    LoopState& s = game.state;
    unwrap(game.ctx.adjust_scale());
    tell_controls(game);
    const FrameCommands commands =
        frame_events(game.controls, game.events, game.lily, game.world, s.shown_tick, game.ctx, modal);
    if (commands.quit) return {true, s.shown_tick};
    // The sound keys are heard under a card too; the place falls quiet while the game waits, and
    // the music plays on.
    set_levels(game);
    hear_the_field(game);
    quiet_the_place(*game.sound);
    game.sound->music(music_part(s.shown_tick));
    apply_commands(game, commands);
    // The finale's swarm flies on over a held field: it is the celebration's own time, not the day's.
    advance_finale(game);
    unwrap(draw_game_frame(game, s.shown_tick));
    return {false, s.shown_tick};
}

}  // namespace

DayFrame day_frame(Game& game) {
    const Card modal = game.overlay.modal();
    if (modal != Card::None) return held_frame(game, modal);
    LoopState& s = game.state;
    const std::uint16_t t = tick_clock(s);
    unwrap(game.ctx.adjust_scale());
    const Fixed stood = game.lily.position;
    tell_controls(game);
    const FrameCommands commands = frame_events(game.controls, game.events, game.lily, game.world, t, game.ctx);
    if (commands.quit) return {true, t};
    take_chosen_seed(game, commands);
    set_levels(game);
    const std::size_t full_before = commands.time_flies ? full_hives(game.world) : 0;
    game.world.update(t);
    std::uint16_t last = t;
    if (commands.time_flies) {
        // The gardener stood still this frame, so each further tick is a frame without input.
        // Time stops flying by itself at what she should not sleep through.
        const std::size_t dry = game.tonight.forecast(game.world).dry_buds;
        for (int k = 1; !s.day_over; ++k) {
            if (auto stop = time_flies_stop(game.world, last, full_before, dry)) {
                game.notices.raise(std::move(*stop));
                game.controls.time_flies_stopped = true;
                break;
            }
            if (k == TIME_FLIES_TICKS) break;
            last = tick_clock(s);
            game.world.update(last);
        }
    }
    if (commands.empty_hands_at) {
        if (auto said = empty_hands_text(game.world, *commands.empty_hands_at)) game.notices.raise(std::move(*said));
    }
    s.shown_tick = last;
    game.tonight.next_frame(game.world);
    if (!game.controls.collection_open) game.notices.advance();
    advance_finale(game);
    hear_the_field(game);
    hear_the_place(game, last);
    apply_commands(game, commands, game.lily.position != stood);
    unwrap(draw_game_frame(game, last, commands.time_flies));
    return {false, last};
}

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
                            game.overlay.is_open(Card::EndDay) ? &game.ending_now : nullptr};
    const DrawResult drawn =
        draw_frame(game.ctx, game.controls, game.world, game.lily, s.day, tick, s.frame_time,
                   Overlays{&game.collection, &game.notices, &game.overlay,
                            OverlayView{s.day, tick, time_flies, speaker_mark(game.controls), &garden, completed_on(game)},
                            &game.milestones, &game.celebration, &game.last_night});
    return drawn;
}

Instant new_day(Game& game) {
    unwrap(game.ctx.adjust_scale());
    unwrap(game.ctx.begin_frame());
    unwrap(game.ctx.draw_new_day(game.state.day + 1));
    unwrap(game.ctx.present());
    // The night has its crickets and frogs, fading as the morning's birds come; the bees are in.
    quiet_the_place(*game.sound, true);
    game.world.tell({Happening::Kind::DawnOf, static_cast<std::uint32_t>(game.state.day + 1)});
    game.lily.morning_reset();
    game.collection.grant_seeds();
    // A day that brought nothing new earns a hint, judged by the garden as the day left it and
    // by the alleles the night's seeds carry.
    GardenSurvey garden = survey_garden(game.world);
    game.night = game.world.new_day();
    garden.pool = gene_pool(game.world);
    const std::optional<HintNote> hint = game.milestones.end_day(garden);
    // Only seeds stand on the field after the night, each one sown by the bees.
    game.world.tell(game.night.sown > 0 ? Happening{Happening::Kind::BeesSowed, static_cast<std::uint32_t>(game.night.sown)}
                                        : Happening{Happening::Kind::GardenSownAgain, static_cast<std::uint32_t>(game.night.sown_again)});
    hear_the_field(game);
    game.last_night = night_line(game.night, game.collection);
    game.overlay.open(Card::Morning);
    game.morning_frames = 0;
    game.morning_stood = false;
    if (hint) game.notices.raise(hint_notice(*hint));
    return game.state.frame_start + NEW_DAY_PAUSE;
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
    LoopState& s = game.state;
    s.frame_start = monotonic_now();

    for (;;) {
        const IntroOutcome outcome = intro_frame(game);
        if (outcome == IntroOutcome::Quit) co_return;
        if (outcome == IntroOutcome::Start) break;
        co_await wait_until(s.frame_start + FRAME_PERIOD);
        s.frame_start = monotonic_now();
    }

    start_play(game);
    for (;;) {
        if (day_frame(game).quit) co_return;
        const Instant deadline = finish_day_frame(s, monotonic_now());
        co_await wait_until(deadline);
        s.frame_start = monotonic_now();
        if (s.day_over) {
            // No input is read during the pause; frame_start stays, so the first frame of the
            // new day runs at once and shows the pause in its frame time.
            co_await wait_until(new_day(game));
            begin_next_day(s);
        }
    }
}

}  // namespace qm
