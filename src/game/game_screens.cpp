// The screens and the step that plays them. What the field hears and how a frame is drawn are
// game.cpp's; each screen adds only what its mode does with a frame.
#include "game_screens.hpp"

#include <utility>

#include "drawn_view.hpp"
#include "fatal.hpp"
#include "game.hpp"
#include "graphics.hpp"
#include "keys.hpp"
#include "lily.hpp"
#include "world.hpp"

namespace qm {

namespace {

void unwrap(const DrawResult& result) {
    if (!result) fatal_unwrap(result.error().to_string());
}

// The finale's card leaves by itself once the celebration has had its time.
void advance_finale(Game& game) {
    game.celebration.advance();
    if (!game.celebration.card_up()) game.overlay.close(Card::Finale);
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

// ---- the title ----

// The field drifts under the title card until a click, a touch or a key starts play.
class TitleScreen final : public Screen {
public:
    std::optional<Step> input(Game& game) override {
        unwrap(game.ctx.adjust_scale());
        outcome_ = game.controls.intro_events(game.events);
        if (outcome_ == IntroOutcome::Quit) return Step{Step::Kind::Quit};
        return std::nullopt;
    }

    Step update(Game& game) override {
        if (outcome_ == IntroOutcome::Start) {
            start_play(game);
            return {Step::Kind::Started};
        }
        LoopState& s = game.state;
        // The camera shows the pan from before this frame's drift.
        game.ctx.transform.center = s.intro_pan;
        shown_clock_ = s.intro_clock;
        s.intro_pan = Fixed{wrap_add(s.intro_pan.i, INTRO_DRIFT), s.intro_pan.j};
        s.intro_clock = next_intro_clock(s.intro_clock);
        return {Step::Kind::Intro};
    }

    DrawResult draw(Game& game) override {
        QM_TRY(game.ctx.begin_frame());
        QM_TRY(game.world.draw(game.ctx, game.lily, shown_clock_));
        QM_TRY(game.ctx.draw_intro());
        return game.ctx.present();
    }

    IntroOutcome outcome() const { return outcome_; }

private:
    IntroOutcome outcome_ = IntroOutcome::Stay;
    std::uint16_t shown_clock_ = INTRO_CLOCK_FIRST;
};

// ---- the day ----

class DayScreen final : public Screen {
public:
    std::optional<Step> input(Game& game) override {
        tick_ = tick_clock(game.state);
        unwrap(game.ctx.adjust_scale());
        stood_ = game.lily.position;
        tell_controls(game);
        commands_ = frame_events(game.controls, game.events, game.lily, game.world, tick_, game.ctx);
        if (commands_.quit) return Step{Step::Kind::Quit, tick_};
        return std::nullopt;
    }

    Step update(Game& game) override {
        LoopState& s = game.state;
        take_chosen_seed(game, commands_);
        set_levels(game);
        const std::size_t full_before = commands_.time_flies ? full_hives(game.world) : 0;
        game.world.update(tick_);
        std::uint16_t last = tick_;
        if (commands_.time_flies) {
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
        if (commands_.empty_hands_at) {
            if (auto said = empty_hands_text(game.world, *commands_.empty_hands_at)) game.notices.raise(std::move(*said));
        }
        s.shown_tick = last;
        game.tonight.next_frame(game.world);
        if (!game.controls.collection_open) game.notices.advance();
        advance_finale(game);
        hear_the_field(game);
        hear_the_place(game, last);
        answer(game, game.lily.position != stood_);
        return {Step::Kind::Day, last};
    }

    DrawResult draw(Game& game) override { return draw_game_frame(game, game.state.shown_tick, commands_.time_flies); }

private:
    // What the frame's input asks of the cards and the day. `moved`: she walked this frame.
    void answer(Game& game, bool moved) {
        Overlay& overlay = game.overlay;
        if (overlay.is_open(Card::Morning)) {
            ++game.morning_frames;
            // Walking answers it too, but only a walk begun after the report came up.
            if (!moved) game.morning_stood = true;
            const bool walked_off = moved && game.morning_stood && game.morning_frames > MORNING_REPORT_LEAST_FRAMES;
            if (commands_.report_answered || walked_off || game.morning_frames >= MORNING_REPORT_MOST_FRAMES) {
                overlay.close(Card::Morning);
                game.controls.report_shown = false;
            }
        }
        if (commands_.finale_dismissed) overlay.close(Card::Finale);
        if (commands_.pause_toggled) game.screens.hold(help_card());
        if (commands_.end_day_asked) game.screens.hold(end_day_card(game));
    }

    std::uint16_t tick_ = 0;
    Fixed stood_{};
    FrameCommands commands_{};
};

// ---- the cards that hold the game ----

// Under such a card nothing moves: the clock, the world and the notices wait, the field is drawn
// as it was, and only the card's keys and the sound keys are heard. The finale's swarm flies on:
// it is the celebration's own time, not the day's.
class CardScreen : public Screen, public CardKeys {
public:
    std::optional<Step> input(Game& game) final {
        unwrap(game.ctx.adjust_scale());
        tell_controls(game);
        const std::uint16_t shown = game.state.shown_tick;
        commands_ = frame_events(game.controls, game.events, game.lily, game.world, shown, game.ctx, this);
        if (commands_.quit) return Step{Step::Kind::Quit, shown};
        return std::nullopt;
    }

    Step update(Game& game) final {
        // The place falls quiet while the game waits, and the music plays on.
        set_levels(game);
        hear_the_field(game);
        quiet_the_place(*game.sound);
        game.sound->music(music_part(game.state.shown_tick));
        answer(game, commands_);
        advance_finale(game);
        return {Step::Kind::Held, game.state.shown_tick};
    }

    DrawResult draw(Game& game) final { return draw_game_frame(game, game.state.shown_tick); }

protected:
    // What the card does with the frame's keys, closing itself with `game.screens.pop()`.
    virtual void answer(Game& game, const FrameCommands& commands) = 0;

private:
    FrameCommands commands_{};
};

class HelpCard final : public CardScreen {
public:
    Card holds() const override { return Card::Help; }
    DrawResult draw_card(DrawContext& ctx, const OverlayView&) const override { return draw_help_card(ctx); }
    // The keys that opened it (pause or help), or the pad's pause or B, put it away.
    void key(SDL_Scancode key, FrameCommands& out) const override {
        if (key_does(Action::Pause, key) || key_does(Action::Help, key)) out.pause_toggled = true;
    }
    bool button(std::uint8_t button, FrameCommands& out) const override {
        if (button_does(Action::Pause, button) || button_does(Action::LeaveMenu, button)) out.pause_toggled = true;
        return false;
    }

private:
    void answer(Game& game, const FrameCommands& commands) override {
        if (commands.pause_toggled) game.screens.pop();
    }
};

class EndDayCard final : public CardScreen {
public:
    explicit EndDayCard(Forecast ending_now) : ending_now_(ending_now) {}
    Card holds() const override { return Card::EndDay; }
    DrawResult draw_card(DrawContext& ctx, const OverlayView& view) const override {
        // What ending now costs: the forecast counts buds that open before nightfall, which an
        // early night leaves unbred.
        return draw_end_day_card(ctx, view.garden ? ending_now_text(ending_now_, view.garden->forecast) : std::string{});
    }
    // Yes is the choice (Enter, the pad's A), no is leaving (Esc, the pad's B).
    void key(SDL_Scancode key, FrameCommands& out) const override {
        if (key_does(Action::Choose, key)) out.end_day_confirmed = true;
        if (key_does(Action::LeaveMenu, key)) out.end_day_cancelled = true;
    }
    bool button(std::uint8_t button, FrameCommands& out) const override {
        if (button_does(Action::LeaveMenu, button)) out.end_day_cancelled = true;
        if (!button_does(Action::Choose, button)) return false;
        out.end_day_confirmed = true;
        return true;
    }

private:
    void answer(Game& game, const FrameCommands& commands) override {
        if (commands.end_day_cancelled || commands.end_day_confirmed) game.screens.pop();
        if (commands.end_day_confirmed) game.state.day_over = true;  // the night comes as at 7:00 pm
    }

    Forecast ending_now_;
};

// ---- the dawn and the night ----

// The new-day screen goes up at once, and stays up while the night is worked out and through
// the pause after it.
DrawResult draw_dawn(Game& game) {
    QM_TRY(game.ctx.begin_frame());
    QM_TRY(game.ctx.draw_new_day(game.state.day + 1));
    return game.ctx.present();
}

// The gardener's morning and the night; returns the end of the pause.
Instant pass_the_night(Game& game) {
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

// No input is read from the dawn to the next day's first frame: what comes meanwhile waits in
// the queue.
class NightScreen final : public Screen {
public:
    std::optional<Step> input(Game&) override { return std::nullopt; }
    Step update(Game& game) override {
        const Instant pause_end = pass_the_night(game);
        begin_next_day(game.state);
        game.screens.pop();
        return {Step::Kind::Night, 0, pause_end};
    }
    // The new-day screen stays up.
    DrawResult draw(Game&) override { return {}; }
};

class DawnScreen final : public Screen {
public:
    std::optional<Step> input(Game& game) override {
        unwrap(game.ctx.adjust_scale());
        return std::nullopt;
    }
    Step update(Game& game) override {
        game.screens.pop();
        game.screens.push(std::make_unique<NightScreen>());
        return {Step::Kind::Dawn};
    }
    DrawResult draw(Game& game) override { return draw_dawn(game); }
};

// One frame of the screen on top.
Step play(Game& game) {
    Screen& screen = game.screens.top();
    std::optional<Step> done = screen.input(game);
    if (!done) {
        done = screen.update(game);
        if (done->kind != Step::Kind::Started) unwrap(screen.draw(game));
    }
    game.screens.end_step();
    return *done;
}

}  // namespace

Screens::Screens() { stack_.push_back(std::make_unique<DayScreen>()); }

void Screens::pop() {
    left_.push_back(std::move(stack_.back()));
    stack_.pop_back();
}

void Screens::reset(std::unique_ptr<Screen> screen) {
    while (!stack_.empty()) pop();
    push(std::move(screen));
}

void Screens::hold(std::unique_ptr<Screen> card) {
    if (held() != Card::None) pop();
    push(std::move(card));
}

const Screen* Screens::held_card() const { return held() != Card::None ? stack_.back().get() : nullptr; }

std::unique_ptr<Screen> title_screen() { return std::make_unique<TitleScreen>(); }
std::unique_ptr<Screen> day_screen() { return std::make_unique<DayScreen>(); }
std::unique_ptr<Screen> help_card() { return std::make_unique<HelpCard>(); }
std::unique_ptr<Screen> end_day_card(const Game& game) {
    return std::make_unique<EndDayCard>(forecast_if_ended_now(game.world));
}
std::unique_ptr<Screen> dawn_screen() { return std::make_unique<DawnScreen>(); }

Step step(Game& game) {
    const Step done = play(game);
    // The day's last frame, or a yes to the end-day card: the night comes next.
    const bool frame = done.kind == Step::Kind::Day || done.kind == Step::Kind::Held;
    if (frame && game.state.day_over) game.screens.push(dawn_screen());
    return done;
}

// ---- single frames, as the tests play them ----

IntroOutcome intro_frame(Game& game) {
    TitleScreen title;
    if (title.input(game)) return IntroOutcome::Quit;
    if (title.outcome() == IntroOutcome::Start) return IntroOutcome::Start;
    title.update(game);
    unwrap(title.draw(game));
    return IntroOutcome::Stay;
}

DayFrame day_frame(Game& game) {
    const Step played = play(game);
    return {played.kind == Step::Kind::Quit, played.tick};
}

Instant new_day(Game& game) {
    unwrap(game.ctx.adjust_scale());
    unwrap(draw_dawn(game));
    return pass_the_night(game);
}

}  // namespace qm
