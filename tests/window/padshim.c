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

/* the C library's own function of that name, which this one stands in front of */
#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

static const char *pad_fifo(const char *path) {
    const char *fifo = getenv("PAD_FIFO");
    return fifo && strcmp(path, "/dev/input/js0") == 0 ? fifo : NULL;
}

int access(const char *path, int mode) {
    const char *fifo = pad_fifo(path);
    return REAL(access)(fifo ? fifo : path, mode);
}

int open(const char *path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    mode_t mode = (flags & O_CREAT) ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    const char *fifo = pad_fifo(path);
    return fifo ? REAL(open)(fifo, O_RDONLY | O_NONBLOCK) : REAL(open)(path, flags, mode);
}

int ioctl(int fd, unsigned long request, ...) {
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
        return REAL(ioctl)(fd, request, arg);
    }
}
