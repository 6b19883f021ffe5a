// Controls of the headless backend, for tests and the headless runner: a virtual clock,
// a scripted keyboard and event queue, the drawn picture, and the sound as mixed.
#pragma once

#include <cstdint>
#include <functional>
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
// What the window shows: the picture, or since PresentOverlay the picture under its overlay.
Frame ReadShownFrame();
bool SaveFramePNG(const char* path, std::string* why);  // false with why it cannot
bool IsWindowed();                                      // the display mode the last reset asked for

// Mixes every later sound call, at the virtual clock's time, into a 44.1 kHz stereo 16-bit WAV
// written as FeedAudio moves it on and finished when audio is closed. Call before OpenAudio.
// False when the file cannot be made (AudioCaptureError says why).
bool CaptureAudioTo(const std::string& wavPath);
// Mixes the capture up to the clock's time. False once a write has failed.
bool FeedAudio();
// Why the capture could not be written, or empty.
std::string AudioCaptureError();

// Stands in for the audio device: from the next OpenAudio on, whole buffers of `bufferFrames`
// frames go through the real backend's callback as the clock passes their end, each handed to
// `sink`. Zero frames turns it off.
void RunAudioDevice(int bufferFrames, std::function<void(const int16_t*, int frames)> sink);
// The clock tells the device that it has moved.
void ClockMoved();

// What the player's controls last asked of the sound: master volume, mute, pause.
float MasterVolume();
bool Muted();
bool AudioPaused();

}  // namespace plat::headless
