// Input for the intro and the day frames: events first, then the held keys, the mouse and the
// controllers, then the open menu or the gardener's walk, pointing and tool use, and last the
// full-screen switch. Which key or button does what is the action table's (keys.*); the screen's
// answers come through an InputView, and the controls are drawn by touch_controls_draw.cpp.
#include "controls.hpp"

#include <algorithm>
#include <array>

#include <SDL.h>

#include "camera.hpp"
#include "input_view.hpp"
#include "keys.hpp"
#include "lily.hpp"
#include "menu_from_request.hpp"
#include "speaker_mark.hpp"
#include "world.hpp"

namespace qm {

namespace {

constexpr std::int32_t WALK_ACROSS = 8192;  // two logical pixels
constexpr std::int32_t WALK_DIAGONAL = 4096;
constexpr std::int32_t WALK_DOWN = 4096;
constexpr std::int32_t RUN_FACTOR = 4;

// Opposite keys cancel; up or down with both sideways keys is plain up or down, and sideways
// with both vertical keys is a plain sideways step.
constexpr std::array<Fixed, 16> STEPS{{
    {0, 0},
    {-WALK_ACROSS, 0},
    {WALK_ACROSS, 0},
    {0, 0},
    {0, -WALK_DOWN},
    {-WALK_DIAGONAL, -WALK_DOWN},
    {WALK_DIAGONAL, -WALK_DOWN},
    {0, -WALK_DOWN},
    {0, WALK_DOWN},
    {-WALK_DIAGONAL, WALK_DOWN},
    {WALK_DIAGONAL, WALK_DOWN},
    {0, WALK_DOWN},
    {0, 0},
    {-WALK_ACROSS, 0},
    {WALK_ACROSS, 0},
    {0, 0},
}};

constexpr ScreenDirection direction_of(Heading heading) {
    return {heading == LEFT ? -1 : heading == RIGHT ? 1 : 0, heading == UP ? -1 : heading == DOWN ? 1 : 0};
}

bool on_fullscreen_button(std::int32_t x, std::int32_t y) { return FULLSCREEN_BUTTON.contains(x, y); }
bool on_collection_button(std::int32_t x, std::int32_t y) { return COLLECTION_BUTTON.contains(x, y); }

// Text handed over with the event is ours to free; the game has no use for it.
void discard_text(const SDL_Event& event) {
    switch (event.type) {
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
        SDL_free(event.drop.file);
        break;
#if SDL_VERSION_ATLEAST(2, 0, 22)
    case SDL_TEXTEDITING_EXT:
        SDL_free(event.editExt.text);
        break;
#endif
    default:
        break;
    }
}

}  // namespace

// ---- movement ----

Fixed keyboard_step(const InputState& input) { return STEPS[headings_held(input)]; }

// ---- the intro ----

IntroOutcome Controls::intro_events(EventSource& events) {
    SDL_Event event;
    while (events.poll(event)) {
        switch (event.type) {
        case SDL_QUIT:
            return IntroOutcome::Quit;
        case SDL_MOUSEBUTTONDOWN:
            return IntroOutcome::Start;
        case SDL_FINGERDOWN:
            touch_mode = true;
            return IntroOutcome::Start;
        case SDL_CONTROLLERBUTTONDOWN:
            return IntroOutcome::Start;
        case SDL_KEYDOWN:
            // Enter, Space or a walking key: a keyboard player need not reach for the mouse.
            if (key_does(Action::Choose, event.key.keysym.scancode) || key_does(Action::Walk, event.key.keysym.scancode))
                return IntroOutcome::Start;
            // H, as the title card says, starts with the card of controls up.
            if (key_does(Action::Help, event.key.keysym.scancode)) {
                help_at_start = true;
                return IntroOutcome::Start;
            }
            break;
        default:
            if (!plug_event(event)) discard_text(event);
            break;
        }
    }
    return IntroOutcome::Stay;
}

bool Controls::plug_event(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        input_->gamepads().add(event.cdevice.which);
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        input_->gamepads().remove(event.cdevice.which);
    } else {
        return false;
    }
    return true;
}

// ---- a day frame ----

bool Controls::handle_event(const SDL_Event& event, InputView& view, const CardKeys* card, FrameCommands& out) {
    switch (event.type) {
    case SDL_QUIT:
        return false;
    case SDL_KEYDOWN: {
        // Repeats toggle again, like fresh presses; in a menu only fresh presses count, so a
        // walking key still held as she enters the shed does not run through its buttons.
        const SDL_Scancode key = event.key.keysym.scancode;
        const bool fresh = event.key.repeat == 0;
        const bool sound = key_does(Action::Mute, key) || key_does(Action::Quieter, key) || key_does(Action::Louder, key);
        bool taken = false;
        if (key_does(Action::FullScreen, key)) {
            fullscreen_requested = true;
        } else if (card) {
            if (fresh) card->key(key, out);
        } else if (menu) {
            if (fresh) {
                menu_key(key);
                // Keys that mean nothing in a menu keep their meaning there: pause, help, the day's end.
                if (!key_does(Action::Choose, key) && !key_does(Action::LeaveMenu, key)) play_key(key, out);
            }
        } else if (!sound && (taken = taken_by_open_thing(key, fresh, out))) {
            // The innermost open thing had it; nothing else hears it.
        } else if (fresh) {
            // The open collection keeps its keys: she neither walks nor works meanwhile.
            if (!(collection_open && collection_key(key, out))) play_key(key, out);
        }
        // Held down, C stays put: a panel flickering open and shut helps nobody.
        if (key_does(Action::Collection, key) && fresh && !card && !taken) toggle_collection();
        volume_key(key, fresh);
        break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
        if (button_does(Action::Mute, event.cbutton.button)) toggle_mute();
        if (button_does(Action::MusicMute, event.cbutton.button)) toggle_mute(true);
        if (card) {
            card_button(event.cbutton.button, *card, out);
        } else if (!menu && report_shown && !button_does(Action::FullScreen, event.cbutton.button) &&
                   !button_does(Action::Mute, event.cbutton.button)) {
            // Like a key, a button answers the report and does nothing else.
            if (report_answerable) out.report_answered = true;
            if (button_does(Action::Choose, event.cbutton.button)) pad_choice_held_ = true;
        } else {
            controller_button(event.cbutton.button, out);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
            const auto [x, y] = logical_pixel({event.button.x, event.button.y}, view.scale());
            if (on_fullscreen_button(x, y)) {
                fullscreen_requested = true;
            } else if (card) {
                // A card holds the game: the field and the menus wait under it.
            } else if (on_collection_button(x, y)) {
                toggle_collection();
            } else if (const CollectionHit hit = collection_open ? view.collection_hit(x, y) : CollectionHit{};
                       hit.on_panel) {
                // The open collection takes the clicks that land on it; the field under it waits.
                if (hit.swatch) choose_swatch(*hit.swatch, out);
            } else if (!menu && report_shown) {
                // A click on the field answers the morning report and works nothing.
                if (report_answerable) out.report_answered = true;
            } else if (!(menu && menu->on_click(view.camera(), x, y))) {
                mouse_use = true;
                pointer_news_ = true;
            }
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && mouse_use) mouse_released = true;
        break;
    case SDL_FINGERDOWN:
        finger_down(event.tfinger, view, out);
        break;
    case SDL_FINGERMOTION: {
        const ScreenPoint p = finger_pixel(event.tfinger.x, event.tfinger.y, view.camera());
        pad.drag(view.camera(), event.tfinger.fingerId, p.x, p.y);
        break;
    }
    case SDL_FINGERUP:
        finger_up(event.tfinger);
        break;
    default:
        if (!plug_event(event)) discard_text(event);
        break;
    }
    return true;
}

void Controls::menu_key(SDL_Scancode key) {
    if (key_does(Action::Choose, key)) {
        choose(highlight);
        key_choice_held_ = true;
    } else if (key_does(Action::LeaveMenu, key)) {
        choose(menu->in_slot(CLOSE_SLOT));
    } else if (const Heading heading = key_heading(key); heading != NOWHERE) {
        step_highlight(direction_of(heading));
    }
}

bool Controls::taken_by_open_thing(SDL_Scancode key, bool fresh, FrameCommands& out) {
    const bool leave = key_does(Action::LeaveMenu, key);
    if (collection_open) {
        if (leave && fresh) toggle_collection();
        return leave;
    }
    if (report_shown) {
        // Every key goes to the morning report while it is up. Only a press that began after it
        // came up answers it: not one held from the day before, nor one queued through the night.
        if (fresh && report_answerable && !down_before_.test(static_cast<std::size_t>(key))) out.report_answered = true;
        if (key_does(Action::UseTool, key)) key_choice_held_ = true;
        return true;
    }
    if (finale_shown && leave) {
        if (fresh) out.finale_dismissed = true;
        return true;
    }
    return false;
}

void Controls::play_key(SDL_Scancode key, FrameCommands& out) {
    if (key_does(Action::UseTool, key) && !menu) key_use_ = true;
    if (key_does(Action::GenomeView, key)) genomes_shown = !genomes_shown;
    if (key_does(Action::Pause, key) || key_does(Action::Help, key)) out.pause_toggled = true;
    if (key_does(Action::EndDay, key)) out.end_day_asked = true;
}

void Controls::card_button(std::uint8_t button, const CardKeys& card, FrameCommands& out) {
    if (button_does(Action::FullScreen, button)) {
        fullscreen_requested = true;
    } else if (card.button(button, out)) {
        pad_choice_held_ = true;
    }
}

void Controls::controller_button(std::uint8_t button, FrameCommands& out) {
    highlight_shown = true;
    if (button_does(Action::Pause, button)) {
        out.pause_toggled = true;
        return;
    }
    if (button_does(Action::EndDay, button)) {
        out.end_day_asked = true;
        return;
    }
    if (button_does(Action::GenomeView, button)) {
        genomes_shown = !genomes_shown;
        return;
    }
    if (button_does(Action::FullScreen, button)) {
        fullscreen_requested = true;
    } else if (button_does(Action::Collection, button)) {
        toggle_collection();
    } else if (button_does(Action::Choose, button)) {
        if (menu) {
            choose(highlight);
        } else if (collection_open) {
            choose_swatch(swatch, out);
        } else {
            return;
        }
        pad_choice_held_ = true;
    } else if (button_does(Action::LeaveMenu, button)) {
        if (menu) choose(menu->in_slot(CLOSE_SLOT));
    } else if (const Heading heading = button_heading(button); heading != NOWHERE) {
        if (menu) {
            step_highlight(direction_of(heading));
        } else if (collection_open) {
            step_swatch(direction_of(heading));
        }
    }
}

void Controls::step_highlight(ScreenDirection direction) {
    highlight_shown = true;
    if (highlight >= menu->items.size()) return;
    const std::size_t from = std::exchange(highlight, menu->towards(highlight, direction.dx, direction.dy));
    if (highlight != from) tell({Happening::Kind::HighlightMoved});
}

bool Controls::collection_key(SDL_Scancode key, FrameCommands& out) {
    if (key_does(Action::TakeSeed, key)) {
        choose_swatch(swatch, out);
        key_choice_held_ = true;
        return true;
    }
    if (const Heading heading = key_heading(key); heading != NOWHERE) {
        step_swatch(direction_of(heading));
        return true;
    }
    return key_does(Action::UseTool, key);
}

void Controls::step_swatch(ScreenDirection direction) {
    highlight_shown = true;
    const std::size_t from = std::exchange(swatch, swatch_towards(swatch, direction.dx, direction.dy));
    if (swatch != from) tell({Happening::Kind::HighlightMoved});
}

void Controls::choose_swatch(std::size_t genotype, FrameCommands& out) {
    // A click shows the ring too, grey on a genome the collection cannot give.
    highlight_shown = true;
    swatch = genotype;
    out.seed_chosen = genotype;
}

void Controls::toggle_collection() {
    collection_open = !collection_open;
    tell({collection_open ? Happening::Kind::CollectionOpened : Happening::Kind::CollectionClosed});
}

void Controls::volume_key(SDL_Scancode key, bool fresh) {
    if (key_does(Action::Mute, key) && fresh) toggle_mute();  // held, M mutes once
    if (key_does(Action::Quieter, key)) step_volume(-1);       // held, the steps go on
    if (key_does(Action::Louder, key)) step_volume(+1);
    if (key_does(Action::MusicMute, key) && fresh) toggle_mute(true);
    if (key_does(Action::MusicQuieter, key)) step_volume(-1, true);
    if (key_does(Action::MusicLouder, key)) step_volume(+1, true);
}

void Controls::toggle_mute(bool music) {
    music ? volume.toggle_music() : volume.toggle_mute();
    speaker_mark_frames = SPEAKER_MARK_FRAMES;
    tell({Happening::Kind::VolumeChanged, volume.mixer_volume()});
}

void Controls::step_volume(int direction, bool music) {
    music ? volume.step_music(direction) : volume.step(direction);
    speaker_mark_frames = SPEAKER_MARK_FRAMES;
    tell({Happening::Kind::VolumeChanged, volume.mixer_volume()});
}

void Controls::pass_on(World& world) {
    for (const Happening& happening : told_) world.tell(happening);
    told_.clear();
}

void Controls::choose(std::optional<std::size_t> index) {
    highlight_shown = true;
    if (index && *index < menu->items.size() && !menu->items[*index].held) menu->items[*index].held = 0;
}

void Controls::open_menu(ButtonMenu opened) {
    menu = std::move(opened);
    highlight = 0;
}

void Controls::finger_down(const SDL_TouchFingerEvent& finger, InputView& view, FrameCommands& out) {
    const ScreenTransform& transform = view.camera();
    touch_mode = true;
    const ScreenPoint p = finger_pixel(finger.x, finger.y, transform);
    const std::int64_t id = finger.fingerId;
    if (on_fullscreen_button(p.x, p.y)) {
        fullscreen_requested = true;
        return;
    }
    if (on_collection_button(p.x, p.y)) {
        toggle_collection();
        return;
    }
    if (const CollectionHit hit = collection_open ? view.collection_hit(p.x, p.y) : CollectionHit{}; hit.on_panel) {
        if (hit.swatch) choose_swatch(*hit.swatch, out);
        return;
    }
    if (pad.press(transform, id, p.x, p.y)) return;
    if (run_button.on_finger_down(transform, id, p.x, p.y)) return;
    if (tool_button && tool_button->on_finger_down(transform, id, p.x, p.y)) return;
    if (menu) {
        for (Button& button : menu->items) {
            if (button.on_finger_down(transform, id, p.x, p.y)) return;
        }
    }
}

void Controls::finger_up(const SDL_TouchFingerEvent& finger) {
    const std::int64_t id = finger.fingerId;
    if (pad.enabled && pad.finger == id) {
        pad.release(id);
    } else if (run_button.visible && run_button.held == id) {
        run_button.held.reset();
    } else if (tool_button && tool_button->visible && tool_button->held == id) {
        tool_button->held.reset();
    }
}

void Controls::after_menu(std::optional<ButtonMenu> result, const Lily& lily) {
    if (result) {
        open_menu(std::move(*result));
        return;
    }
    menu.reset();
    pad.enabled = true;
    run_button.visible = true;
    if (lily.tool) {
        tool_button = Button(std::nullopt, TOOL_CELL, std::to_underlying(button_row(lily.tool->kind())));
    } else {
        tool_button.reset();
    }
}

void Controls::enter_menu(ButtonMenu opened, const Lily& lily) {
    pad.enabled = false;
    pad.finger.reset();
    run_button.visible = false;
    run_button.held.reset();
    if (tool_button) {
        tool_button->visible = false;
        tool_button->held.reset();
    }
    if (!lily.tool) tool_button.reset();
    open_menu(std::move(opened));
    tell({Happening::Kind::MenuOpened});
}

FrameCommands Controls::frame_events(EventSource& events, Lily& lily, World& world, std::uint16_t now,
                                     InputView& view, const CardKeys* card) {
    FrameCommands out;
    if (speaker_mark_frames > 0) --speaker_mark_frames;
    watch_pointer(view);
    SDL_Event event;
    while (events.poll(event)) {
        if (!handle_event(event, view, card, out)) {
            out.quit = true;
            return out;
        }
    }
    pass_on(world);

    const Gamepads& pads = input_->gamepads();
    if (!button_held(Action::Choose, *input_)) pad_choice_held_ = false;
    const ScreenDirection pushed = stick_direction(pads.left_stick());
    const bool fresh_push = pushed != stick_was_ && pushed != ScreenDirection{};
    stick_was_ = pushed;
    const ScreenDirection volume_push = stick_direction(pads.right_stick());
    if (volume_push.dy != 0 && volume_push.dy != volume_stick_was_.dy) step_volume(-volume_push.dy);
    if (volume_push.dx != 0 && volume_push.dx != volume_stick_was_.dx) step_volume(volume_push.dx, true);
    volume_stick_was_ = volume_push;

    if (card) {
        // The game holds still under the card: no choice, no step, no tool.
    } else if (menu) {
        if (fresh_push) step_highlight(pushed);
        // While a menu is open the gardener stands still; only a choice can close it.
        if (const auto choice = menu->chosen(); choice && menu->action) {
            const bool closing = choice == menu->in_slot(CLOSE_SLOT);
            world.tell(closing ? Happening{Happening::Kind::MenuClosed}
                               : Happening{Happening::Kind::MenuChosen, static_cast<std::uint32_t>(*choice)});
            if (auto result = menu->run_action(*choice, world, lily)) after_menu(std::move(*result), lily);
        }
    } else if (collection_open) {
        // She stands while the collection is open: its keys are the arrows and Enter, and the
        // stick moves its highlight. The day goes on behind it, and time may fly.
        if (fresh_push) step_swatch(pushed);
        out.time_flies = held(Action::TimeFlies, *input_) && !time_flies_stopped;
        stand_still(lily, world, now, view);
    } else if (held(Action::TimeFlies, *input_) && !time_flies_stopped) {
        out.time_flies = true;
        stand_still(lily, world, now, view);
    } else {
        walk_point_and_use(lily, world, now, view, out);
    }

    if (mouse_released) {
        // A click shorter than a frame still gave one frame of use.
        mouse_use = false;
        mouse_released = false;
    }
    // A tap has had its frame; a hold goes on through the keys' state.
    key_use_ = false;
    // Let go, T may fly again past the event that stopped it.
    if (!held(Action::TimeFlies, *input_)) time_flies_stopped = false;
    if (pointer_news_) pointer_steers_ = true;
    pointer_news_ = false;
    for (std::size_t k = 0; k < down_before_.size(); ++k) down_before_[k] = input_->key_down(static_cast<SDL_Scancode>(k));
    if (!key_held(Action::UseTool, *input_)) key_choice_held_ = false;
    if (fullscreen_requested) {
        fullscreen_requested = false;
        view.switch_full_screen(*input_);
    }
    pass_on(world);
    return out;
}

void Controls::watch_pointer(InputView& screen) {
    const ScreenTransform& camera = screen.camera();
    const PointerView view{screen.scale(), camera.width, camera.height, input_->fullscreen()};
    if (view != view_seen_) {
        // A switch to full screen or a resize moves the window under a resting pointer: that is
        // no move of the player's, so the pointer is watched afresh once the window has settled.
        view_seen_ = view;
        settle_frames_ = POINTER_SETTLE_FRAMES;
    }
    const std::optional<ScreenPoint> now = input_->mouse_in_window();
    if (settle_frames_ > 0) {
        --settle_frames_;
    } else if (now && pointer_seen_ && *now != *pointer_seen_) {
        pointer_news_ = true;
    }
    if (now) pointer_seen_ = now;
}

void Controls::stand_still(Lily& lily, World& world, std::uint16_t now, InputView& view) {
    lily.anchor = lily.position;
    follow(view.camera(), lily.position);
    static_cast<void>(lily.use_tool(world, now, false));
}

void Controls::walk_point_and_use(Lily& lily, World& world, std::uint16_t now, InputView& view, FrameCommands& out) {
    const Gamepads& pads = input_->gamepads();
    const bool run = run_button.held.has_value() || held(Action::Run, *input_);
    if (!tool_button) {
        run_button.visible = true;
    } else if (!tool_button->held) {
        run_button.visible = true;
        tool_button->visible = !run;
    } else {
        run_button.visible = false;
        run_button.held.reset();
        tool_button->visible = !run;
        if (run) tool_button->held.reset();
    }

    Fixed step = keyboard_step(*input_);
    if (pad.finger) step = step + pad.step();
    if (const Fixed knob = stick_knob(pads.left_stick()); knob != Fixed{}) {
        highlight_shown = true;
        step = step + MovePad::step_for(knob);
    }
    if (run) step = scale(step, RUN_FACTOR);
    const bool standing = step == Fixed{};
    if (standing) {
        lily.anchor = lily.position;
        follow(view.camera(), lily.position);
    } else {
        auto entered = lily.walk(world, step.i, step.j);
        follow(view.camera(), lily.position);
        if (entered) {
            enter_menu(menu_from_request(*entered), lily);
            return;
        }
    }

    // A walking key, the stick or the pad hands the aim back to her facing; the pointer takes it
    // again only by moving or clicking, so one resting in the window never steers.
    if (pointer_news_) {
        pointer_steers_ = true;
    } else if (!standing) {
        pointer_steers_ = false;
    }
    if (const auto mouse = input_->mouse_in_window(); mouse && pointer_steers_) {
        const ScreenPoint at = logical_pixel(*mouse, view.scale());
        const Fixed pointed = view.camera().to_world(at.x, at.y);
        if (standing) lily.turn(wrap_sub(pointed.i, lily.position.i), wrap_sub(pointed.j, lily.position.j));
        lily.select_pointed(pointed);
    }

    const bool tool_held = tool_button && tool_button->held;
    const bool pad_use = button_held(Action::UseTool, *input_) && !pad_choice_held_;
    const bool key_use = key_use_ || (key_held(Action::UseTool, *input_) && !key_choice_held_);
    // While the morning report is up, it has every key: held ones work nothing either.
    const bool use = !run && !report_shown && (mouse_use || tool_held || pad_use || key_use);
    // Empty hands work nothing; once a tile, the game says which tool would.
    if (!use || lily.tool) {
        empty_hands_told_.reset();
    } else if (const auto aim = lily.target(); aim && aim != empty_hands_told_) {
        out.empty_hands_at = aim;
        empty_hands_told_ = aim;
    }
    if (auto opened = lily.use_tool(world, now, use)) open_menu(menu_from_request(*opened));
}

OnScreenControls Controls::on_screen() const {
    return {.touch_mode = touch_mode,
            .pad = &pad,
            .run_button = &run_button,
            .tool_button = tool_button ? &*tool_button : nullptr,
            .menu = menu ? &*menu : nullptr,
            .highlight = highlight,
            .highlight_shown = highlight_shown,
            .highlight_colour = HIGHLIGHT_COLOUR,
            .fullscreen = input().fullscreen(),
            .collection_open = collection_open};
}

DrawResult draw_controls(DrawContext& ctx, const Controls& controls) { return draw_controls(ctx, controls.on_screen()); }

}  // namespace qm
