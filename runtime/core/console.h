// The console: standard output for the game's lines, standard input for its one question,
// standard error for hints to the person at the keyboard.
#pragma once
#include <string>
#include <string_view>

// Opens the console on standard input and output. From here on the system's quit requests
// (SIGHUP, SIGINT and SIGTERM; on Windows Ctrl+C, Ctrl+Break and closing the console window)
// only ask the program to quit (ConsoleQuitRequested); they never run clean-up themselves.
// Returns 1.
int OpenConsole();
// The same on other descriptors, without touching the quit requests (for tests).
int OpenConsoleOn(int inputFd, int outputFd, int hintFd = 2);
// Shows the title in the terminal when the output is one; 0 when there is nowhere to show it.
int ConsoleTitle(std::string_view title);
// The text and one line feed, written at once so that a reader sees every line as it comes.
void PrintLine(std::string_view text = {});
// A hint for people, never part of the game's transcript: the text and one line feed on the
// hint descriptor (standard error), written at once.
void PrintHint(std::string_view text);
// True when the console's input is a terminal, where a person would have to press Enter.
bool ConsoleInputIsTerminal();
// One line without its line end (CR, LF or CR LF). At the end of the input with nothing read,
// or when a quit request arrives while waiting, the single byte 04h.
std::string ReadConsoleLine();
// True once a quit request has arrived after OpenConsole.
bool ConsoleQuitRequested();
