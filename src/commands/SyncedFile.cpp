#include "commands/SyncedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtConcurrent>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/FileRecord.h"
#include "collection/Merge.h"
#include "platform/Dialogs.h"

namespace ludora {
namespace {

QString fileNameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

// Reads a file to merge; tells the user when it cannot be read.
std::unique_ptr<Collection> readToMerge(const QString& path, QWidget* window) {
    auto theirs = std::make_unique<Collection>();
    const ReadResult read = ReadCollectionFile(*theirs, path);
    if (!read.ok) {
        platform::inform(window, read.error, platform::Icon::Critical);
        return nullptr;
    }
    return theirs;
}

platform::MessageRequest question(const QString& prompt, platform::ButtonSet buttons) {
    platform::MessageRequest request;
    request.prompt = prompt;
    request.buttons = buttons;
    request.defaultButton = platform::Button::Yes;
    request.closable = true;
    return request;
}

}  // namespace

void rememberFile(Collection& collection, std::shared_ptr<QFile> held) {
    if (!held) {
        collection.setFileRecord(nullptr);
        return;
    }
    auto record = std::make_shared<FileRecord>();
    record->content = collection.snapshot();
    record->fingerprint =
        QtConcurrent::run([held = std::move(held)] { return fileFingerprint(*held); });
    collection.setFileRecord(std::move(record));
}

BeforeSave checkBeforeSave(Collection& collection, QWidget* window) {
    const std::shared_ptr<const FileRecord> record = collection.fileRecord();
    if (!record) {
        return BeforeSave::Write;  // nothing known to compare with
    }
    const quint64 known = record->fingerprint.result();
    const quint64 now = fileFingerprint(collection.fileName());
    // A file that could not be read, then or now, is written as before.
    if (known == 0 || now == 0 || known == now) {
        return BeforeSave::Write;
    }
    const QString name = fileNameOf(collection.fileName());
    switch (platform::dialogs().message(
        window, question(QStringLiteral("%1 was changed by another program after Ludora opened "
                                        "it. Merge its games into this collection?")
                             .arg(name),
                         platform::ButtonSet::YesNoCancel))) {
        case platform::Button::Yes:
            break;
        case platform::Button::No:
            return BeforeSave::Write;
        default:
            return BeforeSave::Cancelled;
    }
    std::unique_ptr<Collection> theirs = readToMerge(collection.fileName(), window);
    if (!theirs) {
        return BeforeSave::Failed;
    }
    const MergeResult merged = mergeCollections(collection, *theirs, record->content.get());
    collection.setDirty(true);
    // The file holds their collection now: the base of a later merge.
    auto updated = std::make_shared<FileRecord>();
    updated->content = std::shared_ptr<const Collection>(std::move(theirs));
    updated->fingerprint = QtFuture::makeReadyFuture(now);
    collection.setFileRecord(std::move(updated));
    platform::inform(window,
                     QStringLiteral("The games of %1 were merged into this collection, which is "
                                    "not saved yet:\n%2")
                         .arg(name, mergeSummary(collection, merged)),
                     platform::Icon::Information);
    return BeforeSave::Merged;
}

QStringList conflictCopies(const QString& path) {
    const QFileInfo file(path);
    const QString extension =
        file.suffix().isEmpty() ? QString() : u'.' + QRegularExpression::escape(file.suffix());
    const QRegularExpression copy(
        u'^' + QRegularExpression::escape(file.completeBaseName()) +
        QStringLiteral("(\\.sync-conflict-.*| \\(.*conflicted copy.*\\))(?i:%1)$").arg(extension));
    QStringList copies;
    for (const QString& name : file.dir().entryList(QDir::Files, QDir::Name)) {
        if (name != file.fileName() && copy.match(name).hasMatch()) {
            copies << file.dir().filePath(name);
        }
    }
    return copies;
}

void offerConflictCopies(Collection& collection, QWidget* window) {
    const QString name = fileNameOf(collection.fileName());
    for (const QString& copy : conflictCopies(collection.fileName())) {
        const QString copyName = fileNameOf(copy);
        if (platform::dialogs().message(
                window, question(QStringLiteral("A copy of %1 saved on another machine was "
                                                "found: %2. Merge its games into this collection?")
                                     .arg(name, copyName),
                                 platform::ButtonSet::YesNo)) != platform::Button::Yes) {
            continue;
        }
        const std::unique_ptr<Collection> theirs = readToMerge(copy, window);
        if (!theirs) {
            continue;
        }
        const MergeResult merged = mergeCollections(collection, *theirs);
        collection.setDirty(true);
        platform::inform(window,
                         QStringLiteral("The games of %1 were merged into this collection, which "
                                        "is not saved yet:\n%2\n\nLudora leaves %1 as it is: "
                                        "you may delete it once the collection is saved.")
                             .arg(copyName, mergeSummary(collection, merged)),
                         platform::Icon::Information);
    }
}

}  // namespace ludora
