// Preloaded into a rename to play a filesystem that misbehaves at one step.
// Every call that changes a folder counts as a step; the one numbered
// TOLVANE_STEP is, by TOLVANE_STEP_MODE:
//   fail    refused with EIO, without being carried out;
//   lie     carried out, then reported failed with ENOENT, as a network
//           filesystem does when a reply is lost and the call is resent;
//   behind  carried out by the server behind the kernel's back, then reported
//           failed with EIO, as a network-backed FUSE filesystem does when
//           its connection drops: the kernel's cached view still shows the
//           state before the step. TOLVANE_STEP_BACKING="MOUNT:FOLDER" names
//           the folder a passthrough mount shows;
//   crash   carried out, then the process ends at once.
// The step that was played is named on standard error.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kCrashExit = 86 };

static int steps_seen;

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

// Applies the mode to a call made by `run`, or in mode "behind" by `hidden`.
#define PLAY(call, run, hidden)                     \
    do {                                            \
        char p1[PATH_MAX], p2[PATH_MAX];            \
        (void)p1;                                   \
        (void)p2;                                   \
        const char* played = chosen(call);          \
        if (is(played, "fail")) {                   \
            errno = EIO;                            \
            return -1;                              \
        }                                           \
        if (is(played, "behind")) {                 \
            (void)(hidden);                         \
            errno = EIO;                            \
            return -1;                              \
        }                                           \
        const int result = (run);                   \
        if (is(played, "crash")) _exit(kCrashExit); \
        if (is(played, "lie") && result >= 0) {     \
            errno = ENOENT;                         \
            return -1;                              \
        }                                           \
        return result;                              \
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
         real(AT_FDCWD, behind(a, b, p1), AT_FDCWD, behind(c, d, p2), flags));
}

int renameat(int a, const char* b, int c, const char* d) {
    rename_fn real = REAL("renameat", rename_fn);
    PLAY("renameat", real(a, b, c, d),
         real(AT_FDCWD, behind(a, b, p1), AT_FDCWD, behind(c, d, p2)));
}

int linkat(int a, const char* b, int c, const char* d, int flags) {
    link_fn real = REAL("linkat", link_fn);
    PLAY("linkat", real(a, b, c, d, flags),
         real(AT_FDCWD, behind(a, b, p1), AT_FDCWD, behind(c, d, p2), flags));
}

int unlinkat(int a, const char* b, int flags) {
    unlink_fn real = REAL("unlinkat", unlink_fn);
    PLAY("unlinkat", real(a, b, flags), real(AT_FDCWD, behind(a, b, p1), flags));
}

int mkdirat(int a, const char* b, mode_t mode) {
    mkdir_fn real = REAL("mkdirat", mkdir_fn);
    PLAY("mkdirat", real(a, b, mode), real(AT_FDCWD, behind(a, b, p1), mode));
}

static int create_behind(open_fn real, int a, const char* b, int flags, mode_t mode, char* p1) {
    const int fd = real(AT_FDCWD, behind(a, b, p1), flags, mode);
    if (fd >= 0) close(fd);
    return fd;
}

static int open_at(const char* name, int a, const char* b, int flags, mode_t mode) {
    open_fn real = REAL(name, open_fn);
    if ((flags & O_CREAT) == 0) return real(a, b, flags);
    PLAY(name, real(a, b, flags, mode), create_behind(real, a, b, flags, mode, p1));
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
