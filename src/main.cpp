#include "app/app.h"
#include "scenes/scenetable.h"

int main(int argc, char** argv) {
    InstallScenes();
    return RunGame(argc, argv);
}
