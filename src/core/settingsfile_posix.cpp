// The settings file on POSIX systems.
//
// Index
//   - Where: settingsFilePath, formerSettingsFilePath, settingsFailureReason, makeFoldersOf
//   - Paths: resolveLinks
//   - Writing primitives: openRegularForWriting, writeAll
//   - Reading: openSettingsForReading, settingsFileMissing
//   - Replacing: writeInPlace, writeBeside, replaceSettingsFile
//   - Emptying: emptySettingsFile
#include "core/settingsfile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform.h"
#include "core/process.h"

constexpr int MAX_LINKS = 40;  // symbolic links followed before giving up (a loop)

// ---- Where ----------------------------------------------------------------------
// A host starts its saver in a folder of its own (xsecurelock in its
// libexec folder, xscreensaver wherever its daemon started), and a desktop
// its launchers in any folder: those runs keep one file per user.
static bool homeFolder(char* out, size_t size)
{
    const char* home = getenv("HOME");
    if (!home || !home[0]) {  // never the folder the host happens to run in
        const passwd* user = getpwuid(getuid());
        home = user && user->pw_dir && user->pw_dir[0] ? user->pw_dir : nullptr;
    }
    return home && snprintf(out, size, "%s", home) < (int)size;
}

int settingsFilePath(int rule, char* out, size_t size)
{
    if (rule == SETTINGS_PER_USER) {
        // A relative XDG_CONFIG_HOME is to be ignored, as the base-directory rules say.
        const char* config = getenv("XDG_CONFIG_HOME");
        char home[PATH_MAX];
        int n = -1;
        if (config && config[0] == '/') n = snprintf(out, size, "%s/vyr/%s", config, SETTINGS_FILE_NAME);
        else if (homeFolder(home, sizeof home)) n = snprintf(out, size, "%s/.config/vyr/%s", home, SETTINGS_FILE_NAME);
        if (n >= 0 && n < (int)size) return 1;
    }
    snprintf(out, size, "%s", SETTINGS_FILE_NAME);
    return rule != SETTINGS_PER_USER;
}

void formerSettingsFilePath(int rule, const char* path, char* out, size_t size)
{
    out[0] = '\0';
    char home[PATH_MAX];
    if (rule != SETTINGS_PER_USER || !settingsFileMissing(path) || !homeFolder(home, sizeof home)) return;
    struct stat st;
    if (snprintf(out, size, "%s/%s", home, SETTINGS_FILE_NAME) >= (int)size || stat(out, &st) != 0 ||
        !S_ISREG(st.st_mode)) {
        out[0] = '\0';
    }
}

const char* settingsFailureReason(int err) { return err ? strerror(err) : "not a regular file"; }

// Makes the missing folders of name, each for the user alone.
static void makeFoldersOf(const char* name)
{
    char folder[PATH_MAX];
    if (snprintf(folder, sizeof folder, "%s", name) >= (int)sizeof folder) return;
    char* last = strrchr(folder, '/');
    struct stat st;
    if (!last) return;
    *last = '\0';
    if (stat(folder, &st) == 0) return;  // the usual case: there already
    *last = '/';
    for (char* slash = strchr(folder + 1, '/'); slash; slash = strchr(slash + 1, '/')) {
        *slash = '\0';
        mkdir(folder, 0700);  // an existing one stays as it is
        *slash = '/';
    }
}

// ---- Paths --------------------------------------------------------------------------
// Follows symbolic links from name to the name of the file they end at, which
// need not exist: a dangling link names the file to create. False for a loop,
// a link that cannot be read, or a path longer than size.
static bool resolveLinks(const char* name, char* path, size_t size)
{
    if (snprintf(path, size, "%s", name) >= (int)size) return false;
    for (int hops = 0; hops < MAX_LINKS; hops++) {
        struct stat st;
        if (lstat(path, &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        char target[PATH_MAX];
        ssize_t n = readlink(path, target, sizeof target - 1);
        if (n <= 0) return false;
        target[n] = '\0';
        // A relative target is taken from the folder of the link.
        const char* slash = strrchr(path, '/');
        size_t folder = target[0] == '/' || !slash ? 0 : (size_t)(slash - path) + 1;
        if (folder + (size_t)n >= size) return false;
        memcpy(path + folder, target, (size_t)n + 1);
    }
    errno = ELOOP;
    return false;
}

// ---- Writing primitives ---------------------------------------------------------------
// Opens (creating it if need be) a regular file for writing without blocking
// on a pipe or device and without truncating it; -1 for anything else. *st
// receives the file's status as opened.
static int openRegularForWriting(const char* path, struct stat* st)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    if (fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

// Writes the whole text at offset; returns the number of bytes written.
static size_t writeAll(int fd, const char* text, size_t length, off_t offset)
{
    size_t done = 0;
    while (done < length) {
        ssize_t n = pwrite(fd, text + done, length - done, offset + (off_t)done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += (size_t)n;
    }
    return done;
}

// The temporary file cannot be made or the rename is refused, while the file
// itself may still be writable: a folder of another user, a read-only folder,
// a sticky folder, another file system.
static bool refusedBeside(int err) { return err == EACCES || err == EPERM || err == EROFS || err == EXDEV; }

// ---- Reading ---------------------------------------------------------------------------
FILE* openSettingsForReading(const char* name)
{
    int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {  // a pipe, device or folder
        close(fd);
        errno = 0;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "r");
    if (!file) close(fd);
    return file;
}

int settingsFileMissing(const char* name)
{
    struct stat st;
    return stat(name, &st) != 0 && (errno == ENOENT || errno == ENOTDIR) ? 1 : 0;
}

// ---- Replacing -------------------------------------------------------------------------
// Rewrites the file where it is: the old text stays until the new one is
// written over it in one go. Room on the disk is reserved first, so that a
// full disk fails before any byte changes; a write failing part-way after
// that is reported. Terminating signals wait from the reservation to the
// cut at the new length: the process never ends with the new text followed
// by the old one's tail or by reserved zeros.
static int writeInPlace(const char* name, const char* path, const char* text, size_t length)
{
    struct stat old;
    int fd = openRegularForWriting(path, &old);
    if (fd < 0) return 0;
    holdTerminatingSignals();
    int reserved = length > 0 ? posix_fallocate(fd, 0, (off_t)length) : 0;
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL && reserved != EBADF) {
        // A full disk may have granted part of the room, growing the file.
        if (ftruncate(fd, old.st_size) != 0) {}
        releaseTerminatingSignals();
        close(fd);
        return 0;
    }
    size_t written = writeAll(fd, text, length, 0);
    bool ok = written == length && ftruncate(fd, (off_t)length) == 0;
    releaseTerminatingSignals();
    ok = Platform.syncFile(fd) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (!ok && written > 0) printf("%s was rewritten only in part: its settings may be incomplete\n", name);
    return ok ? 1 : 0;
}

enum besideResult { BESIDE_WRITTEN, BESIDE_FAILED, BESIDE_REFUSED };

// Writes the text into a new file beside the old one and renames it over the
// old one once it is on the disk. The new file takes the old one's mode and,
// where permitted, its owner, else at least its group.
static besideResult writeBeside(const char* path, const char* text, size_t length, const struct stat* old)
{
    char tmpPath[PATH_MAX + 8];
    if (snprintf(tmpPath, sizeof tmpPath, "%s.XXXXXX", path) >= (int)sizeof tmpPath) return BESIDE_FAILED;
    // No terminating signal between the creation and the registration.
    holdTerminatingSignals();
    int fd = mkstemp(tmpPath);
    int err = errno;
    if (fd >= 0 && !setPendingTemporaryFile(tmpPath)) {
        close(fd);
        unlink(tmpPath);
        fd = -1;
        err = ENAMETOOLONG;
    }
    releaseTerminatingSignals();
    if (fd < 0) return refusedBeside(err) ? BESIDE_REFUSED : BESIDE_FAILED;

    mode_t mode;
    if (old) {
        if (fchown(fd, old->st_uid, old->st_gid) != 0 && fchown(fd, (uid_t)-1, old->st_gid) != 0) {
            // neither permitted: the file becomes ours, in our group
        }
        mode = old->st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);

    bool ok = writeAll(fd, text, length, 0) == length && Platform.syncFile(fd) == 0;
    ok = close(fd) == 0 && ok;

    // No terminating signal between the rename and the unregistration.
    holdTerminatingSignals();
    int renamed = ok ? rename(tmpPath, path) : -1;
    err = errno;
    if (renamed != 0) unlink(tmpPath);
    setPendingTemporaryFile(nullptr);
    releaseTerminatingSignals();
    if (renamed == 0) return BESIDE_WRITTEN;
    return ok && refusedBeside(err) ? BESIDE_REFUSED : BESIDE_FAILED;
}

int replaceSettingsFile(const char* name, const char* text, size_t length)
{
    makeFoldersOf(name);
    char path[PATH_MAX];
    if (!resolveLinks(name, path, sizeof path)) return 0;
    struct stat old;
    bool exists = stat(path, &old) == 0;
    if (!exists && errno != ENOENT) return 0;
    if (exists && !S_ISREG(old.st_mode)) return 0;     // a folder, pipe or device stays untouched
    if (exists && access(path, W_OK) != 0) return 0;   // a read-only file stays read-only

    // A file with several names is rewritten in place, so that every name
    // keeps showing the same settings.
    if (exists && old.st_nlink > 1) return writeInPlace(name, path, text, length);
    besideResult r = writeBeside(path, text, length, exists ? &old : nullptr);
    if (r == BESIDE_REFUSED) return writeInPlace(name, path, text, length);
    return r == BESIDE_WRITTEN ? 1 : 0;
}

// ---- Emptying ----------------------------------------------------------------------------
int emptySettingsFile(const char* name)
{
    makeFoldersOf(name);
    char path[PATH_MAX];
    if (!resolveLinks(name, path, sizeof path)) return 0;
    struct stat st;
    int fd = openRegularForWriting(path, &st);
    if (fd < 0) return 0;
    bool ok = ftruncate(fd, 0) == 0;
    ok = close(fd) == 0 && ok;
    return ok ? 1 : 0;
}
