#include <sys/stat.h>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

#include "FaultInjection.h"
#include "ReliabilitySupport.h"
#include "collection/Collection.h"
#include "commands/CommandFixture.h"
#include "commands/FileCommands.h"
#include "fixtures/ChildProcess.h"
#include "fixtures/LargestCollection.h"
#include "support/FakeDialogs.h"

using ludora::Collection;
using ludora::platform::Button;
using namespace ludora::test;

namespace {

// How the save is made to fail. None of these depends on permission bits, which stop
// nothing for root.
enum class Fault {
    FolderAtTarget,  // a folder stands where the file should go
    PipeAtTarget,    // a named pipe stands there
    MissingFolder,   // the file's folder does not exist
    SizeLimit,       // RLIMIT_FSIZE stops the write midway
    // The program writes into an unnamed temporary file in the target's folder (O_TMPFILE),
    // which gets a random name beside the target only to replace it, so no folder can be
    // put in its way. Its creation is blocked instead, and so is the final replacement.
    NoFileDescriptor,  // the temporary file cannot be opened: no descriptor is free
    FolderImmutable,   // the temporary file cannot be created: the folder takes no file
    FolderAppendOnly,  // the finished temporary file cannot replace the target
    TargetImmutable,   // the target itself may not be changed
};

// The file or folder that carries the attribute of a fault, if it has one.
struct Blocked {
    bool onFolder = false;
    Attribute attribute = Attribute::Immutable;
};
std::optional<Blocked> blockedBy(Fault fault) {
    switch (fault) {
        case Fault::FolderImmutable:
            return Blocked{true, Attribute::Immutable};
        case Fault::FolderAppendOnly:
            return Blocked{true, Attribute::AppendOnly};
        case Fault::TargetImmutable:
            return Blocked{false, Attribute::Immutable};
        default:
            return std::nullopt;
    }
}

enum class Command { SaveAs, CloseYes };

// The sanitizers' runtime needs file descriptors of its own (UndefinedBehaviorSanitizer
// opens a pipe to probe memory), so a process without any cannot be checked under them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Command)

// Saves that fail, through the real commands, with the largest collection in memory: the
// failure is reported, the previous file is untouched, the collection stays as it was and
// a later save, once the fault is gone, writes the whole collection.
class TestSaveFaults : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    Collection largest_;
    QByteArray largestBytes_;
    // Paths whose attribute is set free again after each test.
    QList<std::pair<QString, Attribute>> blocked_;
    int rows_ = 0;

    QString path(const QString& name) const { return dir_.filePath(name); }

    // The previous file at the target, or the folder in its way, as it must stay.
    static QByteArray previousBytes() { return sampleFileBytes(); }

    // Sets up the fault on disk and returns the target path.
    QString prepare(Fault fault) {
        const QString folder = path(QStringLiteral("row%1").arg(++rows_));
        const QString target = folder + QStringLiteral("/games.LDX");
        if (fault == Fault::MissingFolder) {
            return target;
        }
        QDir().mkpath(folder);
        if (fault == Fault::FolderAtTarget) {
            QDir().mkpath(target);
            writeBytes(target + QStringLiteral("/inside.txt"), previousBytes());
            return target;
        }
        if (fault == Fault::PipeAtTarget) {
            return mkfifo(QFile::encodeName(target).constData(), 0600) == 0 ? target : QString();
        }
        writeBytes(target, previousBytes());
        if (const auto blocked = blockedBy(fault)) {
            const QString blockedPath = blocked->onFolder ? folder : target;
            if (!setAttribute(blockedPath, blocked->attribute, true).isEmpty()) {
                return QString();
            }
            blocked_ << std::pair{blockedPath, blocked->attribute};
        }
        return target;
    }

    // The previous content of the target, or the folder in its way, is still there.
    static bool previousIntact(Fault fault, const QString& target) {
        switch (fault) {
            case Fault::FolderAtTarget:
                return QFileInfo(target).isDir() &&
                       readBytes(target + QStringLiteral("/inside.txt")) == previousBytes();
            case Fault::PipeAtTarget: {
                struct stat status {};
                return stat(QFile::encodeName(target).constData(), &status) == 0 &&
                       S_ISFIFO(status.st_mode);
            }
            case Fault::MissingFolder:
                return !QFileInfo::exists(QFileInfo(target).path());
            default:
                return readBytes(target) == previousBytes();
        }
    }

    // Takes the fault on disk away, so that the next save can succeed.
    static void repair(Fault fault, const QString& target) {
        const QString folder = QFileInfo(target).path();
        if (fault == Fault::FolderAtTarget) {
            QDir(target).removeRecursively();
        } else if (fault == Fault::PipeAtTarget) {
            QFile::remove(target);
        } else if (fault == Fault::MissingFolder) {
            QDir().mkpath(folder);
        } else if (const auto blocked = blockedBy(fault)) {
            setAttribute(blocked->onFolder ? folder : target, blocked->attribute, false);
        }
    }

    // Runs the failing command in this process with the process-wide faults in force.
    bool runFailing(Fault fault, const std::function<bool()>& command) {
        std::optional<FileSizeLimit> sizeLimit;
        std::optional<NoFreeFileDescriptor> noDescriptor;
        if (fault == Fault::SizeLimit) {
            sizeLimit.emplace(largestBytes_.size() / 2);
        } else if (fault == Fault::NoFileDescriptor) {
            noDescriptor.emplace();
        }
        return command();
    }

    // Save As to the target fails, then succeeds once the fault is gone. In a child
    // process, which may change its own limits and its copy of the collection.
    int saveAsInChild(Fault fault, const QString& target, const QString& reason) {
        ChildChecks checks;
        FakeDialogs dialogs;
        Collection& c = largest_;
        const QString current = path(QStringLiteral("current.LDX"));
        c.setFileName(current);
        c.setDirty(true);
        dialogs.chooseNextFile(target);

        const bool saved = runFailing(
            fault, [&] { return ludora::saveCollectionAs(c, nullptr) == ludora::Outcome::Done; });

        checks.check(!saved, QStringLiteral("the save failed"));
        checks.check(dialogs.messages().size() == 1, QStringLiteral("one message"));
        const QString text = dialogs.messages().value(0).message.prompt;
        checks.check(text.contains(QDir::toNativeSeparators(target)) && text.contains(reason),
                     QStringLiteral("the message names the file and the reason: ") + text);
        checks.check(c.fileName() == current, QStringLiteral("the file name stays"));
        checks.check(c.isDirty(), QStringLiteral("the changes are still unsaved"));
        checks.check(collectionBytes(c) == largestBytes_, QStringLiteral("the lists stay"));
        checks.check(previousIntact(fault, target), QStringLiteral("the previous file stays"));

        repair(fault, target);
        dialogs.clear();
        dialogs.chooseNextFile(target);
        checks.check(ludora::saveCollectionAs(c, nullptr) == ludora::Outcome::Done,
                     QStringLiteral("a later save"));
        checks.check(dialogs.messages().isEmpty(), QStringLiteral("no message the second time"));
        checks.check(c.fileName() == target, QStringLiteral("the file name is the target"));
        checks.check(!c.isDirty(), QStringLiteral("no unsaved changes after the save"));
        checks.check(readBytes(target) == largestBytes_, QStringLiteral("the file is whole"));
        return checks.exitCode();
    }

    // Close answered Yes cannot write the current file, then can once the fault is gone.
    int closeYesInChild(Fault fault, const QString& target, const QString& reason) {
        ChildChecks checks;
        FakeDialogs dialogs;
        Collection& c = largest_;
        c.setFileName(target);
        c.setDirty(true);
        dialogs.answerNext(Button::Yes);

        runFailing(fault, [&] {
            ludora::closeCollection(c, nullptr);
            return true;
        });

        checks.check(dialogs.count() == 2, QStringLiteral("the question and one message"));
        const QString text = dialogs.shown().value(1).message.prompt;
        checks.check(text.contains(QDir::toNativeSeparators(target)) && text.contains(reason),
                     QStringLiteral("the message names the file and the reason: ") + text);
        checks.check(c.fileName() == target, QStringLiteral("the file name stays"));
        checks.check(c.isDirty(), QStringLiteral("the changes are still unsaved"));
        checks.check(collectionBytes(c) == largestBytes_, QStringLiteral("the lists stay"));
        checks.check(previousIntact(fault, target), QStringLiteral("the previous file stays"));

        repair(fault, target);
        dialogs.clear();
        dialogs.answerNext(Button::Yes);
        ludora::closeCollection(c, nullptr);
        checks.check(dialogs.count() == 1, QStringLiteral("only the question the second time"));
        checks.check(readBytes(target) == largestBytes_, QStringLiteral("the file is whole"));
        bool empty = true;
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            empty = empty && c.count(tab) == 0;
        }
        checks.check(empty, QStringLiteral("the lists are emptied after the save"));
        checks.check(!c.isDirty(), QStringLiteral("no unsaved changes after the save"));
        return checks.exitCode();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        ludora::bench::LargestCollection::fill(largest_, 9);
        largestBytes_ = collectionBytes(largest_);
        QVERIFY(largestBytes_.size() > (20 << 20));
    }

    void cleanup() {
        for (const auto& [blockedPath, attribute] : std::as_const(blocked_)) {
            setAttribute(blockedPath, attribute, false);
        }
        blocked_.clear();
    }

    void saveFails_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("reason");  // a part of the system's or Qt's explanation
        const struct {
            const char* name;
            Fault fault;
            QString reason;
        } faults[] = {
            {"folder at the target", Fault::FolderAtTarget, QStringLiteral("directory")},
            {"named pipe at the target", Fault::PipeAtTarget,
             QStringLiteral("not an ordinary file")},
            {"missing folder", Fault::MissingFolder, systemReason(ENOENT)},
            {"file-size limit midway", Fault::SizeLimit, systemReason(EFBIG)},
            {"no descriptor for the temporary file", Fault::NoFileDescriptor, systemReason(EMFILE)},
            {"folder takes no temporary file", Fault::FolderImmutable, systemReason(EPERM)},
            {"temporary file cannot replace the target", Fault::FolderAppendOnly,
             systemReason(EPERM)},
            {"target may not be changed", Fault::TargetImmutable, QStringLiteral("not writable")},
        };
        for (const auto& f : faults) {
            QTest::addRow("Save As, %s", f.name) << f.fault << Command::SaveAs << f.reason;
            QTest::addRow("Close Yes, %s", f.name) << f.fault << Command::CloseYes << f.reason;
        }
    }

    void saveFails() {
        QFETCH(Fault, fault);
        QFETCH(Command, command);
        QFETCH(QString, reason);
        if (fault == Fault::NoFileDescriptor && kSanitized) {
            QSKIP("the sanitizers' runtime cannot work without free file descriptors");
        }
        const QString target = prepare(fault);
        if (target.isEmpty()) {
            QSKIP(
                "files cannot be made immutable here (needs root and a file system with "
                "attributes)");
        }

        const int failed = runInChild(-1, [&] {
            return command == Command::SaveAs ? saveAsInChild(fault, target, reason)
                                              : closeYesInChild(fault, target, reason);
        });
        QCOMPARE(failed, 0);
        QCOMPARE(readBytes(target).size(), largestBytes_.size());
        // Nothing is left beside the file, except where the folder forbade removing the
        // temporary file: it lies there under its own name, and the later save and the
        // file are not confused by it.
        const QStringList left = entriesBeside(target);
        if (fault == Fault::FolderAppendOnly) {
            QCOMPARE(left.size(), 1);
            QVERIFY2(left.at(0).startsWith(QStringLiteral("games.LDX.")), qPrintable(left.at(0)));
        } else {
            QCOMPARE(left, QStringList());
        }
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_save_faults.moc"
