// The floor for the start-up benchmark: plain Xlib windows with what a note window asks of the
// window manager and nothing else. Reads one window a line from standard input,
// "x y width height title", creates them all, maps them and then draws one line of text in each
// whenever it is exposed, until it is killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

// Motif hints with only the decorations field set, and that to none: frameless.
struct MotifHints {
    unsigned long flags = 2;
    unsigned long functions = 0;
    unsigned long decorations = 0;
    long inputMode = 0;
    unsigned long status = 0;
};

}  // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bare_notes: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom skipTaskbar = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
    const Atom skipPager = XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False);
    const Atom userTime = XInternAtom(display, "_NET_WM_USER_TIME", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const GC gc = DefaultGC(display, screen);

    std::unordered_map<Window, std::string> titles;
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        int x = 0, y = 0, width = 0, height = 0, consumed = 0;
        if (std::sscanf(line, "%d %d %d %d %n", &x, &y, &width, &height, &consumed) < 4 ||
            width <= 0 || height <= 0)
            continue;
        std::string title(line + consumed);
        while (!title.empty() && (title.back() == '\n' || title.back() == '\r'))
            title.pop_back();

        XSetWindowAttributes attributes{};
        attributes.background_pixel = 0xfff7a0;  // a note's yellow
        attributes.event_mask = ExposureMask | StructureNotifyMask;
        const Window window = XCreateWindow(
            display, root, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
            CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
        XSizeHints size{};
        size.flags = USPosition | USSize | PPosition | PSize;
        size.x = x;
        size.y = y;
        size.width = width;
        size.height = height;
        XWMHints wm{};
        wm.flags = InputHint | StateHint;
        wm.input = True;
        wm.initial_state = NormalState;
        XClassHint klass{const_cast<char*>("bare_notes"), const_cast<char*>("BareNotes")};
        XTextProperty name{};
        char* titleText = title.data();
        XStringListToTextProperty(&titleText, 1, &name);
        XSetWMProperties(display, window, &name, &name, nullptr, 0, &size, &wm, &klass);
        XFree(name.value);
        XChangeProperty(display, window, netName, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
        MotifHints hints;
        XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&hints), 5);
        Atom states[] = {skipTaskbar, skipPager};
        XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(states), 2);
        // A user time of 0 asks the window manager to map the window without focusing it.
        long never = 0;
        XChangeProperty(display, window, userTime, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&never), 1);
        Atom protocols[] = {deleteWindow};
        XSetWMProtocols(display, window, protocols, 1);
        XMapWindow(display, window);
        titles.emplace(window, std::move(title));
    }
    XFlush(display);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != Expose || event.xexpose.count != 0)
            continue;
        const auto found = titles.find(event.xexpose.window);
        if (found != titles.end())
            XDrawString(display, found->first, gc, 8, 16, found->second.c_str(),
                        static_cast<int>(found->second.size()));
    }
}
