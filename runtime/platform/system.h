// The operating system beneath the runtime, whatever the backend: files by name, the console's
// handles, quit requests and title, the clock, the environment, the default font's file. One
// implementation per system, chosen by CMake: posix/ (Linux, and the browser's emulated system;
// the font from fontconfig/ or the browser's own) and windows/. Paths are the system's, in
// UTF-8 also on Windows; the game's own names (Windows syntax) become paths through
// SystemResolvePath. Nothing here prints, throws or exits; a file function that fails leaves
// the reason in errno.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// ---- Files ----

// The path for one of the game's names (Windows syntax, ended by its first zero byte). POSIX:
// `\` and `/` both separate, and a path that does not exist as spelled is matched one component
// at a time without regard to the case of ASCII letters (components that match nothing stay as
// spelled, so the result also names a file still to be made); a drive name (a letter and a
// colon) names nothing. Windows: the name as it is. Empty when the name refers to nothing.
std::string SystemResolvePath(std::string_view name);
// The folder part of a path ("." for a bare name), for files made beside it.
std::string SystemFolderOfPath(const std::string& path);
// The absolute path of the working folder; empty when it cannot be told.
std::string SystemWorkingFolder();

// Opens a file descriptor with open()'s flags (O_RDONLY, O_WRONLY, O_RDWR, O_CREAT, O_TRUNC,
// O_EXCL): bytes pass unchanged, child programs do not inherit it, a new file may be read and
// written by everybody the system lets. Never a folder; the open never waits (not even for a
// pipe without a writer). -1 on failure.
int SystemOpenFile(const std::string& path, int flags);
// A C stream, for the modes "rb", "wb" and "wbx" (a new file; fails when the name exists).
std::FILE* SystemOpenStream(const std::string& path, const char* mode);
// Writes what the system still holds of the file to the disk; false when that failed.
bool SystemSyncFile(int descriptor);

constexpr int64_t FILE_MISSING = -1;
constexpr int64_t FILE_IS_FOLDER = -2;
// The size in bytes of the file; FILE_MISSING when nothing of that name exists; FILE_IS_FOLDER
// for a folder (Windows: also a drive). A last component with wild cards (* and ?) measures the
// first entry it matches (POSIX: in name order, ignoring case; Windows: as the folder lists it).
int64_t SystemFileSize(const std::string& path);
// Whether any entry of that name exists, a symbolic link to nowhere included.
bool SystemEntryExists(const std::string& path);
// Whether a new file could take the place of what the path names: true when nothing is there
// (following links) or a file this program may write; false for a folder or a file it may not.
bool SystemMayReplace(const std::string& path);
// Deletes a file (never a folder); false when nothing was deleted.
bool SystemRemoveFile(const std::string& path);
// The path that a symbolic link at the path leads to, or the path itself.
std::string SystemFollowLinks(const std::string& path);
// Puts the file at source in the place of the file at target in one step, so that target is
// always either the old file or the new one. The new file takes the old one's permissions.
// False when it could not (source is then left where it is).
bool SystemReplaceFile(const std::string& source, const std::string& target);
// Gives the file a second name, a hard link: both name the same file until one is removed.
// False when the name is taken or the file system has no such links (FAT, some shares).
bool SystemLinkFile(const std::string& existing, const std::string& second);
// Makes a new empty file in the system's folder for temporary files, of a name that begins
// with the prefix and that no other running program takes. Its path; empty when none could be
// made.
std::string SystemMakeTemporaryFile(const char* prefix);
// A number of this process, for names of files no other running program makes.
uint32_t SystemProcessNumber();
// The device that takes every byte written to it and reads as empty ("/dev/null", "NUL").
extern const char SYSTEM_NULL_DEVICE[];

// ---- Console ----

// Prepares the standard handles for the console: the quit requests below only set a flag
// (SystemQuitRequested) and never run clean-up themselves (POSIX: SIGHUP, SIGINT and SIGTERM;
// Windows: Ctrl+C, Ctrl+Break and closing the console window, which holds the program until
// its own shut-down has run, and ends a wait for a line); a closed output pipe does not end
// the program; bytes pass unchanged.
void SystemOpenConsole();
// True once a quit request has arrived after SystemOpenConsole.
bool SystemQuitRequested();
// Whether the descriptor is a terminal (Windows: a console), where a person types and reads.
bool SystemIsTerminal(int descriptor);
// Shows the title (ISO 8859-1) on the terminal or console of the output descriptor; false
// when it is none.
bool SystemShowTitle(int descriptor, std::string_view title);

// ---- Clock ----

// Milliseconds since the system started, wrapping after about 49.7 days.
uint32_t SystemTicks();
// Nanoseconds of a monotonic clock.
uint64_t SystemNanoseconds();
// Sleeps until that time of SystemNanoseconds, never waking before it.
void SystemSleepUntil(uint64_t deadline);
// Makes sleeps precise to a millisecond (on) until asked back (off), for the paced presents of
// an open screen; Windows raises the system's timer resolution meanwhile, POSIX sleeps are
// always that precise.
void SystemPreciseSleep(bool on);

// ---- Environment and devices ----

// The arguments the program was started with, after its own name, in UTF-8: on Windows, where
// main's argv holds them in the old code page, taken from the command line itself.
std::vector<std::string> SystemProgramArguments(int argc, char** argv);
// The folder that holds the running program's file; empty when it cannot be told.
std::string SystemProgramFolder();

// The value of an environment variable; false when it is not set.
bool SystemEnvironment(const char* name, std::string& value);
// Whether any sound output can be there; without one, opening the audio need not be tried.
bool SystemSoundOutputMayExist();
// The file of the default font: what the system's font configuration gives for the pattern,
// or the file shipped with the program. Empty when there is none.
std::string SystemDefaultFontFile(const char* pattern);
