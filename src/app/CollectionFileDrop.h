#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

class QEvent;
class QMimeData;
class QWidget;

namespace ludora {

// The collection file a drag carries: exactly one local file, not a folder, whose name ends
// in .LDX (in any letter case), or a file that Ludora imports (told by its content or its
// name, see interchange::isImportable()). Empty for anything else: several files, other
// files, folders, remote addresses, text.
QString draggedCollectionFile(const QMimeData* data);

// Lets widgets take a collection file dropped on them. The drop is accepted as a copy, never
// as a move, so that the file manager leaves the file where it is; the file is then handed
// to `open` once the drop has returned (a message box inside the drop would hold up the
// file manager's drag). Any other drag is refused on a widget that takes nothing else, and
// left to the widget itself on one that takes text.
class CollectionFileDrop final : public QObject {
    Q_OBJECT

public:
    CollectionFileDrop(QWidget* owner, std::function<void(const QString& path)> open);

    // Watches a widget: it takes collection files. With `takesText` the widget's own
    // dropping of text stays as it was.
    void watch(QWidget* widget, bool takesText = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> open_;
    QSet<const QObject*> takeText_;
};

}  // namespace ludora
