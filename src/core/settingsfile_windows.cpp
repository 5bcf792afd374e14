// The settings file on Windows.
//
// Index
//   - Where: settingsFilePath
//   - Paths: resolveLinks, isWritableFile, makeFolderOf
//   - Writing primitives: writeAll, diskLength
//   - Reading: openSettingsForReading, settingsFileMissing
//   - Replacing: writeInPlace, refusedBeside, replaceSettingsFile
//   - Emptying: emptySettingsFile
//
// Names are narrow strings in the system's code page, as fopen takes them.
// Files are written in text mode: every '\n' reaches the disk as "\r\n", the
// line end of Windows text files, as fprintf on a stream opened with "w"
// writes it there; reading in text mode turns them back, and the settings
// reader accepts either.
#include "core/settingsfile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "core/platform.h"
#include "core/process.h"

constexpr int TEMPORARY_NAME_TRIES = 100;  // names tried for the new file beside the old one
constexpr int WRITE_CHUNK = 1 << 20;       // bytes handed to one _write call at most

// ---- Where ----------------------------------------------------------------------
// Windows starts a screen saver (the wait time, the control panel's
// buttons) in its system folder, which users cannot write: the settings of
// such a run live in the user's application data instead.
static bool inSystemFolder()
{
    char current[MAX_PATH], system[MAX_PATH];
    DWORD c = GetCurrentDirectoryA(sizeof current, current);
    UINT s = GetSystemDirectoryA(system, sizeof system);
    if (c == 0 || c >= sizeof current || s == 0 || s >= sizeof system) return false;
    // The current folder may carry a trailing backslash.
    if (c > s && c == s + 1 && current[s] == '\\') current[s] = '\0';
    return _stricmp(current, system) == 0;
}

int settingsFilePath(int rule, char* out, size_t size)
{
    bool perUser = rule == SETTINGS_PER_USER || inSystemFolder();
    const char* appData = perUser ? getenv("APPDATA") : nullptr;
    if (appData && appData[0] && snprintf(out, size, "%s\\VYR\\%s", appData, SETTINGS_FILE_NAME) < (int)size) return 1;
    snprintf(out, size, "%s", SETTINGS_FILE_NAME);
    return !perUser;
}

// The user's file has never been kept anywhere else on Windows.
void formerSettingsFilePath(int rule, const char* path, char* out, size_t size) { out[0] = '\0'; }

const char* settingsFailureReason(int err) { return err ? strerror(err) : "not a regular file"; }

// ---- Paths --------------------------------------------------------------------------
// The name of the file that name ends at: the same name, or for a symbolic
// link the file it points to. False when a link cannot be followed or the
// result does not fit.
static bool resolveLinks(const char* name, char* path, size_t size)
{
    DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return snprintf(path, size, "%s", name) < (int)size;
    }
    HANDLE h = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;  // a dangling or looping link
    DWORD n = GetFinalPathNameByHandleA(h, path, (DWORD)size, FILE_NAME_NORMALIZED);
    CloseHandle(h);
    return n > 0 && n < size;
}

// A file that may be replaced: absent, or a plain file that is not read-only.
// A folder or device of that name stays untouched.
static bool isWritableFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD err = GetLastError();
        return err == ERROR_FILE_NOT_FOUND;
    }
    return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_READONLY));
}

// Makes the folder the file is in when it is missing (one level: the
// application-data folder itself is there already).
static void makeFolderOf(const char* path)
{
    char folder[MAX_PATH * 4];
    const char* slash = strrchr(path, '\\');
    if (!slash || slash == path || (size_t)(slash - path) >= sizeof folder) return;
    memcpy(folder, path, (size_t)(slash - path));
    folder[slash - path] = '\0';
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(folder, nullptr);
}

// ---- Writing primitives ---------------------------------------------------------------
// Writes the whole text to a descriptor open in text mode; true when every
// byte went out.
static bool writeAll(int fd, const char* text, size_t length)
{
    size_t done = 0;
    while (done < length) {
        size_t part = length - done < (size_t)WRITE_CHUNK ? length - done : (size_t)WRITE_CHUNK;
        int n = _write(fd, text + done, (unsigned)part);
        if (n <= 0) return false;
        done += (size_t)n;
    }
    return true;
}

// Bytes the text takes on the disk in text mode: each '\n' becomes "\r\n".
static LONGLONG diskLength(const char* text, size_t length)
{
    LONGLONG n = (LONGLONG)length;
    for (size_t i = 0; i < length; i++) n += text[i] == '\n';
    return n;
}

// ---- Reading ---------------------------------------------------------------------------
FILE* openSettingsForReading(const char* name)
{
    // Only a plain file: a folder of that name does not open, and a device
    // name (CON, NUL) would wait on a keyboard or read nothing.
    DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return nullptr;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return nullptr;
    HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return nullptr;
    }
    int fd = _open_osfhandle((intptr_t)h, _O_RDONLY | _O_TEXT);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    FILE* file = _fdopen(fd, "r");
    if (!file) _close(fd);
    return file;
}

int settingsFileMissing(const char* name)
{
    if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES) return 0;
    DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? 1 : 0;
}

// ---- Replacing -------------------------------------------------------------------------
// Rewrites the file where it is, as the POSIX build does: room on the disk
// first (the file grown to the new length), so that a full disk fails before
// any byte changes; then the text in one write, the cut at its length and
// the flush. A write failing part-way after the room was granted is
// reported. Terminating signals wait from the growth to the cut.
static int writeInPlace(const char* name, const char* path, const char* text, size_t length)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER old, target;
    target.QuadPart = diskLength(text, length);
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &old)) {
        CloseHandle(h);
        return 0;
    }
    holdTerminatingSignals();
    if (target.QuadPart > old.QuadPart &&
        (!SetFilePointerEx(h, target, nullptr, FILE_BEGIN) || !SetEndOfFile(h))) {
        // A full disk may have granted part of the room.
        if (SetFilePointerEx(h, old, nullptr, FILE_BEGIN)) SetEndOfFile(h);
        releaseTerminatingSignals();
        CloseHandle(h);
        return 0;
    }
    LARGE_INTEGER start = {};
    bool ok = SetFilePointerEx(h, start, nullptr, FILE_BEGIN) != 0;
    int fd = _open_osfhandle((intptr_t)h, _O_WRONLY | _O_TEXT);
    if (fd < 0) {
        releaseTerminatingSignals();
        CloseHandle(h);
        return 0;
    }
    ok = ok && writeAll(fd, text, length) && SetFilePointerEx(h, target, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    releaseTerminatingSignals();
    ok = Platform.syncFile(fd) == 0 && ok;
    ok = _close(fd) == 0 && ok;
    if (!ok && length > 0) printf("%s was rewritten only in part: its settings may be incomplete\n", name);
    return ok ? 1 : 0;
}

// The new file cannot be made beside the old one, or cannot take its place,
// while the file itself may still be writable: a folder only an
// administrator may change (the system folder), or a reader holding the
// file open without leave to replace it.
static bool refusedBeside(DWORD err) { return err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION; }

// The new text goes into a new file beside the old one, reaches the disk, and
// then takes the old file's place in one step; until then the old file is
// untouched, so a failure anywhere leaves it whole.
int replaceSettingsFile(const char* name, const char* text, size_t length)
{
    char path[MAX_PATH * 4];
    if (!resolveLinks(name, path, sizeof path)) return 0;
    makeFolderOf(path);
    if (!isWritableFile(path)) return 0;

    char tmpPath[sizeof path + 32];
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD err = ERROR_SUCCESS;  // of the last failed creation
    // No terminating signal between the creation and the registration.
    holdTerminatingSignals();
    DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
    for (int i = 0; i < TEMPORARY_NAME_TRIES && h == INVALID_HANDLE_VALUE; i++) {
        if (snprintf(tmpPath, sizeof tmpPath, "%s.%08lx", path, (unsigned long)(seed + i)) >= (int)sizeof tmpPath) break;
        h = CreateFileA(tmpPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        err = h == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (h == INVALID_HANDLE_VALUE && err != ERROR_FILE_EXISTS) break;
    }
    if (h != INVALID_HANDLE_VALUE && !setPendingTemporaryFile(tmpPath)) {
        CloseHandle(h);
        DeleteFileA(tmpPath);
        h = INVALID_HANDLE_VALUE;
    }
    releaseTerminatingSignals();
    if (h == INVALID_HANDLE_VALUE) return refusedBeside(err) ? writeInPlace(name, path, text, length) : 0;

    bool ok = false;
    int fd = _open_osfhandle((intptr_t)h, _O_WRONLY | _O_TEXT);
    if (fd < 0) {
        CloseHandle(h);
    } else {
        ok = writeAll(fd, text, length) && Platform.syncFile(fd) == 0;
        ok = _close(fd) == 0 && ok;
    }

    // No terminating signal between the replacement and the unregistration.
    holdTerminatingSignals();
    bool replaced = ok && MoveFileExA(tmpPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    err = GetLastError();
    if (!replaced) DeleteFileA(tmpPath);
    setPendingTemporaryFile(nullptr);
    releaseTerminatingSignals();
    if (replaced) return 1;
    return ok && refusedBeside(err) ? writeInPlace(name, path, text, length) : 0;
}

// ---- Emptying ----------------------------------------------------------------------------
int emptySettingsFile(const char* name)
{
    char path[MAX_PATH * 4];
    if (!resolveLinks(name, path, sizeof path)) return 0;
    makeFolderOf(path);
    if (!isWritableFile(path)) return 0;
    HANDLE h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    bool ok = GetFileType(h) == FILE_TYPE_DISK && SetEndOfFile(h);
    ok = CloseHandle(h) && ok;
    return ok ? 1 : 0;
}
