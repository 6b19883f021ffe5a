#include "scenes/scenetable.h"
#include "shell/dxmain.h"

int main() {
    InstallScenes();
    return GameMain();
}
