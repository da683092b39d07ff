#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
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
// A folder that cannot be written is told once; the program then goes on without a copy.
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
    // Brings the copy in line with the collection, on the worker, unless it is busy.
    void sync();
    void finished(const QString& error);
    // Takes a lock of its own in the folder, the first time; false, and told, when it cannot.
    bool locked();
    void giveUp(const QString& reason);

    Collection& collection_;
    QWidget* window_;  // owns the keeper
    QTimer timer_;
    QThreadPool worker_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    // The last snapshot written: the next takes the lists that have not changed from it.
    std::shared_ptr<Collection> last_;
    int delay_ = kDelay;
    bool busy_ = false;
    bool pending_ = false;
    bool written_ = false;
    bool gaveUp_ = false;
};

}  // namespace ludora
