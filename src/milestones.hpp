// A run with a goal: the milestones a player reaches on the way to the full collection, the hint
// for a morning after a day that brought nothing new, and the finale of the 27th colour. Kept in
// memory only, like the collection; the game feeds it what happened and reads it back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qm {

class World;

// In order of difficulty: each one leads on to the next.
enum class Milestone : std::uint8_t {
    FirstBloom,   // a watered bud opened
    FirstHarvest,
    BredColour,   // a colour the first garden did not have
    HiveLevel3,
    TwoHives,     // a hive split and its half set down
    TenColours,
    White,        // cc mm yy
    Black,        // CC MM YY
    FullRow,      // one row of the collection, all nine shades of a yellow gene
    AllColours,   // the finale
};
inline constexpr std::size_t MILESTONE_COUNT = 10;

struct MilestoneRow {
    Milestone id;
    const char* name;  // in the collection panel and the notice
};
extern const std::array<MilestoneRow, MILESTONE_COUNT> MILESTONES;

// What the milestones hear, as few kinds as they need.
struct MilestoneEvent {
    enum class Kind : std::uint8_t {
        NewColour,    // value: the genotype of a flower that opened
        Harvest,      // value: the hive's level after the harvest
        HiveSetDown,  // value: hives on the field after it was set down
    };
    Kind kind;
    std::uint32_t value;
};

// The nudges, most basic first; the last two fit any garden.
enum class Hint : std::uint8_t {
    WaterBuds,
    HarvestFullHive,
    KeepCrossesClose,
    TwoRanges,
    DigUpUnwanted,
    StayNearHive,
    LevelMeansSeeds,
};
inline constexpr std::size_t HINT_COUNT = 7;
const char* hint_text(Hint hint);

// What the hints look at in the garden at nightfall, counted in one pass over the field.
struct GardenSurvey {
    std::size_t stalled_buds = 0;
    std::size_t full_hives = 0;
    std::size_t hives = 0;
    std::size_t splittable_hives = 0;
    std::size_t open_in_range = 0;      // open flowers within some hive's reach
    std::size_t lonely_open = 0;        // ... of which no open flower stands next to
    std::size_t most_common_open = 0;   // ... of the commonest genotype among them
};
GardenSurvey survey_garden(const World& world);
bool hint_fits(Hint hint, const GardenSurvey& garden);

class Milestones {
public:
    // Hears one thing that happened on `day`; returns the milestones it reached, in table order.
    std::vector<Milestone> hear(const MilestoneEvent& event, std::uint64_t day);

    std::optional<std::uint64_t> reached_on(Milestone milestone) const;
    std::size_t reached() const;
    std::size_t colours() const;

    // Nightfall, with the garden as the day left it: tomorrow's hint, when the day brought no new
    // colour and no milestone. Never the hint given last time.
    std::optional<Hint> end_day(const GardenSurvey& garden);

private:
    std::uint32_t colours_ = 0;  // bit k: genotype k seen in bloom
    std::uint32_t harvests_ = 0;
    std::uint32_t top_level_ = 1;
    std::uint32_t most_hives_ = 1;
    std::array<std::uint64_t, MILESTONE_COUNT> reached_on_{};  // 0: not yet; days count from 1
    bool progress_today_ = false;
    std::optional<Hint> last_hint_;
};

}  // namespace qm
