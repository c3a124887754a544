// Sound: the audio device and a table of numbered sounds made from RIFF WAVE images in
// memory. Nothing is played yet; the table holds each sound's samples and settings.
#pragma once
#include <cstdint>

// Opens the audio device and makes the sound table: nonzero, or 0 at once when there is no
// device. A second call after a successful one answers the same without touching the device.
int32_t InitSound();
// Makes sound number (or a dynamic one for -1) from the RIFF WAVE image of length bytes at
// memory; a sound already holding the number is freed first. Nonzero on success (for -1 the
// new sound's handle); 0 for anything but a usable image, or without InitSound.
int32_t CatchSound(int32_t number, const void* memory, int32_t length);
// Frees every sound and closes the audio device; nothing after a failed InitSound.
void FreeAllSounds();
// The number of sample bytes of a sound, 0 for an unknown one.
int32_t SoundLength(int32_t sound);
