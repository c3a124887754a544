// What the launcher does to the player's folder that depends on the system beneath it: where
// the folder is, the lock that keeps two starts from preparing it at once, the world's files
// shown in it, an entry put in place in one step, and the log written beside and put in place.
// This is all the rest of the launcher asks of the file system beyond std::filesystem; the
// POSIX file links the world in and renames, the Windows file copies the world (Windows gives
// links to administrators only) and keeps a record of its copies.
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

// Opens a new file for writing, emptied when it is there, that programs started later do not
// inherit (POSIX: never through a link). A descriptor, or -1.
int OpenNewFile(const std::string& path);
// Renames the file from to the name to, replacing a file there in one step; false on failure.
bool RenameOver(const std::string& from, const std::string& to);

// Makes the new entry name show the world's file or folder target. "" or the problem.
std::string PlaceWorldEntry(const std::string& target, const std::string& name);
// Whether the entry is one that PlaceWorldEntry makes, which goes without losing anything.
bool IsPlacedWorldEntry(const std::string& path);
// Takes away an entry that IsPlacedWorldEntry tells as placed. "" or the problem.
std::string RemovePlacedWorldEntry(const std::string& path);

// Puts the entry fresh at place in one step, so that a game opening place meanwhile finds the
// old entry or the new one, never none. place is missing, a placed entry or a folder the
// launcher made; the old entry is left at fresh, or is gone when it was a placed entry and the
// system could only replace it. "" or the problem.
std::string PutInPlace(const std::string& fresh, const std::string& place);
