// Which sound goes with what: the happenings' sounds, the place's loops by the clock and the
// hives, the footsteps by the ground, and the player's volume.
#include "audio.hpp"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <utility>

#include "day_clock.hpp"
#include "lily.hpp"
#include "world.hpp"

namespace qm {

Sound& silence() {
    static SilentSound none;
    return none;
}

std::size_t RecordingSound::loops_playing() const {
    return static_cast<std::size_t>(std::ranges::count_if(loops, [](const Place& p) { return p.left + p.right > 0; }));
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

// Her offset to a cell: how far to the right in cell widths, and how far in hex steps.
struct Offset {
    double dx, far;
};
Offset offset(Fixed here, Cell to) {
    const Fixed d = centre_of(to) - here;
    return {d.i / (2.0 * ONE_UNIT), static_cast<double>(hex_length(d)) / ONE_UNIT};
}

}  // namespace

Place hum_place(double dx, double far) {
    // The last cell of the reach fades the bees out, so walking away never cuts them off.
    const double edge = std::clamp(HUM_REACH + 1.0 - far, 0.0, 1.0);
    return place_at(dx, far, static_cast<float>(HUM_LEVEL * std::max(edge, 0.05)));
}

std::array<Place, LOOP_COUNT> place_loops(const World& world, Fixed here, std::uint16_t tick) {
    // The nearest few hives in reach, each from its own place. Every hive keeps a range set, so
    // the ranges' keys are the hives.
    std::array<std::pair<std::uint32_t, Cell>, HUMS_HEARD> nearest;
    nearest.fill({HUM_REACH + 1, Cell{}});
    const Cell cell_here = containing_tile(here);
    for (const auto& [hive, range] : world.hive_ranges()) {
        std::pair<std::uint32_t, Cell> entry{distance(hive, cell_here), hive};
        if (entry.first > HUM_REACH) continue;
        for (auto& slot : nearest) {
            if (entry.first < slot.first) std::swap(entry, slot);
        }
    }
    Place hum = SILENT_PLACE;
    for (const auto& [cells, hive] : nearest) {
        if (cells > HUM_REACH) continue;
        const Offset o = offset(here, hive);
        hum = together(hum, hum_place(o.dx, o.far));
    }
    const auto centred = [](float level) { return Place{level, level, 1}; };
    const double night = static_cast<double>(crickets_share(tick)) / 100.0;
    const Offset pond = offset(here, POND_CENTRE);
    const double by_pond = std::clamp(1.0 - pond.far / FROGS_REACH, 0.0, 1.0);
    return {hum, centred(static_cast<float>(CRICKETS_LEVEL * night)),
            centred(static_cast<float>(BIRDS_LEVEL * static_cast<double>(birds_share(tick)) / 100.0)),
            by_pond * night > 0 ? place_at(pond.dx, pond.far, static_cast<float>(FROGS_LEVEL * night))
                                : SILENT_PLACE};
}

MusicPart music_part(std::uint16_t tick) {
    if (tick < hour(12)) return MusicPart::Morning;
    return tick < hour(17) ? MusicPart::Afternoon : MusicPart::Dusk;
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

namespace {
std::uint8_t stepped(std::uint8_t level, int direction) {
    return static_cast<std::uint8_t>(std::clamp(level + (direction > 0 ? 1 : -1), 0, int{Volume::STEPS}));
}
}  // namespace

float step_gain(std::uint8_t level) {
    if (level == 0) return 0;
    return static_cast<float>(std::pow(10.0, -Volume::STEP_DB * (Volume::STEPS - std::min(level, Volume::STEPS)) / 20.0));
}

void Volume::step(int direction) {
    muted = false;
    level = stepped(level, direction);
}

void Volume::step_music(int direction) {
    music_muted = false;
    music_level = stepped(music_level, direction);
}

float Volume::gain() const { return muted ? 0 : step_gain(level); }
float Volume::music_gain() const { return music_muted ? 0 : step_gain(music_level); }

std::uint8_t Volume::mixer_volume() const { return static_cast<std::uint8_t>(std::lround(gain() * FULL_VOLUME)); }

}  // namespace qm
