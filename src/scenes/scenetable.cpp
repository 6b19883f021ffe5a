#include "scenes/scenetable.h"

#include "scenes/ed.h"
#include "scenes/gameover.h"
#include "scenes/gametime.h"
#include "scenes/op.h"
#include "shell/dxmain.h"

namespace {

template <class T>
NodeBaseClass* CreateScene() {
    T* scene = new T;
    scene->Init();
    return scene;
}

}  // namespace

// Each scene is one line here; an id without a line creates nothing.
void InstallScenes() {
    g_sceneTable[SCENE_OP] = CreateScene<OP>;
    g_sceneTable[SCENE_GAMETIME] = CreateScene<GameTime>;
    g_sceneTable[SCENE_GAMEOVER] = CreateScene<GAMEOVER>;
    g_sceneTable[SCENE_ED] = CreateScene<ED>;
    g_startupScene = CreateScene<GameTime>;
}
