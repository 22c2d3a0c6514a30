#include "support/XvfbDisplay.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

XvfbDisplay::XvfbDisplay() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return;
    m_server = fork();
    if (m_server == 0) {
        // The server picks a free display and writes its number to the pipe once it takes connections.
        close(pipeFds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        const std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number;
    pollfd wait{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (m_server > 0 && poll(&wait, 1, 20000) == 1 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    if (!number.empty())
        m_name = ":" + number;
}

XvfbDisplay::~XvfbDisplay() {
    if (m_server <= 0)
        return;
    kill(m_server, SIGTERM);
    int status = 0;
    waitpid(m_server, &status, 0);
}

namespace {

/// Runs `act` on a connection of its own to the display, then waits for the server to have done it.
template <typename Act> void WithConnection(const std::string& name, Act act) {
    Display* display = XOpenDisplay(name.c_str());
    if (!display)
        return;
    act(display);
    XSync(display, False);
    XCloseDisplay(display);
}

} // namespace

std::vector<XvfbDisplay::TopWindow> XvfbDisplay::TopWindows() const {
    std::vector<TopWindow> found;
    WithConnection(m_name, [&](Display* display) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
            return;
        for (unsigned i = 0; i < count; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes{};
            if (XFetchName(display, children[i], &name) && name &&
                XGetWindowAttributes(display, children[i], &attributes))
                found.push_back({children[i], name, attributes.width, attributes.height});
            if (name)
                XFree(name);
        }
        if (children)
            XFree(children);
    });
    return found;
}

void XvfbDisplay::DestroyWindow(unsigned long id) const {
    WithConnection(m_name, [id](Display* display) { XDestroyWindow(display, id); });
}

void XvfbDisplay::KillClientOf(unsigned long id) const {
    WithConnection(m_name, [id](Display* display) { XKillClient(display, id); });
}

} // namespace testsupport
