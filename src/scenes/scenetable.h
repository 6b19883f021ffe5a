// Puts the game's scenes into the shell's scene table.
#pragma once

// Also sets the stage's globals to their values at load, so every game that starts after it in
// one process (the tests, the benchmarks) begins as the first did.
void InstallScenes();
