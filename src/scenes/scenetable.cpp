#include "scenes/scenetable.h"

#include "game/globals.h"
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
    g_lives = g_oneLifeMode = g_deathSound = 0;
    g_stageClear = 0;
    g_santaPos = Vec3{};
}
