// The game program: its command line, the settings it plays with, and the recording, replay
// and trace hooked onto the main loop.
#pragma once

#include <string>

// The process's exit status: 0, 2 for a bad command line or recording, 1 without a display or
// when the renderer cannot be made.
int RunGame(int argc, char** argv);

// The comment line at the top of a recording the game writes (the page's too).
std::string RecordingHeading();
