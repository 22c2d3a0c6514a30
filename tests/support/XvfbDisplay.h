#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

/// A virtual X display of its own (Xvfb, 1024 x 768, no window manager) for tests that need a real X
/// server; ended with the object. Check IsRunning: a machine without Xvfb has none.
class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool IsRunning() const { return !m_name.empty(); }
    /// The display's name for DISPLAY (":N").
    const std::string& Name() const { return m_name; }

    /// A window directly under the root, as another program on the display sees it.
    struct TopWindow {
        unsigned long id = 0;
        std::string name;
        int width = 0;
        int height = 0;
    };
    /// The named windows directly under the root.
    std::vector<TopWindow> TopWindows() const;
    /// Destroys a window as another program may.
    void DestroyWindow(unsigned long id) const;
    /// Ends the connection of the program that made a window, as `xkill` does.
    void KillClientOf(unsigned long id) const;

private:
    pid_t m_server = -1;
    std::string m_name;
};

} // namespace testsupport
