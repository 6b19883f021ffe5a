// F12: the picture as drawn, kept in the player's pictures folder.
#pragma once

#include <filesystem>

// $XDG_PICTURES_DIR, then the one user-dirs.dirs names, then ~/Pictures, else the current folder.
std::filesystem::path PicturesFolder();

// Writes tinselrun-YYYYMMDD-HHMMSS.png (-2, -3... for more in one second) and prints its path on
// stdout, or on stderr when stdout carries the trace; one stderr line when it cannot be written.
void SaveScreenshot(bool stdoutTaken);
