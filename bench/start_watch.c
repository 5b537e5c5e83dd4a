/* Times a program's start on the X display: from just before it is started
 * to the moment a top-level window with the given name is mapped. Prints the
 * milliseconds, then ends the program.
 *
 *   start_watch "window name" program [arguments...]
 *
 * Top-level windows are watched as children of the root window, and
 * followed into the frames a window manager puts them in. */

#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int has_name(Display *display, Window window, const char *name) {
    char *window_name = NULL;
    int same = 0;
    if (XFetchName(display, window, &window_name) && window_name) {
        same = strcmp(window_name, name) == 0;
        XFree(window_name);
    }
    return same;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: start_watch \"window name\" program [arguments...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "start_watch: no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double shown = -1;
    const int fd = ConnectionNumber(display);
    while (shown < 0 && now_ms() - start < 60000) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && has_name(display, event.xmap.window, argv[1])) {
                shown = now_ms() - start;
                break;
            }
            /* A window manager takes the window into a frame of its own:
             * its mapping is then reported to that frame, and to it. */
            if (event.type == ReparentNotify)
                XSelectInput(display, event.xreparent.window, StructureNotifyMask);
        }
        if (shown >= 0 || waitpid(child, NULL, WNOHANG) == child)
            break;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        struct timeval timeout = {0, 100000};
        select(fd + 1, &fds, NULL, NULL, &timeout);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    if (shown < 0) {
        fprintf(stderr, "start_watch: no window \"%s\" was shown\n", argv[1]);
        return 1;
    }
    printf("%.1f\n", shown);
    return 0;
}
