// The night against the plainest night that can be written: on random gardens both leave the same tiles,
// ranges and generator state, given the same map iteration order (worlds built by the same writes iterate alike).
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>

#include "breeding.hpp"
#include "random.hpp"
#include "support/world_helpers.hpp"
#include "world.hpp"

namespace qm {
namespace {

void plain_night(World& w) {
    TileMap& tiles = test::WorldAccess::tiles(w);
    std::vector<std::pair<Cell, Flower>> open;
    for (auto& [c, tile] : tiles) {
        auto* soil = std::get_if<Soil>(&tile);
        if (soil && soil->flower && soil->flower->stage == FlowerStage::Flower) open.emplace_back(c, *soil->flower);
        if (soil) *soil = Soil{};
    }
    for (auto& [h, range] : test::WorldAccess::hive_ranges(w)) range.clear();
    struct Entry { Flower flower; Cell at; std::uint32_t seeds; };
    std::vector<std::vector<Entry>> lists;
    for (const auto& [h, range] : w.hive_ranges()) {
        const BeeHive hive = std::get<Hive>(tiles.at(h)).hive;  // the night's stops are tested elsewhere
        std::vector<Entry> list;
        for (const auto& [at, f] : open) if (distance(at, hive.position) <= HIVE_RANGE) list.push_back({f, at, sprouts_for_flower(hive)});
        if (list.size() >= 2) lists.push_back(list);
    }
    for (const auto& list : lists) for (const Entry& a : list) {
        std::vector<Flower> partners;  // the nearest, in list order
        std::uint16_t best = NEVER;
        for (const Entry& b : list) {
            if (b.at == a.at || distance(a.at, b.at) > best) continue;
            if (distance(a.at, b.at) < best) partners.clear(), best = distance(a.at, b.at);
            partners.push_back(b.flower);
        }
        for (std::uint32_t n = 0; n < a.seeds; ++n) {
            std::deque<Cell> queue{a.at};
            std::set<std::pair<std::uint16_t, std::uint16_t>> seen{{a.at.i, a.at.j}};
            std::optional<Cell> place;
            for (; !queue.empty() && !place; queue.pop_front()) {
                const auto* soil = std::get_if<Soil>(&w.get_tile(queue.front()));
                if (soil && !soil->flower) place = queue.front();
                if (!soil || !soil->flower) continue;
                std::array<Cell, 6> around = NEIGHBOURS;
                for (Cell& c : around) c = queue.front() + c;
                shuffle(std::span<Cell>(around));
                for (Cell c : around) if (seen.insert({c.i, c.j}).second) queue.push_back(c);
            }
            Soil sown;
            if (place && !partners.empty()) sown.flower = mate(a.flower, partners[rand_below64(partners.size())]);
            if (place) w.set_tile(*place, sown);
        }
    }
}

// Plants of every stage, patches walled in by grass, lawn and water, hives of levels 1 to 6 with
// overlapping ranges; half the gardens reach the endless soil of rows 0 to 2.
void random_garden(World& w, std::uint64_t seed) {
    set_rng_state(seed);
    for_each_in_hexagon(cell(0, seed % 2 ? 6 : -30), 7, [&](Cell c) {
        const std::uint32_t roll = rand_below(20);
        const auto gene = [] { return static_cast<std::uint8_t>(rand_below(3)); };
        const auto stage = static_cast<FlowerStage>(rand_below(4));
        const Flower f{stage == FlowerStage::Flower ? NEVER : std::uint16_t{3000}, {gene(), gene(), gene()}, stage};
        if (roll == 0) w.set_tile(c, Hive{BeeHive{c, 0, static_cast<std::uint16_t>(1 + rand_below(6))}});
        if (roll >= 1 && roll < 5) w.set_tile(c, roll == 1 ? Tile{Water{}} : roll == 2 ? Tile{Lawn{}} : Tile{TallGrass{}});
        if (roll >= 5) w.set_tile(c, Soil{roll < 16 ? std::optional<Flower>(f) : std::nullopt, rand_bit() != 0});
    });
}

TEST(NightEquivalence, RandomGardensEndAsThePlainNightLeavesThem) {
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        World fast, plain;
        for (World* w : {&fast, &plain}) random_garden(*w, seed);
        ASSERT_TRUE(std::ranges::equal(fast.tiles(), plain.tiles()) && std::ranges::equal(fast.hive_ranges(), plain.hive_ranges()));
        set_rng_state(seed * 977);
        fast.overnight();
        const std::uint64_t after = rng_state();
        set_rng_state(seed * 977);
        plain_night(plain);
        EXPECT_TRUE(fast.tiles() == plain.tiles() && fast.hive_ranges() == plain.hive_ranges()) << "garden " << seed;
        EXPECT_EQ(after, rng_state()) << "garden " << seed;
    }
}

}  // namespace
}  // namespace qm
