// Tonight's forecast and the planner's table: the night's plan read without its draws.
#include "forecast.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <numeric>
#include <tuple>

#include <boost/unordered/unordered_flat_map.hpp>

#include "day_clock.hpp"
#include "fatal.hpp"
#include "world.hpp"

namespace qm {

namespace {

// The seeds a flower (or a patch of soil) will try to sow tonight: one per list at the least,
// each list's most at the most.
struct Tries {
    std::size_t least = 0;
    std::size_t most = 0;
};

// A connected patch of soil and the seeds that will try to fall in it: how many of its flowers'
// draws come from hives of each level.
struct Patch {
    std::size_t cells = 0;
    bool measured = true;  // all of it counted
    Tries tries;
    std::vector<std::pair<std::uint16_t, std::size_t>> levels;  // (level, draws)
};

// The mean and variance of one draw of seeds for a level.
std::pair<double, double> draw_moments(std::uint16_t level) {
    const std::vector<double> chance = seed_count_chances(level);
    double mean = 0, square = 0;
    for (std::size_t n = 0; n < chance.size(); ++n) {
        mean += chance[n] * static_cast<double>(n);
        square += chance[n] * static_cast<double>(n * n);
    }
    return {mean, square - mean * mean};
}

// Beyond this many steps the expected fill of a patch is worked out from the normal curve.
constexpr std::size_t EXACT_FILL_STEPS = std::size_t{1} << 20;  // a couple of milliseconds

// The seeds a patch takes on average: min(T, cells), where T is the sum of its independent draws.
// Exactly, by the distribution of T above its least, cut off where the patch is full; in a large
// patch near its brim, by the normal curve of T, whose error there is a sliver of a seed per cell.
double expected_fill(const Patch& patch) {
    double mean = 0, variance = 0;
    std::size_t steps = 0;
    for (const auto& [level, draws] : patch.levels) {
        const auto [m, v] = draw_moments(level);
        mean += m * static_cast<double>(draws);
        variance += v * static_cast<double>(draws);
        steps += draws * (patch.cells - std::min(patch.cells, patch.tries.least) + 1) * most_seeds(level);
    }
    if (!patch.measured || patch.tries.most <= patch.cells) return mean;
    if (patch.tries.least >= patch.cells) return static_cast<double>(patch.cells);
    if (steps > EXACT_FILL_STEPS) {
        const double sd = std::sqrt(variance);
        const double over = mean - static_cast<double>(patch.cells);
        const double z = over / sd;
        const double spilled = over * 0.5 * std::erfc(-z / std::sqrt(2.0)) + sd * std::exp(-z * z / 2) / std::sqrt(2 * std::numbers::pi);
        return mean - spilled;
    }
    // above[e]: the chance that T is the least plus e; the last place holds "full or more".
    const std::size_t room = patch.cells - patch.tries.least;
    std::vector<double> above(room + 1, 0.0), next(room + 1);
    above[0] = 1;
    for (const auto& [level, draws] : patch.levels) {
        const std::vector<double> chance = seed_count_chances(level);
        for (std::size_t d = 0; d < draws; ++d) {
            std::ranges::fill(next, 0.0);
            for (std::size_t e = 0; e <= room; ++e) {
                if (above[e] == 0) continue;
                for (std::size_t n = 1; n < chance.size(); ++n) next[std::min(room, e + n - 1)] += above[e] * chance[n];
            }
            std::swap(above, next);
        }
    }
    double fill = static_cast<double>(patch.tries.least);
    for (std::size_t e = 1; e <= room; ++e) fill += above[e] * static_cast<double>(e);
    return fill;
}

// A seed searches outward from its parent across sown soil for the nearest empty soil, and every
// other tile stops the search: so the seeds of the parents standing in one connected patch of soil
// land in that patch, each finds a place while the patch has one, and the patch takes
// min(tries, cells) of them. The field is bare when the sowing starts, so every soil cell of the
// patch is free. Summed over patches, the fewest and the most tries give the exact range of seeds
// sown (every seed count from 1 to a level's most can be drawn), and each patch's expected fill
// the expected seeds. A patch is measured only up to the most seeds the whole night can try;
// beyond that it never fills, and a parent standing in its unmeasured part measures the same
// patch afresh, with the same result.
struct SeedsSown {
    std::size_t least = 0;
    std::size_t most = 0;
    double expected = 0;
    double tried = 0;  // the seeds the flowers try to sow, on average
};

SeedsSown seeds_sown(const World& world, const NightPlan& plan, const std::vector<Tries>& tries) {
    std::size_t bound = 0;
    for (const Tries& t : tries) bound += t.most;

    boost::unordered_flat_map<Cell, std::uint32_t, CellHash> patch_of;
    std::vector<Patch> patches;
    std::vector<std::uint32_t> patch_index(tries.size(), 0);
    std::vector<Cell> queue;
    for (std::size_t k = 0; k < tries.size(); ++k) {
        if (tries[k].most == 0) continue;
        const Cell from = plan.open[k].position;
        auto found = patch_of.find(from);
        if (found == patch_of.end()) {
            const auto id = static_cast<std::uint32_t>(patches.size());
            Patch& patch = patches.emplace_back();
            queue.assign(1, from);
            patch_of.emplace(from, id);
            for (std::size_t head = 0; head < queue.size(); ++head) {
                if (queue.size() > bound) {
                    patch.measured = false;
                    break;
                }
                for (const Cell d : NEIGHBOURS) {
                    const Cell next = queue[head] + d;
                    if (!std::holds_alternative<Soil>(world.get_tile(next))) continue;
                    if (patch_of.try_emplace(next, id).second) queue.push_back(next);
                }
            }
            patch.cells = queue.size();
            found = patch_of.find(from);
        }
        patch_index[k] = found->second;
        Patch& patch = patches[found->second];
        patch.tries.least += tries[k].least;
        patch.tries.most += tries[k].most;
    }
    for (const HiveList& list : plan.hives) {
        if (!list.breeds()) continue;
        for (const std::uint32_t k : list.parents) {
            auto& levels = patches[patch_index[k]].levels;
            const auto same = std::ranges::find(levels, list.hive.level, &std::pair<std::uint16_t, std::size_t>::first);
            if (same == levels.end()) {
                levels.emplace_back(list.hive.level, 1);
            } else {
                ++same->second;
            }
        }
    }

    SeedsSown sown;
    for (const Patch& patch : patches) {
        sown.least += patch.measured ? std::min(patch.tries.least, patch.cells) : patch.tries.least;
        sown.most += patch.measured ? std::min(patch.tries.most, patch.cells) : patch.tries.most;
        sown.expected += expected_fill(patch);
        for (const auto& [level, draws] : patch.levels) sown.tried += mean_seeds(level) * static_cast<double>(draws);
    }
    return sown;
}

// The earliest tick a plant that is still growing can open, watered in time.
std::uint32_t earliest_opening(const Flower& flower) {
    switch (flower.stage) {
        case FlowerStage::Seed: return std::uint32_t{flower.next_stage} + 2 * TICKS_PER_HOUR;
        case FlowerStage::Sprout: return std::uint32_t{flower.next_stage} + TICKS_PER_HOUR;
        case FlowerStage::Bud:
        case FlowerStage::Flower: break;
    }
    return flower.next_stage;
}

std::array<std::uint32_t, 2> passed_halves(std::uint8_t gene) {
    switch (gene) {
        case 0: return {2, 0};
        case 1: return {1, 1};
        case 2: return {0, 2};
        default: fatal(ALLELE_MESSAGE);
    }
}

// The chances of each genome of mate(a, b), in 64ths.
std::array<std::uint32_t, GENOTYPES> genome_64ths(const Flower& a, const Flower& b) {
    std::array<std::array<std::uint32_t, 3>, 3> genes{};
    for (std::size_t g = 0; g < 3; ++g) genes[g] = gene_quarters(a.genes[g], b.genes[g]);
    std::array<std::uint32_t, GENOTYPES> chances{};
    for (std::size_t t = 0; t < GENOTYPES; ++t) {
        const auto v = genes_of_genotype(t);
        chances[t] = genes[0][v[0]] * genes[1][v[1]] * genes[2][v[2]];
    }
    return chances;
}

}  // namespace

std::vector<double> seed_count_chances(std::uint16_t level) {
    std::vector<double> chance(most_seeds(level) + 1, 0.0);
    for (std::uint32_t n = 1; n < chance.size(); ++n) {
        // The draws of bit length n: 2^(n-1) up to 2^n - 1, or up to the level.
        const std::uint32_t first = std::uint32_t{1} << (n - 1);
        const std::uint32_t last = std::min<std::uint32_t>(level, (std::uint32_t{1} << n) - 1);
        chance[n] = static_cast<double>(last - first + 1) / level;
    }
    return chance;
}

double mean_seeds(std::uint16_t level) { return draw_moments(level).first; }

std::array<std::uint32_t, 3> gene_quarters(std::uint8_t a, std::uint8_t b) {
    const auto pa = passed_halves(a);
    const auto pb = passed_halves(b);
    return {pa[0] * pb[0], pa[0] * pb[1] + pa[1] * pb[0], pa[1] * pb[1]};
}

Forecast forecast_night(const World& world, const NightPlan& plan) {
    Forecast forecast;
    std::vector<Tries> tries(plan.open.size());
    for (const HiveList& list : plan.hives) {
        if (!list.breeds()) continue;
        for (const std::uint32_t k : list.parents) {
            tries[k].least += 1;
            tries[k].most += most_seeds(list.hive.level);
        }
    }
    const SeedsSown sown = seeds_sown(world, plan, tries);
    forecast.seeds_least = sown.least;
    forecast.seeds_most = sown.most;
    forecast.seeds_expected = sown.expected;
    forecast.seeds_lost = std::max(0.0, sown.tried - sown.expected);
    forecast.breeding = count_breeding(plan);

    std::size_t plants = 0;
    for (const auto& [c, tile] : world.tiles()) {
        const Flower* flower = flower_on(tile);
        if (!flower) continue;
        ++plants;
        if (open_tonight(*flower, Open::ByNightfall)) continue;
        if (flower->stalled() && !std::get<Soil>(tile).watered) ++forecast.dry_buds;
        if (flower->stage != FlowerStage::Bud && earliest_opening(*flower) <= DAY_END) ++forecast.growing;
    }
    forecast.leaving = plants - forecast.breeding;
    return forecast;
}

std::size_t dry_buds_in_time(const Forecast& forecast, std::uint16_t now) {
    return std::uint32_t{now} + TICKS_PER_HOUR <= DAY_END ? forecast.dry_buds : 0;
}

const char* barren_text(Barren why) {
    switch (why) {
        case Barren::No: break;
        case Barren::NoHive: return "no hive in reach";
        case Barren::NotOpen: return "not open";
        case Barren::NoPartner: return "no open partner in reach";
        case Barren::TooLate: return "opens after nightfall";
    }
    return "";
}

FlowerOutlook flower_outlook(const World& world, const NightPlan& plan, Cell at) {
    FlowerOutlook outlook;
    if (!flower_on(world.get_tile(at))) return outlook;
    if (std::ranges::none_of(plan.hives, [&](const HiveList& list) { return distance(list.hive.position, at) <= HIVE_RANGE; })) {
        outlook.why = Barren::NoHive;
        return outlook;
    }
    // A bud replanted or watered late opens on its hour, after the bees have done their work.
    if (const Flower& bud = *flower_on(world.get_tile(at)); bud.stage == FlowerStage::Bud && !bud.stalled() && bud.next_stage > DAY_END) {
        outlook.why = Barren::TooLate;
        outlook.opens_at = bud.next_stage;
        return outlook;
    }
    const auto open = std::ranges::find_if(plan.open, [&](const Parent& p) { return p.position == at; });
    if (open == plan.open.end()) return outlook;
    const auto self = static_cast<std::uint32_t>(open - plan.open.begin());

    // Each list it breeds in: its partners' genome chances summed (in 64ths), and their count.
    struct ListChances {
        std::array<std::uint32_t, GENOTYPES> sum{};
        std::uint64_t partners = 0;
        double weight = 0;
    };
    std::vector<ListChances> lists;
    for (const HiveList& list : plan.hives) {
        if (!list.breeds()) continue;
        const auto place = std::ranges::lower_bound(list.parents, self);
        if (place == list.parents.end() || *place != self) continue;
        ListChances& chances = lists.emplace_back();
        chances.weight = mean_seeds(list.hive.level);
        outlook.seeds_least += 1;
        outlook.seeds_most += most_seeds(list.hive.level);
        for (const std::uint32_t p : nearest_partners(plan, list, static_cast<std::size_t>(place - list.parents.begin()))) {
            const Parent& partner = plan.open[list.parents[p]];
            if (std::ranges::find(outlook.partners, partner.position) == outlook.partners.end()) outlook.partners.push_back(partner.position);
            const auto c = genome_64ths(open->flower, partner.flower);
            for (std::size_t t = 0; t < GENOTYPES; ++t) chances.sum[t] += c[t];
            ++chances.partners;
        }
    }
    if (lists.empty()) {
        outlook.why = Barren::NoPartner;
        return outlook;
    }
    outlook.why = Barren::No;

    // The same odds in every list (as when its hives pair it alike) make one exact fraction.
    const bool alike = std::ranges::all_of(lists, [&](const ListChances& l) {
        for (std::size_t t = 0; t < GENOTYPES; ++t) {
            if (std::uint64_t{l.sum[t]} * lists[0].partners != std::uint64_t{lists[0].sum[t]} * l.partners) return false;
        }
        return true;
    });
    double total_weight = 0;
    for (const ListChances& l : lists) total_weight += l.weight;
    for (std::size_t t = 0; t < GENOTYPES; ++t) {
        Offspring seed{t, 0.0, 0, 0};
        for (const ListChances& l : lists) seed.chance += l.weight / total_weight * l.sum[t] / (64.0 * static_cast<double>(l.partners));
        if (alike) {
            const std::uint64_t num = lists[0].sum[t];
            const std::uint64_t den = 64 * lists[0].partners;
            const std::uint64_t common = std::gcd(num, den);
            seed.numerator = num / common;
            seed.denominator = den / common;
            seed.chance = static_cast<double>(num) / static_cast<double>(den);
        }
        if (seed.chance > 0) outlook.offspring.push_back(seed);
    }
    std::ranges::stable_sort(outlook.offspring, [](const Offspring& a, const Offspring& b) { return a.chance > b.chance; });
    return outlook;
}

void Tonight::refresh(const World& world) {
    world_ = &world;
    revision_ = world.revision();
    frames_since_refresh_ = 0;
    plan_ = plan_night(world, Open::ByNightfall, Partners::OnRequest);
    forecast_ = forecast_night(world, plan_);
    outlook_at_.reset();
}

void Tonight::next_frame(const World& world) {
    ++frames_since_refresh_;
    if (world_ != &world) return refresh(world);
    if (revision_ == world.revision()) return;
    if (frames_since_refresh_ * OPEN_FLOWERS_PER_FRAME_OF_PAUSE > plan_.open.size()) refresh(world);
}

const NightPlan& Tonight::plan(const World& world) {
    if (world_ != &world) refresh(world);
    return plan_;
}

const Forecast& Tonight::forecast(const World& world) {
    if (world_ != &world) refresh(world);
    return forecast_;
}

const FlowerOutlook& Tonight::outlook(const World& world, Cell at) {
    if (world_ != &world) refresh(world);
    if (outlook_at_ != at) {
        outlook_ = flower_outlook(world, plan_, at);
        outlook_at_ = at;
    }
    return outlook_;
}

}  // namespace qm
