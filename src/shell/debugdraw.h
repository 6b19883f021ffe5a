// Drawing for looking at the game from inside, over its own picture; the game never calls it.
#pragma once

// Outlines every hit box of the ring in red, with the line object.
void DrawHitBoxes();
