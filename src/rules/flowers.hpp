// Flowers: a six-byte value with a three-gene genome, its colour, growth on the day clock and
// the genetics of mating. Which sprites show a flower is flowers_draw.hpp's business.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qm {

enum class FlowerStage : std::uint8_t { Seed = 0, Sprout = 1, Bud = 2, Flower = 3 };

inline constexpr std::uint16_t NEVER = 65535;

// A stage falls due an hour after it was scheduled at the earliest, and up to `spread` ticks later.
inline constexpr std::uint32_t STAGE_SPREAD = 3840;
std::uint16_t stage_due(std::uint16_t from, std::uint32_t spread = STAGE_SPREAD);

struct Flower {
    std::uint16_t next_stage = NEVER;
    std::array<std::uint8_t, 3> genes{};  // dominant alleles in the red, green, blue genes
    FlowerStage stage = FlowerStage::Seed;

    friend constexpr bool operator==(const Flower&, const Flower&) = default;

    // Advances as many stages as the day tick `now` allows; a sprout on dry soil stalls as a bud.
    void grow(std::uint16_t now, bool watered);
    // Reschedules after being planted again.
    void reset_next_stage(std::uint16_t now, bool watered);
    // A stalled bud: it waits for water before it opens.
    bool stalled() const { return stage == FlowerStage::Bud && next_stage == NEVER; }
};
static_assert(sizeof(Flower) == 6);

// Packed red | green << 8 | blue << 16: each gene darkens its channel 255, 128, 0.
std::uint32_t flower_colour(const Flower& flower);
// Packed genes: gene 0 in the lowest byte.
std::uint32_t packed_genes(const Flower& flower);

// From the bud on a flower shows its colour: a bud and an open flower carry a head above the stem.
bool shows_blossom(const Flower& flower);

// The 27 genomes, numbered red + 3 · green + 9 · blue by their dominant-allele counts.
inline constexpr std::size_t GENOTYPES = 27;
std::size_t genotype_of(const Flower& flower);
std::array<std::uint8_t, 3> genes_of_genotype(std::size_t genotype);
std::uint32_t genotype_colour(std::size_t genotype);
// "CcMMyy": the allele pairs in the genome labels' letters, cyan, magenta, yellow.
std::string genome_label(const std::array<std::uint8_t, 3>& genes);

// One gene of a child: each parent passes one allele (value 1 passes a random one).
std::uint8_t recombine(std::uint8_t a, std::uint8_t b);
// A seed from two parents, due on the coming day.
Flower mate(const Flower& a, const Flower& b);

}  // namespace qm
