// Sound slots: stands in for the DirectMusic performance, loader and segments.
#pragma once

namespace plat {

// CoCreateInstance + InitAudio. Returns false when no audio device can be opened
// (the game then plays on silently).
bool OpenAudio(int slots);
void CloseAudio();

// LoadObjectFromFile + Download: any sound SDL_mixer reads (WAV, OGG...), by content.
// Returns false (after one stderr line naming the file) when it cannot.
bool LoadSlot(int slot, const char* path);
void UnloadSlot(int slot);

// PlaySegmentEx as a secondary segment: overlapping, independent instances.
void PlaySlot(int slot, bool loop);
// StopEx: every playing instance of the slot.
void StopSlot(int slot);
// Stop on the whole performance.
void StopAllSlots();

// The player's own controls over everything the game plays; the game itself never calls them.
void SetMasterVolume(float volume);  // 0..1
void SetMuted(bool muted);
void PauseAudio(bool paused);  // playing instances hold where they are until resumed

}  // namespace plat
