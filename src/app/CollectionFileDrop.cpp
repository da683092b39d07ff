#include "app/CollectionFileDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "interchange/Interchange.h"

namespace ludora {
namespace {

// Opening a file copies nothing and moves nothing: a copy (or a link) is what it asks for.
bool chooseAction(QDropEvent* event) {
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (event->possibleActions() & action) {
            event->setDropAction(action);
            return true;
        }
    }
    return false;
}

}  // namespace

QString draggedCollectionFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) {
        return QString();
    }
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile()) {
        return QString();
    }
    const QFileInfo file(url.toLocalFile());
    // Collection files, and the files that Ludora imports.
    if (file.isDir() || (file.suffix().compare(QLatin1String("ldx"), Qt::CaseInsensitive) != 0 &&
                         !interchange::isImportable(file.absoluteFilePath()))) {
        return QString();
    }
    return file.absoluteFilePath();
}

CollectionFileDrop::CollectionFileDrop(QWidget* owner,
                                       std::function<void(const QString& path)> open)
    : QObject(owner), open_(std::move(open)) {}

void CollectionFileDrop::watch(QWidget* widget, bool takesText) {
    if (takesText) {
        takeText_.insert(widget);
    }
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool CollectionFileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = draggedCollectionFile(drop->mimeData());
    if (path.isEmpty() || !chooseAction(drop)) {
        if (takeText_.contains(watched)) {
            return false;
        }
        drop->ignore();
        return true;
    }
    drop->accept();
    if (type == QEvent::Drop) {
        QMetaObject::invokeMethod(
            this, [this, path] { open_(path); }, Qt::QueuedConnection);
    }
    return true;
}

}  // namespace ludora
