/* padshim.c: a gamepad for the game without one: preloaded, it answers the library's opening
 * of /dev/input/js0 with the FIFO named in PAD_FIFO, which the test writes joystick events
 * into, and the ioctls that ask what the pad has with an Xbox-style pad's 8 axes and 11
 * buttons (only a joystick is asked those). The pad is plugged in while the FIFO exists. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

static const char *pad_fifo(const char *path) {
    const char *fifo = getenv("PAD_FIFO");
    return fifo && strcmp(path, "/dev/input/js0") == 0 ? fifo : NULL;
}

int access(const char *path, int mode) {
    static int (*real)(const char *, int);
    if (!real)
        real = (int (*)(const char *, int))dlsym(RTLD_NEXT, "access");
    const char *fifo = pad_fifo(path);
    return real(fifo ? fifo : path, mode);
}

int open(const char *path, int flags, ...) {
    static int (*real)(const char *, int, ...);
    if (!real)
        real = (int (*)(const char *, int, ...))dlsym(RTLD_NEXT, "open");
    va_list ap;
    va_start(ap, flags);
    mode_t mode = (flags & O_CREAT) ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    const char *fifo = pad_fifo(path);
    return fifo ? real(fifo, O_RDONLY | O_NONBLOCK) : real(path, flags, mode);
}

int ioctl(int fd, unsigned long request, ...) {
    static int (*real)(int, unsigned long, ...);
    if (!real)
        real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    va_list ap;
    va_start(ap, request);
    void *arg = va_arg(ap, void *);
    va_end(ap);
    switch (request) {
    case JSIOCGVERSION:
        *(uint32_t *)arg = JS_VERSION;
        return 0;
    case JSIOCGAXES:
        *(uint8_t *)arg = 8;
        return 0;
    case JSIOCGBUTTONS:
        *(uint8_t *)arg = 11;
        return 0;
    default:
        return real(fd, request, arg);
    }
}
