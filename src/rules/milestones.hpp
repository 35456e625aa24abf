// A run with a goal: the milestones a player reaches on the way to the full collection, the hint
// for a morning after a day that brought nothing new, and the finale of the 27th colour. Kept in
// memory only, like the collection; the game feeds it what happened and reads it back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// The nudges, most pressing first; the last two fit any garden.
enum class Hint : std::uint8_t {
    GenePool,  // no plant carries an allele some colour still to collect needs
    WaterBuds,
    HarvestFullHive,
    KeepCrossesClose,
    TwoRanges,
    DigUpUnwanted,
    StayNearHive,
    LevelMeansSeeds,
};
inline constexpr std::size_t HINT_COUNT = 8;

// The alleles the plants on the field carry, gene by gene (cyan, magenta, yellow): bit v of
// values[g] is set when some plant has v dominant alleles in gene g.
struct GenePool {
    std::array<std::uint8_t, 3> values{};
};
GenePool gene_pool(const World& world);

// An allele no plant carries, which a colour still to collect needs, and a colour of the
// collection whose seed brings it back.
struct GenePoolGap {
    std::size_t gene = 0;
    bool dominant = false;  // the allele missing: C (dominant) or c (recessive)
    std::size_t seed = 0;   // the genotype to take from the collection
};
// The first such gap, gene by gene, recessive first; none when every allele a missing colour
// needs is on the field, or when no colour collected carries the one that is not.
// `collected`: bit t set for each genotype seen in bloom.
std::optional<GenePoolGap> gene_pool_gap(const GenePool& pool, std::uint32_t collected);

// A hint and its words for the garden it was chosen for.
struct HintNote {
    Hint id;
    std::string text;
    friend bool operator==(const HintNote&, const HintNote&) = default;
};
// The words of the hints that always say the same.
const char* hint_text(Hint hint);
// "Every flower is CC: take a grey seed from the collection to breed cc again"
std::string gene_pool_text(const GenePoolGap& gap);

// What the hints look at in the garden at nightfall, counted in one pass over the field.
struct GardenSurvey {
    std::size_t stalled_buds = 0;
    std::size_t full_hives = 0;
    std::size_t hives = 0;
    std::size_t splittable_hives = 0;
    std::size_t open_in_range = 0;      // open flowers within some hive's reach
    std::size_t lonely_open = 0;        // ... of which no open flower stands next to
    std::size_t most_common_open = 0;   // ... of the commonest genotype among them
    // The field's alleles. The game fills it from the morning's field, the seeds the night left:
    // that is the pool the next day breeds from.
    GenePool pool;
};
GardenSurvey survey_garden(const World& world);
// `collected`: the genotypes seen in bloom, as bits.
bool hint_fits(Hint hint, const GardenSurvey& garden, std::uint32_t collected = 0);

class Milestones {
public:
    // Hears one thing that happened on `day`; returns the milestones it reached, in table order.
    std::vector<Milestone> hear(const MilestoneEvent& event, std::uint64_t day);

    std::optional<std::uint64_t> reached_on(Milestone milestone) const;
    std::size_t reached() const;
    std::size_t colours() const;

    // Nightfall, with the garden as the day left it: tomorrow's hint, when the day brought no new
    // colour and no milestone. Never the hint given last time.
    std::optional<HintNote> end_day(const GardenSurvey& garden);

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
