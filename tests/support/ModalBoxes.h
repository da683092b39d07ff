#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ludora::test {

// Runs the action once on the next modal box or dialog that opens, from inside that box's
// own event loop, as a user (or assistive technology) acting while it is open would.
// A box already open can be passed to be passed over. Deleting the returned timer calls it off.
inline QTimer* whenModalBoxOpens(std::function<void(QWidget* box)> action,
                                 const QWidget* passOver = nullptr) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, passOver, action = std::move(action)] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box == passOver || !box->isVisible()) {
            return;
        }
        // The action may spin loops of its own: it runs from a copy, the timer goes later.
        const std::function<void(QWidget*)> act = action;
        poll->stop();
        poll->deleteLater();
        act(box);
    });
    poll->start();
    return poll;
}

}  // namespace ludora::test
