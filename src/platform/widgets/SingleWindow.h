#pragma once

#include <QPointer>
#include <QWidget>

namespace ludora::platform {

// Shows a window and brings it to the front: out of its minimised state, raised and active.
void bringToFront(QWidget* window);

// The one window of a kind, a base of the window's class. It counts as open while it is
// shown; once closed it is forgotten, even while it lingers until the event loop deletes it.
// The window's class offers its own showWindow(), which calls the one here.
template <class Window>
class SingleWindow {
public:
    // The open window, or nullptr.
    static Window* openWindow() {
        return window_ && window_->isVisible() ? window_.data() : nullptr;
    }

protected:
    // Brings the open window to the front, or one that make() creates and loads.
    template <class Make>
    static Window* showWindow(Make&& make) {
        Window* window = openWindow();
        if (!window) {
            window = make();
            window_ = window;
        }
        bringToFront(window);
        return window;
    }

private:
    static inline QPointer<Window> window_;
};

}  // namespace ludora::platform
