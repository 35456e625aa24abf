// The five kinds of tile a cell can hold.
#pragma once

#include <optional>
#include <variant>

#include "bees.hpp"
#include "flowers.hpp"

namespace qm {

struct Lawn { friend constexpr bool operator==(const Lawn&, const Lawn&) = default; };
struct TallGrass { friend constexpr bool operator==(const TallGrass&, const TallGrass&) = default; };
struct Hive {
    BeeHive hive;
    friend constexpr bool operator==(const Hive&, const Hive&) = default;
};
struct Soil {
    std::optional<Flower> flower;
    bool watered = false;
    friend constexpr bool operator==(const Soil&, const Soil&) = default;
};
struct Water { friend constexpr bool operator==(const Water&, const Water&) = default; };

using Tile = std::variant<Lawn, TallGrass, Hive, Soil, Water>;

// The flower on a tile, if it is Soil bearing one.
inline const Flower* flower_on(const Tile& tile) {
    const auto* soil = std::get_if<Soil>(&tile);
    return soil && soil->flower ? &*soil->flower : nullptr;
}
inline Flower* flower_on(Tile& tile) {
    auto* soil = std::get_if<Soil>(&tile);
    return soil && soil->flower ? &*soil->flower : nullptr;
}

}  // namespace qm
