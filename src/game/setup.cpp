// The set-up the options screen starts with (see setup.h).
#include "game/setup.h"

GameSetup starting_setup;

void apply_setup(const GameSetup& setup, GAMESTATE& state) {
  state.TARGET = setup.target;
  state.VALIDRODS = setup.valid_rods;
  state.STARTER = setup.starter;
}
