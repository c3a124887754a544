// The browser's side of the web backend, written in JavaScript (web_browser.js): the calls the
// backend's C++ makes into the page. The waits among them yield to the browser and come back
// when their condition holds; everything else returns at once.
#pragma once
#include <cstdint>

extern "C" {
// performance.timeOrigin + performance.now(): milliseconds since 1970 on a monotonic clock.
double WebClockMilliseconds();
// Attaches (1) or detaches (0) the page's input listeners and the focus watch.
void WebWatchInput(int32_t on);
// 1 while the page would give the game the input: visible, focused, the pointer locked (or a
// lock asked for and not yet answered), or the player pressed Escape on the paused page.
int32_t WebPageFocused();
// Lets the browser run until WebPageFocused is 1 again.
void WebWaitForFocus();
// Sizes the canvas to the logical screen, shows it black and sets the page's title.
int32_t WebOpenCanvas(int32_t width, int32_t height, const char* title);
// Blanks the canvas and gives the pointer back.
void WebCloseCanvas();
// Puts width x height pixels of R, G, B, A bytes on the canvas.
void WebShowFrame(const uint8_t* rgba, int32_t width, int32_t height);
// Lets the browser run until the first animation frame that starts at or after the given time
// (the clock of WebClockMilliseconds), within a small tolerance for the frame clock's jitter.
void WebWaitForFrame(double wakeMilliseconds);
// Lets the browser run for a moment when it has not run for a while: unpaced presents call it
// so that the page stays alive.
void WebYieldNow();
// 1 when the page asked for presents without pacing (its benchmark mode).
int32_t WebUnpaced();
// Opens a Web Audio context: 1, or 0 when the browser has none.
int32_t WebOpenAudio();
void WebCloseAudio();
}
