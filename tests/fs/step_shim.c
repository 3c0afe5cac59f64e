// Preloaded into a rename to play a filesystem that misbehaves at one step,
// or another program that acts on the same names right after it. Every call
// that changes a folder counts as a step; the one numbered TOLVANE_STEP is,
// by TOLVANE_STEP_MODE:
//   fail    refused with EIO, without being carried out;
//   lie     carried out, then reported failed with ENOENT, as a network
//           filesystem does when a reply is lost and the call is resent;
//   exists  carried out, then reported failed with EEXIST (the resent call
//           finds its own work);
//   eio     carried out, then reported failed with EIO;
//   noop    reported done without being carried out (a creation is
//           carried out all the same: it has no answer without a file);
//   behind  carried out by the server behind the kernel's back, then reported
//           failed with EIO, as a network-backed FUSE filesystem does when
//           its connection drops: the kernel's cached view still shows the
//           state before the step. TOLVANE_STEP_BACKING="MOUNT:FOLDER" names
//           the folder a passthrough mount shows;
//   crash   carried out, then the process ends at once;
//   save    carried out, then another program saves TOLVANE_STEP_OLD as an
//           editor does: writes "saved" into a file of its own and renames
//           that over the old name;
//   claim   carried out, then another program renames a file of its own
//           holding "claimed" onto TOLVANE_STEP_NEW (a download finishing),
//           or, where a folder is renamed (TOLVANE_STEP_FOLDER is set), an
//           empty folder dated 2002;
//   nosys   every step as it is, but a link refused as not permitted is
//           answered ENOSYS, as FUSE did for filesystems without links
//           before a kernel change of 2025;
//   scribble carried out, then another program writes "scribbled" into
//           TOLVANE_STEP_NEW if that is an empty file made since 2010 (the
//           tests date their own empty entries 2001).
// The other program's files are named "x-…". The step that was played is
// named on standard error.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

enum { kCrashExit = 86, kSince2010 = 1262304000 };

static int steps_seen;

// A file made by the chosen step, and the mode whose other program acts once
// it is closed: a FUSE filesystem may not take a rename over a file still
// open (exfat-fuse lost its mount to one), and this program closes it next.
static int made_fd = -1;
static const char* made_mode;

// The step's mode when this call is the chosen step, else NULL.
static const char* chosen(const char* call) {
    const char* wanted = getenv("TOLVANE_STEP");
    const char* mode = getenv("TOLVANE_STEP_MODE");
    if (wanted == NULL || mode == NULL || ++steps_seen != atoi(wanted)) return NULL;
    fprintf(stderr, "step %d: %s %s\n", steps_seen, call, mode);
    return mode;
}

static int is(const char* played, const char* mode) {
    return played != NULL && strcmp(played, mode) == 0;
}

// Another program's file `name` in the folder of `path`, holding `content`;
// its path goes to `out`.
static void other_file(const char* path, const char* name, const char* content, char* out) {
    const char* slash = strrchr(path, '/');
    const int folder = slash != NULL ? (int)(slash - path) : 0;
    snprintf(out, PATH_MAX, "%.*s/%s", folder, path, name);
    const int fd = (int)syscall(SYS_openat, AT_FDCWD, out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (write(fd, content, strlen(content)) < 0) perror("x-file");
        close(fd);
    }
}

// Names on standard error the file that a rename onto `path` is about to
// replace, as the tests' snapshots write it: "replaced: file:CONTENT", with
// "@2001" for a file dated before 2010; "replaced a name of: …" where the
// file has other names, and so lives on; "replaced: folder…" for a folder.
static void tell_replaced(const char* path) {
    // Asked of the filesystem, past the kernel's cached link count.
    struct statx info;
    char content[64] = "";
    if (statx(AT_FDCWD, path, AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC,
              STATX_TYPE | STATX_NLINK | STATX_MTIME, &info) != 0) {
        return;
    }
    const char* dated = info.stx_mtime.tv_sec < kSince2010 ? "@2001" : "";
    if (S_ISDIR(info.stx_mode)) {
        fprintf(stderr, "replaced: folder%s\n", dated);  // only an empty one can be
        return;
    }
    if (!S_ISREG(info.stx_mode)) return;
    const int fd = (int)syscall(SYS_openat, AT_FDCWD, path, O_RDONLY);
    if (fd >= 0) {
        const ssize_t length = read(fd, content, sizeof content - 1);
        content[length > 0 ? length : 0] = '\0';
        close(fd);
    }
    fprintf(stderr, "replaced%s: file:%s%s\n", info.stx_nlink > 1 ? " a name of" : "", content,
            dated);
}

// What another program does right after the step, by `mode`.
static void intrude(const char* mode) {
    const char* old_path = getenv("TOLVANE_STEP_OLD");
    const char* new_path = getenv("TOLVANE_STEP_NEW");
    char own[PATH_MAX];
    if (strcmp(mode, "save") == 0 && old_path != NULL) {
        other_file(old_path, "x-save", "saved", own);
        tell_replaced(old_path);
        syscall(SYS_renameat2, AT_FDCWD, own, AT_FDCWD, old_path, 0);
    } else if (strcmp(mode, "claim") == 0 && new_path != NULL &&
               getenv("TOLVANE_STEP_FOLDER") != NULL) {
        // An empty folder of its own, dated 2002, in place of the new name.
        const char* slash = strrchr(new_path, '/');
        snprintf(own, sizeof own, "%.*s/x-claim", slash != NULL ? (int)(slash - new_path) : 0,
                 new_path);
        const struct timespec year2002[2] = {{1009843200, 0}, {1009843200, 0}};
        if (syscall(SYS_mkdirat, AT_FDCWD, own, 0755) == 0) utimensat(AT_FDCWD, own, year2002, 0);
        tell_replaced(new_path);
        syscall(SYS_renameat2, AT_FDCWD, own, AT_FDCWD, new_path, 0);
    } else if (strcmp(mode, "claim") == 0 && new_path != NULL) {
        other_file(new_path, "x-claim", "claimed", own);
        tell_replaced(new_path);
        syscall(SYS_renameat2, AT_FDCWD, own, AT_FDCWD, new_path, 0);
    } else if (strcmp(mode, "scribble") == 0 && new_path != NULL) {
        struct stat info;
        if (lstat(new_path, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != 0 ||
            info.st_mtime < kSince2010) {
            return;
        }
        const int fd = (int)syscall(SYS_openat, AT_FDCWD, new_path, O_WRONLY | O_APPEND);
        if (fd < 0) return;
        if (write(fd, "scribbled", 9) < 0) perror("scribble");
        close(fd);
    } else {
        return;
    }
    fprintf(stderr, "intruded: %s\n", mode);
}

// The path in the folder behind the mount for `name` relative to `dirfd`.
static const char* behind(int dirfd, const char* name, char* out) {
    char folder[PATH_MAX] = ".";
    if (dirfd != AT_FDCWD) {
        char link[64];
        snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t length = readlink(link, folder, sizeof folder - 1);
        folder[length > 0 ? length : 0] = '\0';
    }
    char path[PATH_MAX];
    snprintf(path, sizeof path, "%s/%s", folder, name);
    const char* pair = getenv("TOLVANE_STEP_BACKING");
    const char* colon = pair != NULL ? strchr(pair, ':') : NULL;
    const size_t mount = colon != NULL ? (size_t)(colon - pair) : 0;
    if (colon != NULL && strncmp(path, pair, mount) == 0 && path[mount] == '/') {
        snprintf(out, PATH_MAX, "%s%s", colon + 1, path + mount);
    } else {
        snprintf(out, PATH_MAX, "%s", path);
    }
    return out;
}

// The errno value with which a mode reports a step failed that was carried
// out; 0 for the others.
static int lie_of(const char* played) {
    if (is(played, "lie")) return ENOENT;
    if (is(played, "exists")) return EEXIST;
    if (is(played, "eio")) return EIO;
    return 0;
}

// Applies the mode to a call made by `run`, or in mode "behind" by `hidden`;
// `creates` for a call whose answer is a new file's descriptor.
#define PLAY(call, run, hidden, creates)                    \
    do {                                                    \
        char p1[PATH_MAX], p2[PATH_MAX];                    \
        (void)p1;                                           \
        (void)p2;                                           \
        const char* played = chosen(call);                  \
        if (is(played, "fail")) {                           \
            errno = EIO;                                    \
            return -1;                                      \
        }                                                   \
        if (is(played, "behind")) {                         \
            (void)(hidden);                                 \
            errno = EIO;                                    \
            return -1;                                      \
        }                                                   \
        if (is(played, "noop") && !(creates)) return 0;     \
        const int result = (run);                           \
        if (is(played, "crash")) _exit(kCrashExit);         \
        if ((creates) && result >= 0 && played != NULL) {   \
            made_fd = result;                               \
            made_mode = played;                             \
        } else if (played != NULL && lie_of(played) == 0) { \
            intrude(played);                                \
        }                                                   \
        if (lie_of(played) != 0 && result >= 0) {           \
            if (creates) close(result);                     \
            fputs("lied\n", stderr);                        \
            errno = lie_of(played);                         \
            return -1;                                      \
        }                                                   \
        return result;                                      \
    } while (0)

#define REAL(name, type) ((type)dlsym(RTLD_NEXT, name))

typedef int (*rename2_fn)(int, const char*, int, const char*, unsigned);
typedef int (*rename_fn)(int, const char*, int, const char*);
typedef int (*link_fn)(int, const char*, int, const char*, int);
typedef int (*unlink_fn)(int, const char*, int);
typedef int (*mkdir_fn)(int, const char*, mode_t);
typedef int (*open_fn)(int, const char*, int, ...);

int renameat2(int a, const char* b, int c, const char* d, unsigned flags) {
    rename2_fn real = REAL("renameat2", rename2_fn);
    PLAY("renameat2", real(a, b, c, d, flags),
         real(AT_FDCWD, behind(a, b, p1), AT_FDCWD, behind(c, d, p2), flags), 0);
}

int renameat(int a, const char* b, int c, const char* d) {
    rename_fn real = REAL("renameat", rename_fn);
    PLAY("renameat", real(a, b, c, d), real(AT_FDCWD, behind(a, b, p1), AT_FDCWD, behind(c, d, p2)),
         0);
}

int linkat(int a, const char* b, int c, const char* d, int flags) {
    link_fn real = REAL("linkat", link_fn);
    const char* mode = getenv("TOLVANE_STEP_MODE");
    if (mode != NULL && strcmp(mode, "nosys") == 0) {
        const int result = real(a, b, c, d, flags);
        if (result != 0 && errno == EPERM) errno = ENOSYS;
        return result;
    }
    PLAY("linkat", real(a, b, c, d, flags),
         real(AT_FDCWD, behind(a, b, p1), AT_FDCWD, behind(c, d, p2), flags), 0);
}

int unlinkat(int a, const char* b, int flags) {
    unlink_fn real = REAL("unlinkat", unlink_fn);
    PLAY("unlinkat", real(a, b, flags), real(AT_FDCWD, behind(a, b, p1), flags), 0);
}

int mkdirat(int a, const char* b, mode_t mode) {
    mkdir_fn real = REAL("mkdirat", mkdir_fn);
    PLAY("mkdirat", real(a, b, mode), real(AT_FDCWD, behind(a, b, p1), mode), 0);
}

static int create_behind(open_fn real, int a, const char* b, int flags, mode_t mode, char* p1) {
    const int fd = real(AT_FDCWD, behind(a, b, p1), flags, mode);
    if (fd >= 0) close(fd);
    return fd;
}

static int open_at(const char* name, int a, const char* b, int flags, mode_t mode) {
    open_fn real = REAL(name, open_fn);
    if ((flags & O_CREAT) == 0) return real(a, b, flags);
    PLAY(name, real(a, b, flags, mode), create_behind(real, a, b, flags, mode, p1), 1);
}

int openat(int a, const char* b, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & O_CREAT) != 0 ? va_arg(args, mode_t) : 0;
    va_end(args);
    return open_at("openat", a, b, flags, mode);
}

int openat64(int a, const char* b, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & O_CREAT) != 0 ? va_arg(args, mode_t) : 0;
    va_end(args);
    return open_at("openat64", a, b, flags, mode);
}

int close(int fd) {
    typedef int (*close_fn)(int);
    const int result = REAL("close", close_fn)(fd);
    if (fd == made_fd) {
        made_fd = -1;
        intrude(made_mode);
    }
    return result;
}
