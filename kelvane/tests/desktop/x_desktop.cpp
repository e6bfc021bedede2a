#include "kelvane/tests/desktop/x_desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace desktop {

namespace {

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            int keepFd = -1) {
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    for (const std::string& e : env)
        ::putenv(const_cast<char*>(e.c_str()));
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 1);
    ::dup2(null, 2);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            ::close(fd);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

void EndProcess(pid_t& pid) {
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(20ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

bool OnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

QString TitleOf(Display* d, Window w) {
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &n, &after,
                           &data) == Success &&
        data && n) {
        QString t = QString::fromUtf8(reinterpret_cast<char*>(data), int(n));
        XFree(data);
        return t;
    }
    if (data)
        XFree(data);
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        QString t = QString::fromLocal8Bit(name);
        XFree(name);
        return t;
    }
    return QString();
}

// Client windows carry WM_STATE once the manager took them.
bool IsClient(Display* d, Window w) {
    const Atom wmState = XInternAtom(d, "WM_STATE", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    const bool has = XGetWindowProperty(d, w, wmState, 0, 2, False, AnyPropertyType, &type, &format,
                                        &n, &after, &data) == Success &&
                     type != None;
    if (data)
        XFree(data);
    return has;
}

std::string ClassOf(Display* d, Window w) {
    XClassHint hint{};
    if (!XGetClassHint(d, w, &hint))
        return std::string();
    std::string name = hint.res_name ? hint.res_name : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

void Collect(Display* d, Window w, std::vector<ShownWindow>& out) {
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n))
        return;
    for (unsigned i = 0; i < n; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a) || a.map_state != IsViewable)
            continue;
        if (w == DefaultRootWindow(d) && a.override_redirect && a.width > 1 && a.height > 1) {
            ShownWindow s;
            s.id = children[i];
            s.title = TitleOf(d, children[i]);
            s.rect = QRect(a.x, a.y, a.width, a.height);
            s.overlay = true;
            s.wmClass = ClassOf(d, children[i]);
            out.push_back(s);
        } else if (IsClient(d, children[i])) {
            ShownWindow s;
            s.id = children[i];
            s.title = TitleOf(d, children[i]);
            int x = 0, y = 0;
            Window child;
            XTranslateCoordinates(d, children[i], root, 0, 0, &x, &y, &child);
            s.rect = QRect(x, y, a.width, a.height);
            s.wmClass = ClassOf(d, children[i]);
            out.push_back(s);
        } else {
            Collect(d, children[i], out);
        }
    }
    if (children)
        XFree(children);
}

// Windows come and go while the tree is read: a window gone by the time it is asked about is
// no failure of the test.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

uint32_t Big32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// A 24- or 32-bit TrueColor dump as xwd writes it.
QImage ParseXwd(const std::string& bytes) {
    if (bytes.size() < 100)
        return QImage();
    const auto* h = reinterpret_cast<const unsigned char*>(bytes.data());
    auto field = [&](int i) { return Big32(h + 4 * i); };
    const uint32_t headerSize = field(0), width = field(4), height = field(5);
    const uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
    const uint32_t ncolors = field(19);
    const size_t start = size_t(headerSize) + size_t(ncolors) * 12;
    if (bitsPerPixel != 32 || start + size_t(bytesPerLine) * height > bytes.size())
        return QImage();
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (uint32_t y = 0; y < height; ++y) {
        const auto* row = h + start + size_t(y) * bytesPerLine;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = row + 4 * x;
            const uint32_t v = byteOrder == 0 ? uint32_t(p[0]) | uint32_t(p[1]) << 8 |
                                                    uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                                              : Big32(p);
            out[x] = qRgb(int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF);
        }
    }
    return image;
}

KeySym SymOf(const std::string& name) {
    if (name.size() == 1) {
        static const struct {
            char c;
            const char* sym;
        } kPunctuation[] = {{'/', "slash"},      {'.', "period"},     {'-', "minus"},
                            {'_', "underscore"}, {' ', "space"},      {':', "colon"},
                            {',', "comma"},      {'~', "asciitilde"}, {'\\', "backslash"}};
        for (const auto& p : kPunctuation)
            if (p.c == name[0])
                return XStringToKeysym(p.sym);
    }
    return XStringToKeysym(name.c_str());
}

} // namespace

XDesktop::~XDesktop() {
    Stop();
}

bool XDesktop::Start(int width, int height) {
    if (!OnPath("Xvfb") || !OnPath("openbox") || !OnPath("xwd")) {
        m_why = "Xvfb, openbox or xwd is not installed";
        return false;
    }
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // The server says which display it took once it listens: no race for a number.
    m_server = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                      "-nolisten", "tcp", "-noreset"},
                     {}, fds[1]);
    ::close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 20000) > 0) {
        char c;
        if (::read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    if (number.empty()) {
        m_why = "Xvfb did not come up";
        return false;
    }
    m_name = ":" + number;
    XSetErrorHandler(IgnoreXError);
    m_display = XOpenDisplay(m_name.c_str());
    if (!m_display) {
        m_why = "cannot open " + m_name;
        return false;
    }
    int event, error, major, minor;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        m_why = "no XTest on " + m_name;
        return false;
    }
    m_manager = Spawn({"openbox"}, {"DISPLAY=" + m_name});
    // The manager is up once it owns the screen's manager selection.
    const Atom wmSelection = XInternAtom(m_display, "WM_S0", False);
    for (int i = 0; i < 500; ++i) {
        if (XGetSelectionOwner(m_display, wmSelection) != None)
            return true;
        std::this_thread::sleep_for(20ms);
    }
    m_why = "openbox did not take the screen";
    return false;
}

void XDesktop::Stop() {
    EndProcess(m_manager);
    if (m_display) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    EndProcess(m_server);
}

void XDesktop::KillServer() {
    if (m_display) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
    if (m_server > 0) {
        ::kill(m_server, SIGKILL);
        ::waitpid(m_server, nullptr, 0);
        m_server = -1;
    }
}

void XDesktop::Key(const std::string& combo, std::chrono::milliseconds delay) {
    if (!m_display)
        return;
    std::vector<KeyCode> held;
    std::string rest = combo;
    for (;;) {
        const size_t plus = rest.find('+');
        if (plus == std::string::npos || plus == 0 || rest.size() == 1)
            break;
        const std::string mod = rest.substr(0, plus);
        rest = rest.substr(plus + 1);
        const char* sym = mod == "ctrl"    ? "Control_L"
                          : mod == "alt"   ? "Alt_L"
                          : mod == "shift" ? "Shift_L"
                                           : mod.c_str();
        held.push_back(XKeysymToKeycode(m_display, XStringToKeysym(sym)));
    }
    const KeySym sym = SymOf(rest);
    const KeyCode code = XKeysymToKeycode(m_display, sym);
    // A character on the shifted level of its key needs shift.
    if (XkbKeycodeToKeysym(m_display, code, 0, 0) != sym &&
        XkbKeycodeToKeysym(m_display, code, 0, 1) == sym)
        held.push_back(XKeysymToKeycode(m_display, XStringToKeysym("Shift_L")));
    auto send = [&](KeyCode c, bool down) {
        XTestFakeKeyEvent(m_display, c, down, CurrentTime);
        XSync(m_display, False);
        std::this_thread::sleep_for(delay);
    };
    for (KeyCode c : held)
        send(c, true);
    send(code, true);
    send(code, false);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        send(*it, false);
}

void XDesktop::Type(const std::string& text) {
    for (char c : text)
        Key(std::string(1, c), 5ms);
}

void XDesktop::MoveTo(int x, int y) {
    if (!m_display)
        return;
    XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
    XSync(m_display, False);
    std::this_thread::sleep_for(30ms);
}

void XDesktop::Click(int x, int y, int button) {
    if (!m_display)
        return;
    MoveTo(x, y);
    XTestFakeButtonEvent(m_display, unsigned(button), True, CurrentTime);
    XSync(m_display, False);
    std::this_thread::sleep_for(30ms);
    XTestFakeButtonEvent(m_display, unsigned(button), False, CurrentTime);
    XSync(m_display, False);
    std::this_thread::sleep_for(30ms);
}

std::vector<ShownWindow> XDesktop::Windows() const {
    std::vector<ShownWindow> out;
    if (m_display)
        Collect(m_display, DefaultRootWindow(m_display), out);
    return out;
}

bool XDesktop::WaitForWindow(const QString& part, ShownWindow* found,
                             std::chrono::milliseconds bound) const {
    const auto end = std::chrono::steady_clock::now() + bound;
    do {
        const std::vector<ShownWindow> shown = Windows();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->title.contains(part)) {
                if (found)
                    *found = *it;
                Settle();
                return true;
            }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

bool XDesktop::WaitUntilGone(const QString& part, std::chrono::milliseconds bound) const {
    const auto end = std::chrono::steady_clock::now() + bound;
    do {
        if (!HasWindow(part))
            return true;
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

namespace {

Window ActiveWindow(Display* display) {
    const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    Window w = None;
    if (XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False, XA_WINDOW,
                           &type, &format, &n, &after, &data) == Success &&
        data && n == 1)
        w = *reinterpret_cast<Window*>(data);
    if (data)
        XFree(data);
    return w;
}

// Whether the X server sends key presses to the window (to it or one of its own windows): the
// manager may name a window active a moment before the focus reaches it.
bool HoldsFocus(Display* display, Window top) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    for (Window w = focus; w != None && w != PointerRoot;) {
        if (w == top)
            return true;
        Window root = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, w, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        if (parent == root)
            return false;
        w = parent;
    }
    return false;
}

} // namespace

QString XDesktop::ActiveTitle() const {
    if (!m_display)
        return QString();
    const Window w = ActiveWindow(m_display);
    return w == None ? QString() : TitleOf(m_display, w);
}

bool XDesktop::WaitUntilActive(const QString& part, std::chrono::milliseconds bound) const {
    const auto end = std::chrono::steady_clock::now() + bound;
    do {
        const Window w = m_display ? ActiveWindow(m_display) : None;
        if (w != None && TitleOf(m_display, w).contains(part) && HoldsFocus(m_display, w)) {
            Settle();
            return true;
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

bool XDesktop::HasWindow(const QString& part) const {
    for (const ShownWindow& w : Windows())
        if (w.title.contains(part))
            return true;
    return false;
}

void XDesktop::CloseWithManager(const ShownWindow& window) {
    if (!m_display)
        return;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window.id;
    e.xclient.message_type = XInternAtom(m_display, "_NET_CLOSE_WINDOW", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = CurrentTime;
    e.xclient.data.l[1] = 2; // a pager or the person, not the application
    XSendEvent(m_display, DefaultRootWindow(m_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XSync(m_display, False);
}

QImage XDesktop::Screen() const {
    const std::string command = "xwd -root -silent -display " + m_name;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return QImage();
    std::string bytes;
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        bytes.append(buffer, n);
    ::pclose(pipe);
    return ParseXwd(bytes);
}

QImage XDesktop::Picture(const ShownWindow& window) const {
    if (!m_display || window.rect.isEmpty())
        return QImage();
    XImage* x = XGetImage(m_display, window.id, 0, 0, unsigned(window.rect.width()),
                          unsigned(window.rect.height()), AllPlanes, ZPixmap);
    if (!x)
        return QImage();
    QImage image(window.rect.width(), window.rect.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int xx = 0; xx < image.width(); ++xx) {
            const unsigned long v = XGetPixel(x, xx, y);
            image.setPixel(xx, y, qRgb(int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF));
        }
    XDestroyImage(x);
    return image;
}

double SameFraction(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 0;
    long same = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            same += (a.pixel(x, y) & 0xFFFFFF) == (b.pixel(x, y) & 0xFFFFFF);
    return double(same) / (double(a.width()) * a.height());
}

bool MostlyBlack(const QImage& image) {
    if (image.isNull())
        return true;
    long black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            black += (image.pixel(x, y) & 0xFFFFFF) == 0;
    return black > long(0.95 * double(image.width()) * image.height());
}

double CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    // The name in brackets may hold blanks: the fields after it are counted from there.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string f;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14)
            utime = std::stoull(f);
        if (i == 15)
            stime = std::stoull(f);
    }
    return double(utime + stime) / double(::sysconf(_SC_CLK_TCK));
}

} // namespace desktop
