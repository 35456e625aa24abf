// The milestones' table and record, the survey of the garden at nightfall and the choice of the
// morning's hint.
#include "milestones.hpp"

#include <algorithm>
#include <bit>

#include "flowers.hpp"
#include "world.hpp"

namespace qm {

namespace {

constexpr std::uint32_t bit(std::size_t genotype) { return std::uint32_t{1} << genotype; }
constexpr std::uint32_t ALL_COLOURS = bit(GENOTYPES) - 1;
constexpr std::uint32_t ROW = bit(9) - 1;  // the nine swatches of one yellow gene

constexpr std::size_t genotype_of_genes(const std::array<std::uint8_t, 3>& genes) {
    return genes[0] + 3u * genes[1] + 9u * genes[2];
}
constexpr std::size_t WHITE = genotype_of_genes({0, 0, 0});
constexpr std::size_t BLACK = genotype_of_genes({2, 2, 2});
constexpr std::size_t FIRST_GARDEN = genotype_of_genes(GARDEN_SEED_GENES);

struct Progress {
    std::uint32_t colours;
    std::uint32_t harvests;
    std::uint32_t top_level;
    std::uint32_t most_hives;
};

bool full_row(std::uint32_t colours) {
    for (std::size_t row = 0; row < 3; ++row) {
        if ((colours >> (9 * row) & ROW) == ROW) return true;
    }
    return false;
}

bool reached_by(Milestone m, const Progress& p) {
    switch (m) {
        case Milestone::FirstBloom: return p.colours != 0;
        case Milestone::FirstHarvest: return p.harvests > 0;
        case Milestone::BredColour: return (p.colours & ~bit(FIRST_GARDEN)) != 0;
        case Milestone::HiveLevel3: return p.top_level >= 3;
        case Milestone::TwoHives: return p.most_hives >= 2;
        case Milestone::TenColours: return std::popcount(p.colours) >= 10;
        case Milestone::White: return (p.colours & bit(WHITE)) != 0;
        case Milestone::Black: return (p.colours & bit(BLACK)) != 0;
        case Milestone::FullRow: return full_row(p.colours);
        case Milestone::AllColours: return p.colours == ALL_COLOURS;
    }
    return false;
}

struct HintRow {
    Hint id;
    const char* text;  // empty: worded for the garden
    bool (*fits)(const GardenSurvey&, std::uint32_t collected);
};

// Tried in this order; the first that fits and was not the last one given is the morning's.
constexpr std::array<HintRow, HINT_COUNT> HINTS{{
    // A closed gene pool is the one dead end the garden has: nothing bred brings a lost allele back.
    {Hint::GenePool, "",
     [](const GardenSurvey& g, std::uint32_t collected) { return gene_pool_gap(g.pool, collected).has_value(); }},
    {Hint::WaterBuds, "Water the buds before nightfall: dry buds never open",
     [](const GardenSurvey& g, std::uint32_t) { return g.stalled_buds > 0; }},
    {Hint::HarvestFullHive, "Harvest the hive when it is full: its level rises",
     [](const GardenSurvey& g, std::uint32_t) { return g.full_hives > 0; }},
    {Hint::KeepCrossesClose, "Keep flowers you want to cross next to each other",
     [](const GardenSurvey& g, std::uint32_t) { return g.lonely_open > 0; }},
    {Hint::TwoRanges, "A flower in two hives' ranges breeds in both",
     [](const GardenSurvey& g, std::uint32_t) { return g.hives >= 2 || g.splittable_hives > 0; }},
    // Mostly one colour in bloom by the hives: tomorrow brings more of the same.
    {Hint::DigUpUnwanted, "Dig up what you do not want bred",
     [](const GardenSurvey& g, std::uint32_t) { return g.open_in_range >= 4 && 2 * g.most_common_open > g.open_in_range; }},
    {Hint::StayNearHive, "Only open flowers within eight cells of a hive breed",
     [](const GardenSurvey&, std::uint32_t) { return true; }},
    {Hint::LevelMeansSeeds, "The higher a hive's level, the more seeds it sows",
     [](const GardenSurvey&, std::uint32_t) { return true; }},
}};

const HintRow& hint_row(Hint hint) { return HINTS.at(static_cast<std::size_t>(hint)); }

bool open_flower(const Tile& tile) {
    const Flower* flower = flower_on(tile);
    return flower && flower->stage == FlowerStage::Flower;
}

}  // namespace

const std::array<MilestoneRow, MILESTONE_COUNT> MILESTONES{{
    {Milestone::FirstBloom, "First bloom"},
    {Milestone::FirstHarvest, "First harvest"},
    {Milestone::BredColour, "A new colour bred"},
    {Milestone::HiveLevel3, "A hive of level 3"},
    {Milestone::TwoHives, "Two hives"},
    {Milestone::TenColours, "Ten colours"},
    {Milestone::White, "White: cc mm yy"},
    {Milestone::Black, "Black: CC MM YY"},
    {Milestone::FullRow, "A full row"},
    {Milestone::AllColours, "All 27 colours"},
}};

const char* hint_text(Hint hint) { return hint_row(hint).text; }

bool hint_fits(Hint hint, const GardenSurvey& garden, std::uint32_t collected) { return hint_row(hint).fits(garden, collected); }

GenePool gene_pool(const World& world) {
    GenePool pool;
    for (const auto& [at, tile] : world.tiles()) {
        const Flower* flower = flower_on(tile);
        if (!flower) continue;
        for (std::size_t g = 0; g < 3; ++g) pool.values[g] = static_cast<std::uint8_t>(pool.values[g] | 1u << flower->genes[g]);
    }
    return pool;
}

std::optional<GenePoolGap> gene_pool_gap(const GenePool& pool, std::uint32_t collected) {
    // A gene value v carries the recessive allele when v < 2 and the dominant one when v > 0.
    constexpr std::uint8_t RECESSIVE = 0b011;
    constexpr std::uint8_t DOMINANT = 0b110;
    for (std::size_t g = 0; g < 3; ++g) {
        if (pool.values[g] == 0) return std::nullopt;  // a bare field: it is sown again in grey
        for (const bool dominant : {false, true}) {
            const std::uint8_t carriers = dominant ? DOMINANT : RECESSIVE;
            if ((pool.values[g] & carriers) != 0) continue;
            const auto carries = [&](std::size_t t) { return (carriers >> genes_of_genotype(t)[g] & 1u) != 0; };
            bool needed = false;
            std::optional<std::size_t> seed;
            for (std::size_t t = 0; t < GENOTYPES; ++t) {
                if (!carries(t)) continue;
                if ((collected & bit(t)) == 0) needed = true;
                // The grey of the first garden carries every allele, and every run has seen it.
                else if (!seed || t == FIRST_GARDEN) seed = t;
            }
            if (needed && seed) return GenePoolGap{g, dominant, *seed};
        }
    }
    return std::nullopt;
}

std::string gene_pool_text(const GenePoolGap& gap) {
    // The allele pair of one gene, as the genome labels write it.
    const auto pair = [&](std::uint8_t value) {
        std::array<std::uint8_t, 3> genes{};
        genes[gap.gene] = value;
        return genome_label(genes).substr(2 * gap.gene, 2);
    };
    const std::string seed = gap.seed == FIRST_GARDEN ? "grey" : genome_label(genes_of_genotype(gap.seed));
    return "Every flower is " + pair(gap.dominant ? 0 : 2) + ": take a " + seed +
           " seed from the collection to breed " + pair(gap.dominant ? 2 : 0) + " again";
}

GardenSurvey survey_garden(const World& world) {
    GardenSurvey g;
    std::array<std::size_t, GENOTYPES> open_by_genotype{};
    for (const auto& [at, tile] : world.tiles()) {
        if (const auto* hive = std::get_if<Hive>(&tile)) {
            ++g.hives;
            g.full_hives += hive->hive.honey == HONEY_MAX ? 1u : 0u;
            g.splittable_hives += hive->hive.level >= 3 ? 1u : 0u;
            continue;
        }
        const Flower* flower = flower_on(tile);
        if (!flower) continue;
        g.stalled_buds += flower->stalled() ? 1u : 0u;
        if (flower->stage != FlowerStage::Flower) continue;
        const auto reaches = [at](const auto& range) { return range.second.contains(at); };
        if (!std::ranges::any_of(world.hive_ranges(), reaches)) continue;
        ++g.open_in_range;
        ++open_by_genotype[genotype_of(*flower)];
        const auto open_beside = [&](Cell d) { return open_flower(world.get_tile(at + d)); };
        g.lonely_open += std::ranges::none_of(NEIGHBOURS, open_beside) ? 1u : 0u;
    }
    g.most_common_open = std::ranges::max(open_by_genotype);
    g.pool = gene_pool(world);
    return g;
}

std::vector<Milestone> Milestones::hear(const MilestoneEvent& event, std::uint64_t day) {
    switch (event.kind) {
        case MilestoneEvent::Kind::NewColour:
            if (event.value >= GENOTYPES || (colours_ & bit(event.value)) != 0) return {};
            colours_ |= bit(event.value);
            progress_today_ = true;
            break;
        case MilestoneEvent::Kind::Harvest:
            ++harvests_;
            top_level_ = std::max(top_level_, event.value);
            break;
        case MilestoneEvent::Kind::HiveSetDown:
            most_hives_ = std::max(most_hives_, event.value);
            break;
    }
    const Progress now{colours_, harvests_, top_level_, most_hives_};
    std::vector<Milestone> got;
    for (const MilestoneRow& row : MILESTONES) {
        std::uint64_t& on = reached_on_[static_cast<std::size_t>(row.id)];
        if (on != 0 || !reached_by(row.id, now)) continue;
        on = day;
        got.push_back(row.id);
        progress_today_ = true;
    }
    return got;
}

std::optional<std::uint64_t> Milestones::reached_on(Milestone milestone) const {
    const std::uint64_t day = reached_on_.at(static_cast<std::size_t>(milestone));
    return day == 0 ? std::nullopt : std::optional(day);
}

std::size_t Milestones::reached() const {
    return static_cast<std::size_t>(std::ranges::count_if(reached_on_, [](std::uint64_t d) { return d != 0; }));
}

std::size_t Milestones::colours() const { return static_cast<std::size_t>(std::popcount(colours_)); }

std::optional<HintNote> Milestones::end_day(const GardenSurvey& garden) {
    const bool stuck = !progress_today_;
    progress_today_ = false;
    if (!stuck) return std::nullopt;
    for (const HintRow& row : HINTS) {
        if (row.id != last_hint_ && row.fits(garden, colours_)) {
            last_hint_ = row.id;
            if (row.id == Hint::GenePool) return HintNote{row.id, gene_pool_text(*gene_pool_gap(garden.pool, colours_))};
            return HintNote{row.id, row.text};
        }
    }
    return std::nullopt;  // unreachable: two hints fit any garden
}

}  // namespace qm
