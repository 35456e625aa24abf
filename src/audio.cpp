// Which sound goes with what: the happenings' sounds, the place's loops by the clock and the
// hives, the footsteps by the ground, and the player's volume.
#include "audio.hpp"

#include <algorithm>
#include <bitset>

#include "day_clock.hpp"
#include "lily.hpp"
#include "world.hpp"

namespace qm {

Sound& silence() {
    static SilentSound none;
    return none;
}

std::size_t RecordingSound::loops_playing() const {
    return static_cast<std::size_t>(std::ranges::count_if(loops, [](std::uint8_t v) { return v > 0; }));
}

std::optional<SoundId> sound_for(const Happening& happening) {
    using K = Happening::Kind;
    switch (happening.kind) {
        case K::Tilled: return SoundId::Till;
        case K::Watered: return SoundId::Water;
        case K::CanFilled: return SoundId::CanFill;
        case K::CanEmpty: return SoundId::CanDry;
        case K::DugUp: return SoundId::Dig;
        case K::Planted: return SoundId::Plant;
        case K::Smoked: return SoundId::Smoke;
        case K::ToolIdle: return SoundId::Nothing;
        case K::HiveHarvested: return SoundId::Harvest;
        case K::HiveSplit: return SoundId::Split;
        case K::HiveSetDown: return SoundId::HiveDown;
        case K::HighlightMoved:
        case K::VolumeChanged: return SoundId::MenuMove;  // a tick at the new volume
        case K::SeedTaken:
        case K::MenuChosen: return SoundId::MenuChoose;
        case K::MenuClosed: return SoundId::MenuClose;
        case K::CollectionOpened: return SoundId::CollectionOpen;
        case K::CollectionClosed: return SoundId::CollectionClose;
        // A milestone rings like the dawn: a step of the run reached.
        case K::DawnOf:
        case K::MilestoneReached: return SoundId::Chime;
        // A notice without a sound of their own rings the notice's bell; the night's seeds are
        // told by the dawn's chime.
        case K::HiveSmoked: return SoundId::Notice;
        case K::BeesSowed:
        case K::GardenSownAgain:
        // A flower opening is heard only as a new colour, which plays its tune; a menu opening is
        // seen, and the step into the shed or the smoker's use already sounded.
        case K::FlowerOpened:
        case K::NewColour:
        // The last charge already sounded as its watering.
        case K::CanRanDry:
        case K::MenuOpened: return std::nullopt;
    }
    return std::nullopt;
}

void play_happenings(Sound& sound, const std::vector<Happening>& happenings) {
    std::bitset<SOUND_COUNT> played;
    bool tuned = false;
    for (const Happening& happening : happenings) {
        if (happening.kind == Happening::Kind::NewColour && !tuned) {
            sound.tune(happening.value);
            tuned = true;
        }
        const auto id = sound_for(happening);
        if (!id || played.test(static_cast<std::size_t>(*id))) continue;
        played.set(static_cast<std::size_t>(*id));
        sound.play(*id);
    }
}

// ---- the place ----

namespace {

constexpr std::uint16_t hour(int h) { return static_cast<std::uint16_t>((h - 5) * TICKS_PER_HOUR); }

// A straight line from (t0, v0) to (t1, v1), flat outside.
std::uint32_t ramp(std::uint16_t t, std::uint16_t t0, std::uint32_t v0, std::uint16_t t1, std::uint32_t v1) {
    if (t <= t0) return v0;
    if (t >= t1) return v1;
    const auto span = static_cast<std::int64_t>(t1 - t0);
    const auto v = static_cast<std::int64_t>(v0) + (static_cast<std::int64_t>(v1) - v0) * (t - t0) / span;
    return static_cast<std::uint32_t>(v);
}

// Out of 100: the dawn chorus swells over the first hour, thins to a third after noon and falls
// quiet between half past four and half past five.
std::uint32_t birds_share(std::uint16_t t) {
    if (t < hour(6)) return ramp(t, hour(5), 30, hour(6), 100);
    if (t < hour(12)) return 100;
    if (t < hour(16)) return ramp(t, hour(12), 100, hour(13), 35);
    return ramp(t, hour(16) + TICKS_PER_HOUR / 2, 35, hour(17) + TICKS_PER_HOUR / 2, 0);
}

std::uint32_t crickets_share(std::uint16_t t) { return ramp(t, hour(17), 0, hour(18), 100); }

std::uint8_t share_of(std::uint8_t volume, std::uint32_t share) {
    return static_cast<std::uint8_t>(std::uint32_t{volume} * share / 100);
}

}  // namespace

std::uint8_t hum_volume(std::uint32_t cells_to_hive) {
    if (cells_to_hive > HUM_REACH) return 0;
    return static_cast<std::uint8_t>(std::uint32_t{HUM_VOLUME} * (HUM_REACH + 1 - cells_to_hive) / (HUM_REACH + 1));
}

std::array<std::uint8_t, LOOP_COUNT> place_loops(const World& world, Cell here, std::uint16_t tick) {
    std::uint32_t nearest = HUM_REACH + 1;
    // Every hive keeps a range set, so the ranges' keys are the hives.
    for (const auto& [hive, range] : world.hive_ranges()) nearest = std::min<std::uint32_t>(nearest, distance(hive, here));
    return {hum_volume(nearest), share_of(BIRDS_VOLUME, birds_share(tick)), share_of(CRICKETS_VOLUME, crickets_share(tick))};
}

SoundId step_sound(const World& world, Cell under) {
    const Tile& tile = world.get_tile(under);
    if (const auto* soil = std::get_if<Soil>(&tile)) return soil->watered ? SoundId::StepWet : SoundId::StepSoil;
    if (std::holds_alternative<Hive>(tile)) return SoundId::StepSoil;
    return SoundId::StepGrass;
}

std::optional<SoundId> Footsteps::step(const World& world, const Lily& lily) {
    const std::uint32_t frame = lily.walk_frame();
    const std::uint32_t last = std::exchange(last_frame_, frame);
    // Frames 1 and 3 of the walk cycle are the feet coming down.
    if (frame == last || (frame != 1 && frame != 3) || lily.in_building) return std::nullopt;
    return step_sound(world, containing_tile(lily.position));
}

// ---- the player's volume ----

void Volume::step(int direction) {
    muted = false;
    level = static_cast<std::uint8_t>(std::clamp(level + (direction > 0 ? 1 : -1), 0, int{STEPS}));
}

std::uint8_t Volume::mixer_volume() const {
    return muted ? 0 : static_cast<std::uint8_t>(std::uint32_t{FULL_VOLUME} * level / STEPS);
}

}  // namespace qm
