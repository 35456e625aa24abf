// What happened in a frame, as one stream: the world, the gardener and the controls tell it, and the
// game reads it once a frame for the collection, the notices and the sound.
#pragma once

#include <cstdint>

namespace qm {

// One thing that happened. Told in the order it happened (World::tell), read once by the game's
// frame (hear_the_field), which judges new colours and passes every happening on, in order, to the
// notices, the sound and anyone else listening (Game::heard). `value` carries the one number each
// kind needs; the kinds that need none leave it 0.
struct Happening {
    enum class Kind : std::uint8_t {
        // ---- the field ----
        FlowerOpened,    // a flower opened; value: its genotype (0 to 26)
        NewColour,       // the first flower of its genotype this run; value: the genotype. Told by
                         // the game after the collection has recorded a FlowerOpened
        // ---- the hives ----
        HiveHarvested,   // value: the hive's new level
        HiveSmoked,      // the smoker on a hive with no menu; value: its fill in percent
        HiveSplit,       // value: the level of the half she now carries
        HiveSetDown,     // she set a carried hive down; value: its level
        // ---- her tool, one per use (value: the tool's kind, ToolKind) ----
        Tilled,          // the hoe made soil
        Watered,         // the can watered dry soil
        CanFilled,       // the can was filled at the pond
        CanEmpty,        // the can had no water for dry soil
        CanRanDry,       // the can's last charge went on dry soil
        DugUp,           // the shovel took a flower up; value: its genotype instead of the tool
        Planted,         // a carried flower went into the soil; value: its genotype instead
        Smoked,          // smoke on a hive
        ToolIdle,        // a use that did nothing
        // ---- menus and panels ----
        MenuOpened,      // the shed's or a hive's menu opened
        HighlightMoved,  // the keys or a gamepad moved the menu's highlight
        MenuChosen,      // a button other than the closing one was chosen; value: its index
        MenuClosed,      // the closing button was chosen
        CollectionOpened,
        CollectionClosed,
        SeedTaken,       // she took a seed from the collection; value: its genotype
        VolumeChanged,   // muted, unmuted or stepped; value: the mixer volume now (0 when muted)
        // ---- the day ----
        DawnOf,          // the new-day screen went up; value: the coming day's number
        BeesSowed,       // the night's seeds; value: how many the bees sowed
        GardenSownAgain, // a bare night: the garden sown again; value: the seeds
        // ---- the run's goals ----
        MilestoneReached,  // value: the milestone (Milestone). Told by the game as it reaches one
    };
    Kind kind;
    std::uint32_t value = 0;
    friend constexpr bool operator==(const Happening&, const Happening&) = default;
};

}  // namespace qm
