// The virtual X screen of a test and the X requests it makes.
#include <X11/Xlib.h>

#include "tests/desktop/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
// A window the test looks at may be gone by the time it asks about it (a box the game closes,
// a window SDL replaces): the request then fails and the test looks on. Xlib's own handler
// would end the test's process on the spot, leaving its server behind.
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

void Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string Title(Display* display, Window window)
{
    XTextProperty property{};
    if (!XGetWMName(display, window, &property) || !property.value)
        return "";
    std::string title(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
    return title;
}

Window FindWindow(Display* display, const std::string& title)
{
    Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && Title(display, children[i]) == title)
            found = children[i];
    }
    XFree(children);
    return found;
}
} // namespace

XSession::XSession()
{
    // Xvfb picks a free display itself and writes its number on the descriptor.
    int ready[2];
    if (pipe(ready) != 0)
        return;
    server = fork();
    if (server == 0) {
        // The server ends with the test's process even when that dies without its
        // destructors, rather than keep the test runner waiting on the output they share.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(ready[0]);
        std::string fd = std::to_string(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    // The number comes with a line feed, perhaps in a write of its own: the pipe must stay
    // open until it has, or the server fails on the write.
    std::string number;
    char byte = 0;
    while (number.size() < 16 && byte != '\n') {
        ssize_t got = read(ready[0], &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        number += byte;
    }
    close(ready[0]);
    if (number.empty() || number.back() != '\n')
        return;
    name = ":" + std::to_string(std::atoi(number.c_str()));
    setenv("DISPLAY", name.c_str(), 1);
    display = XOpenDisplay(name.c_str());
    XSetErrorHandler(IgnoreXError);
}

XSession::~XSession()
{
    if (display)
        XCloseDisplay(display);
    if (server > 0) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
}

WindowId WaitForWindow(XSession& session, const std::string& title, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 50) {
        if (Window window = FindWindow(session.display, title))
            return window;
        Pause(50);
    }
    return 0;
}

void SendCloseRequest(XSession& session, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(session.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(session.display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(session.display, window, False, NoEventMask, &event);
    XFlush(session.display);
}

std::vector<uint32_t> WindowIcon(XSession& session, Window window)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom icon = XInternAtom(session.display, "_NET_WM_ICON", False);
    std::vector<uint32_t> values;
    if (XGetWindowProperty(session.display, window, icon, 0, 1 << 20, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32) {
        // Format 32 properties come as longs, whatever their width.
        const long* longs = reinterpret_cast<const long*>(data);
        values.assign(longs, longs + count);
    }
    if (data)
        XFree(data);
    return values;
}

void PressKey(XSession& session, const char* keysym)
{
    KeyCode code = XKeysymToKeycode(session.display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(session.display, code, True, CurrentTime);
    XFlush(session.display);
    Pause(100);
    XTestFakeKeyEvent(session.display, code, False, CurrentTime);
    XFlush(session.display);
}

void SetKey(XSession& session, const char* keysym, bool down)
{
    KeyCode code = XKeysymToKeycode(session.display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(session.display, code, down ? True : False, CurrentTime);
    XFlush(session.display);
}

void PressKeyWith(XSession& session, const char* modifier, const char* keysym)
{
    KeyCode held = XKeysymToKeycode(session.display, XStringToKeysym(modifier));
    XTestFakeKeyEvent(session.display, held, True, CurrentTime);
    XFlush(session.display);
    Pause(50);
    PressKey(session, keysym);
    XTestFakeKeyEvent(session.display, held, False, CurrentTime);
    XFlush(session.display);
}

void MovePointer(XSession& session, int32_t x, int32_t y)
{
    XTestFakeMotionEvent(session.display, DefaultScreen(session.display), x, y, CurrentTime);
    XFlush(session.display);
}

void SetButton(XSession& session, int32_t button, bool down)
{
    XTestFakeButtonEvent(session.display, unsigned(button), down ? True : False, CurrentTime);
    XFlush(session.display);
}

void FocusNothing(XSession& session)
{
    XSetInputFocus(session.display, None, RevertToNone, CurrentTime);
    XFlush(session.display);
}

void FocusWindow(XSession& session, WindowId window)
{
    XSetInputFocus(session.display, window, RevertToNone, CurrentTime);
    XFlush(session.display);
}

void ResizeWindow(XSession& session, WindowId window, int32_t width, int32_t height)
{
    XResizeWindow(session.display, window, unsigned(width), unsigned(height));
    XFlush(session.display);
}

bool PointerIsFree(XSession& session)
{
    int result =
        XGrabPointer(session.display, DefaultRootWindow(session.display), False, ButtonPressMask,
                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
    if (result == GrabSuccess)
        XUngrabPointer(session.display, CurrentTime);
    XSync(session.display, False);
    return result == GrabSuccess;
}

std::vector<uint32_t> ScreenPixels(XSession& session, int32_t& width, int32_t& height)
{
    Window root = DefaultRootWindow(session.display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(session.display, root, &attributes);
    width = attributes.width;
    height = attributes.height;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    XImage* image = XGetImage(session.display, root, 0, 0, unsigned(width), unsigned(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels[size_t(y) * size_t(width) + size_t(x)] =
                uint32_t(XGetPixel(image, x, y)) & 0xFFFFFF;
    XDestroyImage(image);
    return pixels;
}

void WindowSize(XSession& session, Window window, int32_t& width, int32_t& height)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(session.display, window, &attributes);
    width = attributes.width;
    height = attributes.height;
}
