// Tonight's forecast and the breeding planner's table of a flower, worked out from the field as it
// stands by the night's own rules (breeding.hpp). Nothing here draws a random number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "breeding.hpp"

namespace qm {

class World;

struct Forecast {
    std::size_t breeding = 0;     // flowers sure to be open at nightfall that will breed
    std::size_t seeds_least = 0;  // the seeds they will leave lie in exactly this range
    std::size_t seeds_most = 0;
    std::size_t leaving = 0;      // plants on the field that will leave it unbred as things stand
    std::size_t dry_buds = 0;     // buds stalled on dry soil, which open once watered
    std::size_t growing = 0;      // seeds and sprouts that may yet open by nightfall, left out above
    double seeds_expected = 0;    // the seeds sown on average over the night's draws
    double seeds_lost = 0;        // the seeds that find no free soil, on average
    friend bool operator==(const Forecast&, const Forecast&) = default;
};

// The forecast from a plan made with Open::ByNightfall.
Forecast forecast_night(const World& world, const NightPlan& plan);
// The dry buds that still open before nightfall if watered at `now`: a watered bud opens an hour
// after watering at the earliest.
std::size_t dry_buds_in_time(const Forecast& forecast, std::uint16_t now);

// One genome a flower's seed may carry, and its chance: numerator / denominator exactly, or, when
// the flower's hives pair it differently (denominator 0), the share of its seeds expected to carry
// it, weighing each hive by the seeds it gives on average.
struct Offspring {
    std::size_t genotype = 0;
    double chance = 0.0;
    std::uint64_t numerator = 0;
    std::uint64_t denominator = 0;
    friend bool operator==(const Offspring&, const Offspring&) = default;
};

// Why a flower will leave no seed tonight. TooLate: a bud due to open after nightfall.
enum class Barren { No, NoHive, NotOpen, NoPartner, TooLate };
// "no hive in reach", "not open", "no open partner in reach"; empty for No.
const char* barren_text(Barren why);

struct FlowerOutlook {
    Barren why = Barren::NotOpen;
    std::vector<Cell> partners;        // its nearest open flowers in each list it belongs to
    std::vector<Offspring> offspring;  // most likely first
    std::uint32_t seeds_least = 0;     // its own seeds tonight, should none be walled in
    std::uint32_t seeds_most = 0;
    std::uint16_t opens_at = 0;        // a bud too late: the tick it opens
    friend bool operator==(const FlowerOutlook&, const FlowerOutlook&) = default;
};

// The planner's view of the plant at `at`, from a plan made with Open::ByNightfall.
FlowerOutlook flower_outlook(const World& world, const NightPlan& plan, Cell at);

// The mean number of seeds one open flower leaves for a hive of this level.
double mean_seeds(std::uint16_t level);

// A child's gene from parents' genes a and b: its chances of 0, 1 and 2 dominant alleles, in quarters.
std::array<std::uint32_t, 3> gene_quarters(std::uint8_t a, std::uint8_t b);

// The plan, the forecast and the planner's table, kept while the field stands still. A change is
// taken up on the next frame in a small garden; in a large one, whose plan takes a while to work
// out and whose plants change stage every few frames, after a pause that grows with the number of
// open flowers (a second and a half at three thousand), so the forecast never costs a frame more
// than a sliver of its time. The first read after a change of world is always fresh.
class Tonight {
public:
    static constexpr std::size_t OPEN_FLOWERS_PER_FRAME_OF_PAUSE = 64;

    // Once a frame, after the world's update.
    void next_frame(const World& world);

    const NightPlan& plan(const World& world);
    const Forecast& forecast(const World& world);
    const FlowerOutlook& outlook(const World& world, Cell at);

private:
    void refresh(const World& world);

    const World* world_ = nullptr;
    std::uint64_t revision_ = 0;
    std::size_t frames_since_refresh_ = 0;
    NightPlan plan_;
    Forecast forecast_;
    std::optional<Cell> outlook_at_;
    FlowerOutlook outlook_;
};

}  // namespace qm
