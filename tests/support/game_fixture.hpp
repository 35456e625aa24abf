// A game on the headless canvas, 720 pixels wide as the window opens unless a test asks for
// another width: fake input and events, a fresh world and gardener, and the Game that plays them,
// made in SetUp once the canvas is there.
#pragma once

#include <optional>

#include "controls.hpp"
#include "game.hpp"
#include "lily.hpp"
#include "support/fake_input.hpp"
#include "support/sdl_fixture.hpp"
#include "world.hpp"

namespace qm::test {

class HeadlessGame : public HeadlessDraw {
protected:
    explicit HeadlessGame(int width = 720) { window_w = width; }

    void SetUp() override {
        HeadlessDraw::SetUp();
        game.emplace(Game{ctx(), world, lily, controls, events, LoopState{}});
    }

    FakeInput input;
    Controls controls{input};
    FakeEvents events;
    World world;
    Lily lily;
    std::optional<Game> game;
};

}  // namespace qm::test
