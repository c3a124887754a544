// What a start says for people: the launcher's own lines, cellpack's report and the game's
// standard error, and the game's console lines when they go to no terminal. All of it is
// passed on as ever and kept in vellomira.log in the player's folder, which holds the last
// start's messages: a start from the menu has no terminal to show them. A start that fails
// there also shows why in a message box.
#pragma once
#include <cstddef>
#include <string>

// Notes whether standard output and standard error are terminals, before anything is
// redirected.
void BeginRunMessages();
bool OutputIsTerminal();
// Keeps what is said from here on in FOLDER/vellomira.log, which replaces the last start's.
// "" or the problem (the messages then still reach standard error).
std::string OpenRunLog(const std::string& folder);
// The log's path, empty while there is none.
const std::string& RunLogPath();
// "vellomira: LINE" and a line feed on standard error, and in the log.
void Say(const std::string& line);
// Bytes a program the launcher started wrote: passed on to the descriptor (standard output or
// error) and kept in the log. False when the descriptor refuses them.
bool PassOn(int descriptor, const char* bytes, size_t size);
// Shows the text of a failed start in a message box, with the log named, when standard error
// is no terminal; it has been said already.
void ShowFailure(const std::string& text);
// Says the problem and shows it as ShowFailure does; exit status 1.
int StartFailed(const std::string& problem);
