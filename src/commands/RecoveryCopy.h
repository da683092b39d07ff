#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class QLockFile;
class QWidget;

namespace ludora {

class Collection;

// Keeps a recovery copy of a collection with unsaved changes in the user's data folder, so
// that a program that is killed, loses its power or outlives its desktop session loses
// nothing typed more than two seconds before. Each running program keeps one copy, under a
// lock file of its own. The copy follows each change within kDelay, written on a worker from
// a snapshot, and goes once the changes are saved or discarded (the collection is no longer
// dirty) and when the keeper goes with its window (the program ended normally).
//
// A copy that cannot be written is tried again with the next change, and protection
// resumes silently once a write succeeds. The user is told once a run, in a box that waits
// until the main window is active with no other box or dialog open, so that it never takes
// keys meant for something else.
class RecoveryCopy final : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelay = 1000;  // milliseconds

    RecoveryCopy(Collection& collection, QWidget* window);
    ~RecoveryCopy() override;

    // Where the copies are kept.
    static QString folder();

    // At start: offers the newest copy left by a Ludora that no longer runs. Yes: it becomes
    // the collection, still unsaved, and this keeper carries it on. No: it is deleted.
    // Escape or closing the box: it stays for the next start.
    void offerLeftCopy();
    // Brings the copy up to date at once, on this thread: the desktop session is ending.
    void writeNow();
    // Benchmarks: the copy follows after `delay` milliseconds, or is not kept when negative.
    void setDelay(int delay);

private:
    void changed();
    // Brings the copy in line with the collection, on the worker; once the worker is free
    // when it is busy.
    void sync();
    void finished();
    // Takes a lock of its own in the folder; false, and told, when it cannot.
    bool locked();
    // Keeps the reason for the notice, unless this run's notice was shown already.
    void failed(const QString& reason);
    // Shows the notice if the user is at the main window with nothing else open.
    void showNoticeWhenFree();

    Collection& collection_;
    QWidget* window_;  // owns the keeper
    QTimer timer_;     // the next write, kDelay after a change
    QTimer noticeTimer_;
    // The write or removal in progress; its result is the error, empty on success.
    QFutureWatcher<QString> worker_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    QString notice_;  // a failure the user has not been told of yet
    int delay_ = kDelay;
    bool exists_ = false;  // this program's copy may be on the disk
    bool again_ = false;   // the collection changed while the worker was busy
    bool told_ = false;    // this run's one notice was shown
};

}  // namespace ludora
