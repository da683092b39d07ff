#pragma once

#include <QPointer>
#include <QWidget>

namespace ludora::platform {

// Shows a window and brings it to the front: out of its minimised state, raised and active.
void bringToFront(QWidget* window);

// The one window of a kind. It counts as open while it is shown; once closed it is
// forgotten, even while it lingers until the event loop deletes it.
template <class Window>
class SingleWindow {
public:
    Window* open() const { return window_ && window_->isVisible() ? window_.data() : nullptr; }

    // Brings the open window to the front, or one that make() creates and loads.
    template <class Make>
    Window* show(Make&& make) {
        Window* window = open();
        if (!window) {
            window = make();
            window_ = window;
        }
        bringToFront(window);
        return window;
    }

private:
    QPointer<Window> window_;
};

}  // namespace ludora::platform
