// The preferences engine: the one open preferences file, its reads and writes, and the
// write-back that replaces the file only by a complete new one.
#include "runtime/core/preferences.h"

#include "runtime/core/conversion.h"
#include "runtime/core/preference_text.h"
#include "runtime/platform/descriptor_io.h"
#include "runtime/platform/system.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>

namespace {
constexpr int32_t UTF8_ENCODING = 65001;

enum class Source { Closed, File, Created, Pending, Memory };

struct PreferencesFile {
    Source source = Source::Closed;
    int handle = -1;         // File: the open file
    int writable = 0;        // File: opened for reading and writing
    std::string path;        // File, Created: the resolved name that the close writes
    std::string pendingName; // Pending: the name as given, resolved again by the close
    int32_t modified = 0;
    char* content = nullptr; // the bytes read behind any byte-order mark, plus two zeros
    size_t contentEnd = 0;
    int32_t encoding = 0;
    EntryList entries;
    PreferenceEntry* lastWritten = nullptr;
};
PreferencesFile Preferences;

bool StartsWithByteOrderMark(const char* bytes, size_t length)
{
    return length >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
}

// Parses the content; memory running out leaves the file open with no entries.
void ParseContent()
{
    if (Preferences.content)
        ParsePreferences(Preferences.content, Preferences.contentEnd, Preferences.entries);
}

bool AllocateContent(size_t size)
{
    Preferences.content = static_cast<char*>(std::malloc(size + 2));
    return Preferences.content != nullptr;
}

void EndContent(size_t size)
{
    Preferences.contentEnd = size;
    Preferences.content[size] = Preferences.content[size + 1] = '\0';
}

void LoadFile(int handle)
{
    int64_t length = DescriptorLength(handle);
    size_t size = length > 0 ? size_t(length) : 0;
    if (size >= 3) {
        char mark[3];
        if (ReadFromDescriptor(handle, mark, 3) == 3 && StartsWithByteOrderMark(mark, 3)) {
            Preferences.encoding = UTF8_ENCODING;
            size -= 3;
        } else {
            SeekDescriptor(handle, 0, SEEK_SET);
        }
    }
    if (size == 0 || !AllocateContent(size))
        return;
    EndContent(ReadFromDescriptor(handle, Preferences.content, size));
    ParseContent();
}

int OpenExistingFile(const std::string& path, int& writable)
{
    if (path.empty())
        return -1;
    int handle = SystemOpenFile(path, O_RDWR);
    writable = handle >= 0;
    return writable ? handle : SystemOpenFile(path, O_RDONLY);
}

// A new file in the target's folder, for reading and writing; -1 when the folder takes none.
// Its short name does not depend on the target's, so a long target name still fits.
int CreateBeside(const std::string& target, std::string& name)
{
    static unsigned counter = 0;
    std::string prefix =
        SystemFolderOfPath(target) + "/.preferences-" + std::to_string(SystemProcessNumber());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + "-" + std::to_string(counter++) + ".tmp";
        int handle = SystemOpenFile(name, O_RDWR | O_CREAT | O_EXCL);
        if (handle >= 0 || !SystemEntryExists(name))
            return handle;
    }
    return -1;
}

bool WriteAll(int handle, const std::string& text)
{
    return WriteToDescriptor(handle, text.data(), text.size()) == text.size();
}

// Replaces the target by a file holding the text: written completely beside it, then put in
// its place, so that the target never holds half a text. A symbolic link keeps pointing to the
// replaced file. The target's own open descriptor, if any, is closed first: Windows replaces
// no file that is still open. False only when no file could be made beside the target (the
// descriptor is then still open).
bool ReplaceFileText(const std::string& target, const std::string& text, int& targetHandle)
{
    std::string real = SystemFollowLinks(target);
    std::string temporary;
    int handle = CreateBeside(real, temporary);
    if (handle < 0)
        return false;
    bool written = WriteAll(handle, text) && SystemSyncFile(handle);
    CloseDescriptor(handle);
    if (targetHandle >= 0) {
        CloseDescriptor(targetHandle);
        targetHandle = -1;
    }
    if (!written || !SystemReplaceFile(temporary, real))
        SystemRemoveFile(temporary);
    return true;
}

// Whether the close may write the file whose open failed: it creates a file that is not there
// and writes one that opens for writing by now, but a file that is there and still refuses
// the open (no permission, a folder, a link to nowhere) is never replaced.
bool PendingFileWritable(const std::string& target)
{
    int handle = SystemOpenFile(target, O_RDWR);
    if (handle >= 0) {
        CloseDescriptor(handle);
        return true;
    }
    return !SystemEntryExists(target);
}

void WriteInPlace(int handle, const std::string& text)
{
    if (SeekDescriptor(handle, 0, SEEK_SET) && WriteAll(handle, text))
        TruncateDescriptor(handle, int64_t(text.size()));
}

void WriteBack()
{
    std::string text = PreferencesText(Preferences.entries, Preferences.encoding == UTF8_ENCODING);
    if (Preferences.source == Source::Pending) {
        std::string target = SystemResolvePath(Preferences.pendingName);
        int none = -1;
        if (!target.empty() && PendingFileWritable(target))
            ReplaceFileText(target, text, none);
    } else if (!ReplaceFileText(Preferences.path, text, Preferences.handle) &&
               Preferences.handle >= 0) {
        // A folder that takes no new file still lets a writable file be rewritten in place.
        WriteInPlace(Preferences.handle, text);
    }
}

bool NeedsWriteBack()
{
    switch (Preferences.source) {
    case Source::Created:
        return true;
    case Source::File:
        return Preferences.modified && Preferences.writable;
    case Source::Pending:
        return Preferences.modified;
    default:
        return false;
    }
}

// Whether a file of that name could be created now, replacing any file there.
bool CanCreate(const std::string& path)
{
    if (!SystemMayReplace(path))
        return false;
    std::string probe;
    int handle = CreateBeside(path, probe);
    if (handle < 0)
        return false;
    CloseDescriptor(handle);
    SystemRemoveFile(probe);
    return true;
}

// The key as the entries store it: in UTF-8 in a file with the byte-order mark.
std::string StoredForm(std::string_view text)
{
    return Preferences.encoding == UTF8_ENCODING ? Latin1ToUtf8(text) : std::string(text);
}

PreferenceEntry* FindKey(std::string_view key)
{
    if (Preferences.source == Source::Closed)
        return nullptr;
    return FindLeadingKey(Preferences.entries, StoredForm(key));
}

// Where a new key goes: after the last entry of the first section. The first entry is always
// passed, even when it is a group line itself.
PreferenceEntry* EndOfLeadingSection()
{
    PreferenceEntry* entry = Preferences.entries.first;
    while (entry && entry->next && entry->next->kind != EntryKind::Group)
        entry = entry->next;
    return entry;
}

PreferenceEntry* NewEntry(EntryKind kind, std::string key, std::string text)
{
    auto* entry = new PreferenceEntry;
    entry->kind = kind;
    entry->ownedKey = std::move(key);
    entry->ownedText = std::move(text);
    entry->key = entry->ownedKey;
    entry->text = entry->ownedText;
    return entry;
}

void Written(PreferenceEntry* entry)
{
    Preferences.lastWritten = entry;
    Preferences.modified = 1;
}

// The value as atoi reads it: any white space, then what TextToInteger reads (one sign,
// decimal digits, modulo 2^32).
int32_t LeadingInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r')))
        text.remove_prefix(1);
    return TextToInteger(text);
}
} // namespace

int32_t OpenPreferences(std::string_view name)
{
    ClosePreferences();
    try {
        std::string path = SystemResolvePath(name);
        int writable = 0;
        int handle = OpenExistingFile(path, writable);
        if (handle < 0) {
            Preferences.source = Source::Pending;
            Preferences.pendingName = name.substr(0, name.find('\0'));
            return 0;
        }
        Preferences.source = Source::File;
        Preferences.handle = handle;
        Preferences.writable = writable;
        Preferences.path = std::move(path);
        LoadFile(handle);
        return 1;
    } catch (const std::bad_alloc&) {
        ClosePreferences();
        return 0;
    }
}

int32_t OpenPreferencesFromMemory(const void* memory, int32_t length)
{
    ClosePreferences();
    Preferences.source = Source::Memory;
    const char* bytes = static_cast<const char*>(memory);
    size_t size = bytes && length > 0 ? size_t(length) : 0;
    if (StartsWithByteOrderMark(bytes, size)) {
        Preferences.encoding = UTF8_ENCODING;
        bytes += 3;
        size -= 3;
    }
    if (size == 0 || !AllocateContent(size))
        return 1;
    std::memcpy(Preferences.content, bytes, size);
    EndContent(size);
    ParseContent();
    return 1;
}

int32_t CreatePreferences(std::string_view name)
{
    ClosePreferences();
    try {
        std::string path = SystemResolvePath(name);
        if (path.empty() || !CanCreate(path))
            return 0;
        Preferences.source = Source::Created;
        Preferences.path = std::move(path);
        return 1;
    } catch (const std::bad_alloc&) {
        ClosePreferences();
        return 0;
    }
}

void ClosePreferences()
{
    try {
        if (NeedsWriteBack())
            WriteBack();
    } catch (const std::bad_alloc&) {
        // Write errors during the close are not reported; the old file stays as it was.
    }
    if (Preferences.handle >= 0)
        CloseDescriptor(Preferences.handle);
    std::free(Preferences.content);
    FreeEntries(Preferences.entries);
    Preferences = PreferencesFile{};
}

std::string ReadPreferenceString(std::string_view key, std::string_view defaultText)
{
    try {
        const PreferenceEntry* entry = FindKey(key);
        if (!entry)
            return std::string(defaultText);
        std::string_view value = entry->text;
        while (!value.empty() && IsBlank(value.front()))
            value.remove_prefix(1);
        std::string result;
        if (Preferences.encoding != UTF8_ENCODING)
            result = value;
        else if (!Utf8ToLatin1(value, result))
            return {};
        while (!result.empty() && IsBlank(result.back()))
            result.pop_back();
        return result;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

int32_t ReadPreferenceLong(std::string_view key, int32_t defaultValue)
{
    try {
        const PreferenceEntry* entry = FindKey(key);
        return entry ? LeadingInteger(entry->text) : defaultValue;
    } catch (const std::bad_alloc&) {
        return defaultValue;
    }
}

int32_t WritePreferenceLong(std::string_view key, int32_t value)
{
    if (Preferences.source == Source::Closed)
        return 0;
    try {
        std::string storedKey = StoredForm(key);
        std::string digits = IntegerToText(value);
        PreferenceEntry* entry = FindLeadingKey(Preferences.entries, storedKey);
        if (entry) {
            entry->ownedKey.swap(storedKey);
            entry->ownedText.swap(digits);
            entry->key = entry->ownedKey;
            entry->text = entry->ownedText;
        } else {
            entry = NewEntry(EntryKind::Key, std::move(storedKey), std::move(digits));
            InsertEntryAfter(Preferences.entries, EndOfLeadingSection(), entry);
        }
        Written(entry);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int32_t PreferenceComment(std::string_view text)
{
    if (Preferences.source == Source::Closed)
        return 0;
    try {
        PreferenceEntry* entry = NewEntry(EntryKind::Comment, {}, StoredForm(text));
        InsertEntryAfter(Preferences.entries, Preferences.lastWritten, entry);
        Written(entry);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
