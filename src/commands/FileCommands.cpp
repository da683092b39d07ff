#include "commands/FileCommands.h"

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "platform/Dialogs.h"

namespace ludora {
namespace {

const QString kFilter = QStringLiteral("Ludora (*.LDX)|*.LDX");

void clearAllLists(Collection& collection) {
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        collection.clearNames(tab);
    }
}

void reportFailure(QWidget* window, const QString& text) {
    platform::inform(window, text, platform::Icon::Critical);
}

}  // namespace

bool mnuFileSaveAs_Click(Collection& collection, QWidget* window) {
    const QString path = platform::dialogs().saveFileName(
        window, platform::FileRequest{QStringLiteral("Save As"), kFilter});
    if (path.isEmpty()) {
        return false;
    }
    // The path becomes the current file only once the file is really written, so that a
    // failed save leaves the file name and the unsaved changes as they were.
    const WriteResult written = WriteCollectionFile(collection, path);
    if (!written.ok) {
        reportFailure(window, written.error);
        return false;
    }
    collection.setFileName(path);
    collection.setDirty(false);
    return true;
}

void mnuFileClose_Click(Collection& collection, QWidget* window) {
    if (collection.fileName().isEmpty()) {
        return;
    }
    if (collection.isDirty()) {
        platform::MessageRequest question;
        question.prompt = QStringLiteral("Save changes?");
        question.title = QStringLiteral("Close List");
        question.buttons = platform::ButtonSet::YesNoCancel;
        question.defaultButton = platform::Button::Yes;
        switch (platform::dialogs().message(window, question)) {
            case platform::Button::Yes: {
                const WriteResult written = WriteCollectionFile(collection, collection.fileName());
                if (!written.ok) {
                    // The names stay, still marked as unsaved.
                    reportFailure(window, written.error);
                    return;
                }
                break;
            }
            case platform::Button::No:
                break;
            default:
                return;
        }
    }
    clearAllLists(collection);
    collection.setDirty(false);
}

void mnuFileOpen_Click(Collection& collection, QWidget* window) {
    if (collection.isDirty()) {
        // Whatever Close does or is told, Open goes on.
        mnuFileClose_Click(collection, window);
    }
    collection.setDirty(false);
    collection.resetCaptions();
    const QString path = platform::dialogs().openFileName(
        window, platform::FileRequest{QStringLiteral("Open"), kFilter});
    if (path.isEmpty()) {
        return;
    }
    // Read into a collection of its own: a file that cannot be read leaves everything as the
    // dialog found it.
    Collection loaded;
    const ReadResult read = ReadCollectionFile(loaded, path);
    if (!read.ok) {
        reportFailure(window, read.error);
        return;
    }
    collection.setFileName(path);
    collection.takeContent(loaded);
    if (read.refusedTotal() > 0) {
        platform::inform(window, read.refusedMessage(collection), platform::Icon::Warning);
    }
}

}  // namespace ludora
