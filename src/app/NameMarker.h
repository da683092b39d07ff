#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QAction;
class QLineEdit;

namespace ludora {

class Collection;
class FindIndex;

// The sign in the name box that the name being typed is already in the collection: a small
// icon at the box's right end, whose tooltip, like the box's accessible description, reads
// "Already in CAPTION: NAME" (the first such name in tab order, "and N more" when there are
// others). A click on it calls `find` with the box's text. It follows the box's text and
// the collection; what is typed is added as typed, marker or not.
class NameMarker final : public QObject {
    Q_OBJECT

public:
    NameMarker(QLineEdit* box, const Collection& collection, std::function<FindIndex&()> index,
               std::function<void(const QString&)> find);

private:
    void update();

    QLineEdit* box_;
    const Collection& collection_;
    std::function<FindIndex&()> index_;
    QAction* marker_;
    QTimer again_;  // the collection changed: looked at once the change is over
};

}  // namespace ludora
