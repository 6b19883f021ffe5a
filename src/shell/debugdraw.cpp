#include "shell/debugdraw.h"

#include "shell/graphics.h"
#include "tasks/hitobj.h"

void DrawHitBoxes() {
    if (g_hitHead == nullptr || g_pLine == nullptr) return;
    for (HitBox* b = g_hitHead->next; b != g_hitTail; b = b->next) {
        const float x = static_cast<float>(b->x), y = static_cast<float>(b->y);
        const float w = static_cast<float>(b->w), h = static_cast<float>(b->h);
        const float strip[10] = {x, y, x + w, y, x + w, y + h, x, y + h, x, y};
        g_pLine->Begin();
        g_pLine->Draw(strip, 5, 0xFFFF0000);
        g_pLine->End();
    }
}
