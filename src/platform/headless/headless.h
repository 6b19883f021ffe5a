// Controls of the headless backend, for tests and the headless runner: a virtual clock,
// a scripted keyboard and event queue, the drawn picture, and the log of sound calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"

namespace plat::headless {

// The virtual clock stands still until it is stepped.
void SetClock(double ms);
void AdvanceClock(double ms);

// The keyboard snapshot that the next reads return (DirectInput layout, 0x80 = held).
void SetKeys(const uint8_t keys[256]);
// Whether the window has the focus: while it has not, the keyboard cannot be read.
void SetActive(bool active);
// Queues an event for the event pump (Escape, F1, close, activation...).
void PushEvent(const Event& event);

// The last drawn picture: 800 x 600 ARGB8888 pixels, row by row.
struct Frame {
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // in pixels
};
Frame ReadFrame();
bool SaveFramePNG(const char* path);  // false after one stderr line when it cannot
bool IsWindowed();                    // the display mode the last reset asked for

// Every sound call since the last take, in call order.
struct SoundCall {
    const char* call;  // "PlaySound", "PlaySoundLoop", "StopSound", "StopAllSounds", "UnloadSound"
    int slot;          // -1 for StopAllSounds
};
std::vector<SoundCall> TakeSoundCalls();

// What the player's controls last asked of the sound: master volume, mute, pause.
float MasterVolume();
bool Muted();
bool AudioPaused();

// Mixes every later play into a 44.1 kHz stereo 16-bit WAV, at the virtual clock's time;
// the file is written when audio is closed. Call before OpenAudio.
void CaptureAudioTo(const std::string& wavPath);

}  // namespace plat::headless
