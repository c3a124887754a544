// Running the programs of a start with their output passed on: cellpack adding the player's
// own types, then the game in the player's folder. The launcher waits for the game, so that
// what it says reaches the log.
#pragma once
#include <string>
#include <vector>

// Runs the program with the arguments and waits for it; what it writes on standard output or
// standard error is passed on to standard error and the log. Its exit status; -1 when it
// could not be started or did not end normally.
int RunTool(const std::string& program, const std::vector<std::string>& arguments);

struct GameEnd {
    int status = -1;      // the exit status; -1 when a signal ended it
    int signal = 0;       // the signal that ended it (Windows: the exception that ended it)
    std::string lastLine; // its last console line, when the console passed through the launcher
    std::string messages; // the beginning of what it wrote on standard error
};
// Runs the game in the folder and waits for its end. Its console lines reach standard output
// unchanged (a terminal there the game writes to itself), its standard error standard error,
// and both are kept in the log; standard input is the game's own. SIGHUP, SIGINT and SIGTERM
// that reach the launcher are passed on to the game (Windows: the console's Ctrl+C reaches
// both, and the launcher waits for the game), and the game is asked to end when the launcher
// is killed (Windows: it ends with the launcher).
GameEnd RunGame(const std::string& game, const std::string& folder);
// The line said of a game that ended without an exit status, and the launcher's status then.
std::string AbnormalEnd(const GameEnd& end);
int AbnormalEndStatus(const GameEnd& end);

// Sets, or takes away, a variable of the environment the game gets.
void SetForGame(const char* name, const std::string& value);
void UnsetForGame(const char* name);
