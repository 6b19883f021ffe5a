#include "scenes/scenetable.h"

#include "shell/dxmain.h"

// Each scene is one line here; an id without a line creates nothing.
void InstallScenes() {}
