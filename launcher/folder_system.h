// What the launcher does to the player's folder that depends on the system beneath it: the
// lock that keeps two starts from preparing the folder at once, the world's files shown in the
// folder, and an entry put in place in one step. This is all the rest of the launcher asks of
// the file system beyond std::filesystem; the POSIX file links the world in and renames, a
// system without links may copy the world behind the same calls.
#pragma once
#include <functional>
#include <string>

struct FolderLock {
    int handle = -1;
};
// Takes the lock of the folder (its file .lock, made when missing), waiting while another
// start holds it, after calling whileWaiting once. The lock is held until UnlockFolder or the
// end of the process, and programs started meanwhile do not inherit it. "" or the problem.
std::string LockFolder(const std::string& folder, FolderLock& lock,
                       const std::function<void()>& whileWaiting);
void UnlockFolder(FolderLock& lock);

// Makes the new entry name show the world's file or folder target. "" or the problem.
std::string PlaceWorldEntry(const std::string& target, const std::string& name);
// Whether the entry is one that PlaceWorldEntry makes, which goes without losing anything.
bool IsPlacedWorldEntry(const std::string& path);

// Puts the entry fresh at place in one step, so that a game opening place meanwhile finds the
// old entry or the new one, never none. place is missing, a placed entry or a folder the
// launcher made; the old entry is left at fresh, or is gone when it was a placed entry and the
// system could only replace it. "" or the problem.
std::string PutInPlace(const std::string& fresh, const std::string& place);
