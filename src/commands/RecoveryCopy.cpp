#include "commands/RecoveryCopy.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QSessionManager>
#include <QStandardPaths>
#include <QWidget>
#include <QtConcurrent>
#include <utility>

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

// The system's reason why no file can be written in the folder, found by writing one in it
// (or in the nearest folder above it that exists, when it cannot be made).
QString whyNoFileIn(const QString& dir) {
    QFileInfo existing(dir);
    while (!existing.exists() && !existing.isRoot() && existing.path() != existing.filePath()) {
        existing.setFile(existing.path());
    }
    QFile probe(existing.filePath() +
                QStringLiteral("/.Ludora-probe-%1").arg(QCoreApplication::applicationPid()));
    QString reason;
    if (!probe.open(QIODevice::WriteOnly)) {
        reason = probe.errorString();
    } else {
        if (probe.write(QByteArray(4096, '\n')) < 0 || !probe.flush()) {
            reason = probe.errorString();
        }
        probe.remove();
    }
    return reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
}

}  // namespace

RecoveryCopy::RecoveryCopy(Collection& collection, QWidget* window)
    : collection_(collection), window_(window) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryCopy::sync);
    noticeTimer_.setInterval(250);
    connect(&noticeTimer_, &QTimer::timeout, this, &RecoveryCopy::showNoticeWhenFree);
    connect(&worker_, &QFutureWatcher<QString>::finished, this, &RecoveryCopy::finished);
    connect(&collection_, &Collection::changed, this, &RecoveryCopy::changed);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, &RecoveryCopy::writeNow,
                Qt::DirectConnection);
    }
}

RecoveryCopy::~RecoveryCopy() {
    timer_.stop();
    worker_.waitForFinished();
    if (exists_) {
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
    // At most one write a second, also while writes fail: each change tries again.
    if (delay_ >= 0 && !timer_.isActive()) {
        timer_.start(delay_);
    }
}

bool RecoveryCopy::locked() {
    if (lock_) {
        return true;
    }
    const QString dir = folder();
    if (path_.isEmpty()) {
        path_ = dir + QStringLiteral("/Ludora-%1-%2.LDX")
                          .arg(QCoreApplication::applicationPid())
                          .arg(QDateTime::currentMSecsSinceEpoch());
    }
    if (QDir().mkpath(dir)) {
        lock_ = lockOf(path_);
    }
    if (!lock_) {
        failed(tr("No file can be made in the folder \"%1\": %2.")
                   .arg(QDir::toNativeSeparators(dir), whyNoFileIn(dir)));
    }
    return bool(lock_);
}

void RecoveryCopy::sync() {
    if (worker_.isRunning()) {
        again_ = true;
        return;
    }
    again_ = false;
    if (collection_.isDirty()) {
        if (!locked()) {
            return;
        }
        // The worker writes a snapshot: the collection may change meanwhile.
        exists_ = true;
        worker_.setFuture(QtConcurrent::run(
            [snapshot = std::shared_ptr<const Collection>(collection_.snapshot()), path = path_] {
                const WriteResult written = WriteRecoveryFile(*snapshot, path);
                return written.ok ? QString() : written.error;
            }));
    } else if (exists_) {
        exists_ = false;
        worker_.setFuture(QtConcurrent::run([path = path_] {
            QFile::remove(path);
            return QString();
        }));
    }
}

void RecoveryCopy::finished() {
    const QString error = worker_.result();
    if (error.isEmpty()) {
        notice_.clear();  // protected again: there is nothing to tell
    } else {
        failed(error);
    }
    if (again_) {
        sync();
    }
}

void RecoveryCopy::writeNow() {
    timer_.stop();
    worker_.waitForFinished();
    again_ = false;
    if (collection_.isDirty()) {
        if (locked()) {
            exists_ = true;
            if (const WriteResult written = WriteRecoveryFile(collection_, path_); !written.ok) {
                failed(written.error);
            }
        }
    } else if (exists_) {
        QFile::remove(path_);
        exists_ = false;
    }
}

void RecoveryCopy::failed(const QString& reason) {
    if (told_) {
        return;
    }
    notice_ = tr("Ludora cannot keep a recovery copy of your unsaved changes. %1\n\n"
                 "It tries again with each change. Until it can, save your changes now and "
                 "then.")
                  .arg(reason);
    if (!noticeTimer_.isActive()) {
        noticeTimer_.start();
    }
}

void RecoveryCopy::showNoticeWhenFree() {
    if (notice_.isEmpty()) {
        noticeTimer_.stop();
        return;
    }
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        !window_->isActiveWindow() || platform::isShowingBox(window_)) {
        return;
    }
    noticeTimer_.stop();
    told_ = true;
    platform::inform(window_, std::exchange(notice_, QString()), platform::Icon::Warning);
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
                exists_ = true;
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
