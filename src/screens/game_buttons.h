// The two buttons of the play screen, "Es empate" and "Salir".
#pragma once

#include <cstdint>

#include "game/gamestate.h"
#include "scene/projection.h"
#include "screens/layout.h"

// Draws the button of this code (TIEBUTTON, QUITBUTTON) onto the screen,
// highlighted when the state has ELEMENT_HIGHLIGHT. Returns 0.
int32_t DRAWGAMEBTN(int32_t code, int32_t state, const GAMESTATE& game, const SCREENDEF& view);
