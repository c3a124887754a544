// The start and the end of the program: the start-up sequence and its stages, the titles,
// the fatal start-up errors with their hints for people, the quit and the release of the
// runtime services.
#pragma once
#include "runtime/runtime.h"

#include <cstdint>
#include <string>

// The build moment shown in the titles: 2008-02-25 16:12:34 UTC.
constexpr int32_t BUILD_TIME = 1203955954;
// BuildDate, VersionText and TitleText, from the build moment and GAME_VERSION.
void BuildTitles();
// The console's banner: the game's name, version and author in a frame of #, then two empty
// lines.
void PrintBanner();

// Closes the screen, so that the console is visible for the message and the line awaited;
// prints the message, and the hint (when there is one) on standard error with a word that
// Enter is awaited when the input is a terminal; waits for a line, runs the end sequence;
// the exit status, 1.
int FatalError(const char* message, const std::string& hint = {});
// The hints of the fatal start-up errors: what went wrong and what to change, for people.
std::string MissingCellListHint();
std::string ScreenHint();
std::string CellTypeHint(const std::string& errorLine);
// The parts of the hints that differ between systems (posix/, windows/): how a person starts
// the game in its world, and what the screen needs.
std::string HowToStartInAWorld();
std::string WhatTheScreenNeeds();
// Releases the runtime services in their fixed order.
void EndSequence();

// The start-up after the console is open, from the titles to the player's placement: false
// when a fatal error ended it (its message printed, a line read, the end sequence run), with
// the exit status in status.
bool StartGame(int& status);
// Runs the whole game, from the first console line to the end sequence; the process's exit
// status: 0 after a normal quit, 1 after a fatal start-up error.
int RunGame();

// Later start-up stages.
// White text on the back buffer, without background; no flip.
void ScreenMessage(int16_t x, int16_t y, const char* text);
// "OpeningScreen (...)...": asks for 60 Hz and opens the screen; false when it cannot be.
bool OpenGameScreen();
// "InitInits...": the nine service initialisations, each result on its own line.
void InitServices();
// Clears the new screen and shows "LoadingSprites..." on it and on the console.
void AnnounceFirstStage();
// Shows the stage's text at (10, y) between two flips and prints it.
void AnnounceStage(int16_t y, const char* text);
// Closes the screen, prints "Quit...", waits 100 ms and runs the end sequence; the status, 0.
int QuitSequence();
