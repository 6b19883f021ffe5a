// Controls of the web backend for the page's program: the clock's mode, whether the player's
// devices reach the game, the canvas and full screen, and the sound's first gesture.
#pragma once

#include <string>

namespace plat::web {

// F12 is the browser's own key: the page takes its screenshot on F9 (virtual-key code).
constexpr int VK_SCREENSHOT_PAGE = 0x78;

// The clock reads the page's real time from the window's making, or, stepped, stands still until
// WaitUntilMs moves it, as the runner's does (a traced replay).
void UseSteppedClock(bool stepped);

// Whether keys, pads, touches and the page's focus and visibility reach the game. A traced
// replay plays on its own: no live key, no focus change, nothing the tester does counts.
void SetLiveInput(bool live);

// The Fullscreen API on the page's game area; call it inside a key or click handler, where the
// browser allows it.
void ToggleFullscreen();

// The canvas follows the page's layout (size, device pixels) and shows the picture again.
void FitCanvas();

// A key, click or touch has happened: the browser allows sound from now on.
void GestureSeen();

// A traced replay's sound as the runner captures it (its --audio): every later sound call mixed
// at the stepped clock's time into a WAV file, written as FeedAudio moves it on and finished when
// audio is closed. Call before the game starts; false when the file cannot be made.
bool CaptureAudioTo(const std::string& wavPath);
// Mixes the capture up to the clock's time. False once a write has failed.
bool FeedAudio();
// Why the capture could not be written, or empty.
std::string AudioCaptureError();

}  // namespace plat::web
