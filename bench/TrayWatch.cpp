#include "bench/TrayWatch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <thread>

namespace velmar::bench {

namespace {

Display* AsDisplay(void* display) {
    return static_cast<Display*>(display);
}

// Errors for windows that vanish between two requests are expected here.
int IgnoreErrors(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}

// The window whose WM_CLASS is ("panel", "trayer"), searched depth first.
Window FindPanel(Display* display, Window window) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) != 0) {
        const bool isPanel = hint.res_name != nullptr && hint.res_class != nullptr &&
                             std::strcmp(hint.res_name, "panel") == 0 &&
                             std::strcmp(hint.res_class, "trayer") == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (isPanel) {
            return window;
        }
    }
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        found = FindPanel(display, children[i]);
    }
    XFree(children);
    return found;
}

// Whether a viewable window shows more than one colour.
bool IsDrawn(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable ||
        attributes.width < 4 || attributes.height < 4) {
        return false;
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return false;
    }
    const unsigned long first = XGetPixel(image, 0, 0);
    bool varied = false;
    for (int y = 0; y < attributes.height && !varied; ++y) {
        for (int x = 0; x < attributes.width && !varied; ++x) {
            varied = XGetPixel(image, x, y) != first;
        }
    }
    XDestroyImage(image);
    return varied;
}

} // namespace

TrayWatch::TrayWatch() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    XSetErrorHandler(&IgnoreErrors);
    m_Display = display;
    m_Panel = FindPanel(display, DefaultRootWindow(display));
}

TrayWatch::~TrayWatch() {
    if (m_Display != nullptr) {
        XCloseDisplay(AsDisplay(m_Display));
    }
}

int TrayWatch::IconState() const {
    Display* display = AsDisplay(m_Display);
    // The panel holds one socket window per icon, and the icon's own window inside it.
    Window root = 0;
    Window parent = 0;
    Window* sockets = nullptr;
    unsigned int socketCount = 0;
    if (XQueryTree(display, m_Panel, &root, &parent, &sockets, &socketCount) == 0) {
        return -1;
    }
    int state = -1;
    for (unsigned int i = 0; i < socketCount && state < 1; ++i) {
        Window* icons = nullptr;
        unsigned int iconCount = 0;
        if (XQueryTree(display, sockets[i], &root, &parent, &icons, &iconCount) == 0) {
            continue;
        }
        for (unsigned int k = 0; k < iconCount && state < 1; ++k) {
            state = IsDrawn(display, icons[k]) ? 1 : 0;
        }
        XFree(icons);
    }
    XFree(sockets);
    return state;
}

bool TrayWatch::WaitForDrawnIcon(std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (IconState() == 1) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

bool TrayWatch::WaitUntilEmpty(std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (IconState() == -1) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

} // namespace velmar::bench
