// Where the game's pictures and sounds are found.
#pragma once

// The folder that holds img/ and snd/: set before start-up (the runner's --assets), or found
// in the current directory, beside the executable, then in the installed data directory.
void SetAssetDir(const char* dir);
const char* AssetDir();
