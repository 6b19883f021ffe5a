// Sound slots: stands in for the DirectMusic performance, loader and segments.
#pragma once

namespace plat {

// CoCreateInstance + InitAudio. Returns false when no audio device can be opened
// (the game then plays on silently).
bool OpenAudio(int slots);
void CloseAudio();

// LoadObjectFromFile + Download: a WAV, Ogg or FLAC file, by content.
// Returns false (after one stderr line naming the file) when it cannot.
bool LoadSlot(int slot, const char* path);
// Unload: the slot's playing instances stop first.
void UnloadSlot(int slot);

// PlaySegmentEx as a secondary segment: overlapping, independent instances, as many as asked.
void PlaySlot(int slot, bool loop);
// StopEx: every playing instance of the slot.
void StopSlot(int slot);
// Stop on the whole performance.
void StopAllSlots();

// SetGlobalParam(GUID_PerfMasterVolume): 0 (silent) to 1 (as mixed), for the whole mix.
void SetMasterVolume(float volume);
// Silences the mix while everything plays on.
void SetMuted(bool muted);
// Holds every playing instance where it is, and lets it go on from there.
void SetPaused(bool paused);

}  // namespace plat
