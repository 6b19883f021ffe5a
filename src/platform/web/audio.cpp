// The page's sound: silent until the common mixer can be built for the browser.
#include "platform/audio.h"

#include "platform/web/web.h"

namespace plat {

bool OpenAudio(int /*slots*/) {
    return true;
}
void CloseAudio() {}
bool LoadSlot(int /*slot*/, const char* /*path*/) {
    return true;
}
void UnloadSlot(int /*slot*/) {}
void PlaySlot(int /*slot*/, bool /*loop*/) {}
void StopSlot(int /*slot*/) {}
void StopAllSlots() {}
void SetMasterVolume(float /*volume*/) {}
void SetMuted(bool /*muted*/) {}
void SetPaused(bool /*paused*/) {}

namespace web {

void GestureSeen() {}

}  // namespace web
}  // namespace plat
