// Times one launch of a program from the X server's side: from the fork to
// the MapNotify of the program's first top-level window, and the processor
// time the program has used when that window is first painted all over (the
// damage the server reports covers it). Then asks the window to close and
// takes the finished process's peak resident memory.
//
// Usage: korvane-mapwatch [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARG...]
// Prints "startup_ms=… paint_cpu_ms=… maxrss_kb=…" and exits 0, or says what
// went wrong and exits 1 (2 for a usage or display error).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

namespace {

struct Options
{
    long settleMs = 500;    // after the first paint, before asking the window to close
    long timeoutMs = 20000; // for the map and again for the exit
    char **command = nullptr;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--" && i + 1 < argc) {
            options.command = argv + i + 1;
            return options;
        }
        if ((arg == "--settle-ms" || arg == "--timeout-ms") && i + 1 < argc) {
            char *end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 0)
                return std::nullopt;
            (arg == "--settle-ms" ? options.settleMs : options.timeoutMs) = value;
            continue;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

double clockMs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double nowMs()
{
    return clockMs(CLOCK_MONOTONIC);
}

// A window can vanish between its MapNotify and our questions about it.
int ignoreXErrors(Display *, XErrorEvent *)
{
    return 0;
}

std::optional<long> windowPid(Display *display, Window window, Atom netWmPid)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char *data = nullptr;
    std::optional<long> pid;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &remaining, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        pid = *reinterpret_cast<long *>(data);
    if (data)
        XFree(data);
    return pid;
}

bool isOverrideRedirect(Display *display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.override_redirect;
}

bool acceptsDelete(Display *display, Window window, Atom deleteWindow)
{
    Atom *protocols = nullptr;
    int count = 0;
    bool found = false;
    if (XGetWMProtocols(display, window, &protocols, &count)) {
        for (int i = 0; i < count; ++i)
            found = found || protocols[i] == deleteWindow;
        XFree(protocols);
    }
    return found;
}

// Waits for the X connection to become readable, up to the deadline.
bool waitForEvents(Display *display, double deadline)
{
    if (XPending(display) > 0)
        return true;
    const double left = deadline - nowMs();
    if (left <= 0)
        return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    // Short slices, so that a child that dies without a window is noticed.
    return poll(&fd, 1, int(left < 50 ? left : 50)) > 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--settle-ms N] [--timeout-ms N] -- PROGRAM [ARG...]\n",
                     argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreXErrors);
    const Window root = DefaultRootWindow(display);
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    const Atom wmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    // Selected and acknowledged by the server before the program exists,
    // so that its window's MapNotify cannot be missed.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);

    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "mapwatch: the X server has no DAMAGE extension\n");
        return 2;
    }

    const double started = nowMs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("mapwatch: fork");
        return 1;
    }
    if (child == 0) {
        execvp(options->command[0], options->command);
        std::fprintf(stderr, "mapwatch: cannot run %s: %s\n", options->command[0],
                     std::strerror(errno));
        _exit(127);
    }
    // The child's processor time, all its threads, read while it runs.
    clockid_t childClock{};
    if (clock_getcpuclockid(child, &childClock) != 0) {
        std::fprintf(stderr, "mapwatch: no processor clock for the child\n");
        kill(child, SIGKILL);
        return 1;
    }

    int status = 0;
    rusage usage{};
    bool exited = false;
    Window window = None;
    double mapped = 0;
    double paintCpu = -1;
    Region painted = XCreateRegion();
    const double deadline = started + double(options->timeoutMs);
    while (paintCpu < 0) {
        if (wait4(child, &status, WNOHANG, &usage) == child) {
            exited = true;
            break;
        }
        if (!waitForEvents(display, deadline)) {
            if (nowMs() >= deadline)
                break;
            continue;
        }
        if (XPending(display) == 0)
            continue;
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            // Watched from its creation, before anything can be drawn in it.
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportRawRectangles);
        } else if (event.type == MapNotify && window == None && event.xmap.event == root &&
                   !event.xmap.override_redirect) {
            const Window candidate = event.xmap.window;
            const std::optional<long> pid = windowPid(display, candidate, netWmPid);
            if ((pid && *pid != long(child)) || isOverrideRedirect(display, candidate))
                continue;
            mapped = nowMs();
            window = candidate;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
            if (window == None || damage.drawable != window)
                continue;
            XRectangle area = damage.area;
            XUnionRectWithRegion(&area, painted, painted);
            if (XRectInRegion(painted, 0, 0, damage.geometry.width, damage.geometry.height) ==
                RectangleIn)
                paintCpu = clockMs(childClock);
        }
    }
    XDestroyRegion(painted);

    if (paintCpu < 0) {
        std::fprintf(stderr, "mapwatch: %s %s\n", options->command[0],
                     exited ? "ended before its window was painted"
                     : window == None ? "mapped no window in time"
                                      : "did not paint its whole window in time");
        if (!exited) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
        }
        return 1;
    }

    // Let the program settle, so that the peak includes what follows the paint.
    const double settleEnd = nowMs() + double(options->settleMs);
    while (nowMs() < settleEnd) {
        if (waitForEvents(display, settleEnd) && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }

    // A clean close, as from a title bar, so that the program ends its own way.
    if (acceptsDelete(display, window, wmDeleteWindow)) {
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = window;
        message.xclient.message_type = wmProtocols;
        message.xclient.format = 32;
        message.xclient.data.l[0] = long(wmDeleteWindow);
        message.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &message);
        XFlush(display);
    } else {
        kill(child, SIGTERM);
    }

    const double exitDeadline = nowMs() + double(options->timeoutMs);
    while (!exited) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child) {
            exited = true;
            break;
        }
        if (done < 0 || nowMs() >= exitDeadline)
            break;
        usleep(2000);
    }
    if (!exited) {
        std::fprintf(stderr, "mapwatch: %s did not end after its window was closed\n",
                     options->command[0]);
        kill(child, SIGKILL);
        wait4(child, &status, 0, &usage);
        return 1;
    }
    XCloseDisplay(display);

    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "mapwatch: %s ended with %s %d\n", options->command[0],
                     WIFEXITED(status) ? "status" : "signal",
                     WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
        return 1;
    }
    std::printf("startup_ms=%.3f paint_cpu_ms=%.3f maxrss_kb=%ld\n", mapped - started, paintCpu,
                usage.ru_maxrss);
    return 0;
}
