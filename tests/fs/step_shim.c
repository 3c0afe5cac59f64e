// Preloaded into a rename to play a filesystem that misbehaves at one step.
// Every call that changes a folder counts as a step; the one numbered
// TOLVANE_STEP is, by TOLVANE_STEP_MODE:
//   fail   refused with EIO, without being carried out;
//   lie    carried out, then reported failed with ENOENT, as a network
//          filesystem does when a reply is lost and the call is resent;
//   crash  carried out, then the process ends at once.
// The step that was played is named on standard error.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
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

// Applies the mode to a call made (or not) by `run`.
#define PLAY(call, run)                                                \
    do {                                                               \
        const char* played = chosen(call);                               \
        if (played != NULL && strcmp(played, "fail") == 0) {               \
            errno = EIO;                                               \
            return -1;                                                 \
        }                                                              \
        const int result = (run);                                      \
        if (played != NULL && strcmp(played, "crash") == 0) {              \
            _exit(kCrashExit);                                         \
        }                                                              \
        if (played != NULL && strcmp(played, "lie") == 0 && result >= 0) { \
            errno = ENOENT;                                            \
            return -1;                                                 \
        }                                                              \
        return result;                                                 \
    } while (0)

#define REAL(name, type) ((type)dlsym(RTLD_NEXT, name))

int renameat2(int a, const char* b, int c, const char* d, unsigned flags) {
    PLAY("renameat2", REAL("renameat2", int (*)(int, const char*, int, const char*, unsigned))(
                          a, b, c, d, flags));
}

int renameat(int a, const char* b, int c, const char* d) {
    PLAY("renameat", REAL("renameat", int (*)(int, const char*, int, const char*))(a, b, c, d));
}

int linkat(int a, const char* b, int c, const char* d, int flags) {
    PLAY("linkat",
         REAL("linkat", int (*)(int, const char*, int, const char*, int))(a, b, c, d, flags));
}

int unlinkat(int a, const char* b, int flags) {
    PLAY("unlinkat", REAL("unlinkat", int (*)(int, const char*, int))(a, b, flags));
}

int mkdirat(int a, const char* b, mode_t mode) {
    PLAY("mkdirat", REAL("mkdirat", int (*)(int, const char*, mode_t))(a, b, mode));
}

static int open_at(const char* name, int a, const char* b, int flags, mode_t mode) {
    int (*real)(int, const char*, int, ...) = REAL(name, int (*)(int, const char*, int, ...));
    if ((flags & O_CREAT) == 0) return real(a, b, flags);
    PLAY(name, real(a, b, flags, mode));
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
