#include "commands/FileCommands.h"

#include <array>
#include <functional>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/FileRecord.h"
#include "commands/SyncedFile.h"
#include "interchange/Interchange.h"
#include "platform/Dialogs.h"

namespace ludora {
namespace {

const QString kFilter = QStringLiteral("Ludora (*.LDX)|*.LDX");

void clearAllLists(Collection& collection) {
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        collection.clearNames(tab);
    }
}

const platform::MessageRequest kCloseQuestion{
    QStringLiteral("Save changes?"), QStringLiteral("Close List"), platform::ButtonSet::YesNoCancel,
    platform::Button::Yes};

// Said of a file that is too short for a collection file, since it may be meant for import.
const QString kNotImportable = QStringLiteral(
    "Nor is it a file Ludora imports: a Tellico file (.tc or XML), a GCstar collection, a CSV "
    "file with a title and a platform column, or ldxtool's JSON or CSV export.");

void reportFailure(QWidget* window, const QString& text) {
    platform::inform(window, text, platform::Icon::Critical);
}

// The captions and the dirty flag, as Open found them once Close had run.
class CaptionsAndDirty {
public:
    explicit CaptionsAndDirty(const Collection& collection) : dirty_(collection.isDirty()) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            captions_[size_t(tab)] = collection.caption(tab);
        }
    }
    void restore(Collection& collection) const {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            collection.setCaption(tab, captions_[size_t(tab)]);
        }
        collection.setDirty(dirty_);
    }

private:
    std::array<QString, Collection::kTabCount> captions_;
    bool dirty_;
};

}  // namespace

Outcome saveCollectionAs(Collection& collection, QWidget* window) {
    const QString path = platform::dialogs().saveFileName(
        window, platform::FileRequest{QStringLiteral("Save As"), kFilter});
    if (path.isEmpty()) {
        return Outcome::Cancelled;
    }
    // The path becomes the current file only once the file is really written, so that a
    // failed save leaves the file name and the unsaved changes as they were.
    const WriteResult written = WriteCollectionFile(collection, path);
    if (!written.ok) {
        reportFailure(window, written.error);
        return Outcome::Failed;
    }
    collection.setFileName(path);
    collection.setDirty(false);
    rememberFile(collection, holdFile(path));
    return Outcome::Done;
}

Outcome closeCollection(Collection& collection, QWidget* window) {
    if (collection.fileName().isEmpty()) {
        return Outcome::Done;
    }
    if (collection.isDirty()) {
        switch (platform::dialogs().message(window, kCloseQuestion)) {
            case platform::Button::Yes: {
                switch (checkBeforeSave(collection, window)) {
                    case BeforeSave::Merged:
                        return Outcome::Stopped;
                    case BeforeSave::Cancelled:
                        return Outcome::Cancelled;
                    case BeforeSave::Failed:
                        return Outcome::Failed;
                    case BeforeSave::Write:
                        break;
                }
                const WriteResult written = WriteCollectionFile(collection, collection.fileName());
                if (!written.ok) {
                    // The names stay, still marked as unsaved.
                    reportFailure(window, written.error);
                    return Outcome::Failed;
                }
                rememberFile(collection, holdFile(collection.fileName()));
                break;
            }
            case platform::Button::No:
                break;
            default:
                return Outcome::Cancelled;
        }
    }
    clearAllLists(collection);
    collection.setDirty(false);
    return Outcome::Done;
}

namespace {

// Takes the games of another program's file, or of Ludora's own JSON or CSV, as a new
// collection that is not saved and has no file name: the file itself is never written.
Outcome importFile(Collection& collection, QWidget* window, const QString& path) {
    const interchange::ImportResult imported = interchange::importCollection(path);
    if (!imported.ok()) {
        reportFailure(window, imported.error);
        return Outcome::Failed;
    }
    collection.takeContent(*imported.collection);
    collection.setFileName(QString());
    collection.setDirty(true);
    collection.setFileRecord(nullptr);
    platform::inform(
        window, interchange::summaryText(imported),
        imported.unplacedCount == 0 ? platform::Icon::Information : platform::Icon::Warning);
    return Outcome::Done;
}

// Reads a collection file into the collection, which then belongs to it.
Outcome readFile(Collection& collection, QWidget* window, const QString& path) {
    // Read into a collection of its own: a file that cannot be read changes nothing.
    Collection loaded;
    std::shared_ptr<QFile> held = holdFile(path);
    const ReadResult read = ReadCollectionFile(loaded, path);
    if (!read.ok) {
        reportFailure(window, read.tooShort ? read.error + u' ' + kNotImportable : read.error);
        return Outcome::Failed;
    }
    collection.setFileName(path);
    collection.takeContent(loaded);
    rememberFile(collection, std::move(held));
    if (read.refusedTotal() > 0) {
        platform::inform(window, read.refusedMessage(collection), platform::Icon::Warning);
    }
    offerConflictCopies(collection, window);
    return Outcome::Done;
}

// Open's steps from the dialog on, with the path that choosePath() gives (an empty path
// counts as a cancelled dialog). A file that cannot be read or imported leaves the names,
// their captions and the dirty flag as they were before the dialog.
Outcome openChosen(Collection& collection, QWidget* window,
                   const std::function<QString()>& choosePath) {
    const CaptionsAndDirty before(collection);
    collection.setDirty(false);
    collection.resetCaptions();
    const QString path = choosePath();
    if (path.isEmpty()) {
        return Outcome::Cancelled;
    }
    const Outcome outcome = interchange::isImportable(path) ? importFile(collection, window, path)
                                                            : readFile(collection, window, path);
    if (outcome == Outcome::Failed) {
        before.restore(collection);
    }
    return outcome;
}

}  // namespace

Outcome openCollection(Collection& collection, QWidget* window) {
    // Whatever Close is told, Open goes on; but when the user asked to save and the file
    // could not be written, or another machine's changes were merged instead, the unsaved
    // names must not be thrown away by what follows.
    if (collection.isDirty()) {
        const Outcome closed = closeCollection(collection, window);
        if (closed == Outcome::Failed || closed == Outcome::Stopped) {
            return closed;
        }
    }
    return openChosen(collection, window, [window] {
        return platform::dialogs().openFileName(
            window, platform::FileRequest{QStringLiteral("Open"), kFilter});
    });
}

Outcome openCollectionFile(Collection& collection, QWidget* window, const QString& path) {
    if (collection.isDirty()) {
        Outcome kept = Outcome::Done;
        if (!collection.fileName().isEmpty()) {
            kept = closeCollection(collection, window);
        } else {
            switch (platform::dialogs().message(window, kCloseQuestion)) {
                case platform::Button::Yes:
                    kept = saveCollectionAs(collection, window);
                    break;
                case platform::Button::No:
                    break;
                default:
                    kept = Outcome::Cancelled;
            }
        }
        if (kept != Outcome::Done) {
            return kept;
        }
    }
    return openChosen(collection, window, [&path] { return path; });
}

}  // namespace ludora
