// Fills the shell's scene table with the game's scenes.
#pragma once

void InstallScenes();
