#include "commands/RecoveryCopy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QGuiApplication>
#include <QLockFile>
#include <QSessionManager>
#include <QStandardPaths>

#include "collection/Collection.h"
#include "collection/RecoveryFile.h"
#include "platform/Dialogs.h"

namespace ludora {
namespace {

const QString kPattern = QStringLiteral("Ludora-*.LDX");

// A copy's lock: held by its Ludora while that runs, free once it has ended (however).
std::unique_ptr<QLockFile> lockOf(const QString& copy) {
    auto lock = std::make_unique<QLockFile>(copy + QStringLiteral(".lock"));
    // A running Ludora's lock never grows stale, however long it runs.
    lock->setStaleLockTime(0);
    return lock->tryLock(0) ? std::move(lock) : nullptr;
}

}  // namespace

RecoveryCopy::RecoveryCopy(Collection& collection, QWidget* window)
    : collection_(collection), window_(window) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryCopy::sync);
    connect(&collection_, &Collection::changed, this, &RecoveryCopy::changed);
    worker_.setMaxThreadCount(1);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &RecoveryCopy::writeNow,
                Qt::DirectConnection);
    }
}

RecoveryCopy::~RecoveryCopy() {
    timer_.stop();
    worker_.waitForDone();
    if (written_) {
        QFile::remove(path_);
    }
}

QString RecoveryCopy::folder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

void RecoveryCopy::setDelay(int delay) {
    delay_ = delay;
    if (delay < 0) {
        timer_.stop();
    }
}

void RecoveryCopy::changed() {
    if (delay_ >= 0 && !gaveUp_ && !timer_.isActive()) {
        timer_.start(delay_);
    }
}

bool RecoveryCopy::locked() {
    if (lock_) {
        return true;
    }
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        giveUp(tr("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(dir)));
        return false;
    }
    path_ = dir + QStringLiteral("/Ludora-%1-%2.LDX")
                      .arg(QCoreApplication::applicationPid())
                      .arg(QDateTime::currentMSecsSinceEpoch());
    lock_ = lockOf(path_);
    if (!lock_) {
        giveUp(tr("No file can be made in the folder \"%1\".").arg(QDir::toNativeSeparators(dir)));
    }
    return bool(lock_);
}

void RecoveryCopy::sync() {
    if (gaveUp_) {
        return;
    }
    if (busy_) {
        pending_ = true;
        return;
    }
    pending_ = false;
    const auto done = [this](const QString& error) {
        QMetaObject::invokeMethod(
            this, [this, error] { finished(error); }, Qt::QueuedConnection);
    };
    if (collection_.isDirty()) {
        if (!locked()) {
            return;
        }
        // The worker writes a snapshot: the collection may change meanwhile. The worker is done
        // with the last one.
        last_ = collection_.snapshot(last_.get());
        std::shared_ptr<const Collection> snapshot = last_;
        busy_ = written_ = true;
        worker_.start([snapshot, path = path_, done] {
            const WriteResult written = WriteRecoveryFile(*snapshot, path);
            done(written.ok ? QString() : written.error);
        });
    } else if (written_) {
        busy_ = true;
        written_ = false;
        worker_.start([path = path_, done] {
            QFile::remove(path);
            done(QString());
        });
    }
}

void RecoveryCopy::finished(const QString& error) {
    busy_ = false;
    if (!error.isEmpty()) {
        giveUp(error);
    } else if (pending_) {
        sync();
    }
}

void RecoveryCopy::writeNow() {
    timer_.stop();
    worker_.waitForDone();
    busy_ = pending_ = false;
    if (gaveUp_) {
        return;
    }
    if (collection_.isDirty()) {
        if (locked()) {
            written_ = true;
            if (const WriteResult written = WriteRecoveryFile(collection_, path_); !written.ok) {
                giveUp(written.error);
            }
        }
    } else if (written_) {
        QFile::remove(path_);
        written_ = false;
    }
}

void RecoveryCopy::giveUp(const QString& reason) {
    if (gaveUp_) {
        return;
    }
    gaveUp_ = true;
    timer_.stop();
    platform::inform(window_,
                     tr("Ludora cannot keep a recovery copy of your unsaved changes. %1\n\n"
                        "Your work goes on without one: save your changes now and then.")
                         .arg(reason),
                     platform::Icon::Warning);
}

void RecoveryCopy::offerLeftCopy() {
    const QDir dir(folder());
    if (!dir.exists()) {
        return;  // the usual start
    }
    for (const QFileInfo& copy : dir.entryInfoList({kPattern}, QDir::Files, QDir::Time)) {
        std::unique_ptr<QLockFile> lock = lockOf(copy.filePath());
        Collection left;
        if (!lock || !ReadRecoveryFile(left, copy.filePath()).ok) {
            continue;  // its Ludora still runs, or it is no copy
        }
        platform::MessageRequest question;
        question.prompt =
            tr("Ludora closed without saving the changes to %1. Recover them?")
                .arg(left.fileName().isEmpty() ? tr("a new collection")
                                               : QDir::toNativeSeparators(left.fileName()));
        question.buttons = platform::ButtonSet::YesNo;
        question.defaultButton = platform::Button::Yes;
        question.closable = true;
        switch (platform::dialogs().message(window_, question)) {
            case platform::Button::Yes:
                // The copy is this program's own from now on.
                path_ = copy.filePath();
                lock_ = std::move(lock);
                written_ = true;
                collection_.takeContent(left);
                collection_.setFileName(left.fileName());
                collection_.setDirty(true);
                break;
            case platform::Button::No:
                QFile::remove(copy.filePath());
                break;
            default:
                break;  // asked again at the next start
        }
        return;
    }
}

}  // namespace ludora
