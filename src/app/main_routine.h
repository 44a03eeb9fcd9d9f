// The game's main routine: start-up, then the main loop until the player quits.
#pragma once

// Runs the game; returns only by ProgramEnd (see core/runtime_error.h).
[[noreturn]] void ranvel_main();
