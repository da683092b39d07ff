#include <QTest>

#include "CommandFixture.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "commands/FileCommands.h"
#include "fixtures/TestData.h"
#include "interchange/Interchange.h"
#include "support/FakeDialogs.h"

using ludora::Collection;
using ludora::interchange::exportCollection;
using ludora::platform::Button;
using ludora::test::FakeDialogs;
using namespace ludora::test;

namespace {
enum class Answer { None, Yes, No, Cancel };

Button toButton(Answer a) {
    return a == Answer::Yes ? Button::Yes : a == Answer::No ? Button::No : Button::Cancel;
}
}  // namespace

Q_DECLARE_METATYPE(Answer)

class TestFileCommands : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    // Checks the Close question exactly as it must be asked.
    static void verifyCloseQuestion(const FakeDialogs::Shown& shown) {
        QCOMPARE(shown.kind, FakeDialogs::Shown::Message);
        QCOMPARE(shown.message.prompt, QStringLiteral("Save changes?"));
        QCOMPARE(shown.message.title, QStringLiteral("Close List"));
        QCOMPARE(shown.message.buttons, ludora::platform::ButtonSet::YesNoCancel);
        QCOMPARE(shown.message.defaultButton, Button::Yes);
        QCOMPARE(shown.message.icon, ludora::platform::Icon::None);
    }

private Q_SLOTS:
    void init() { QVERIFY(dir_.isValid()); }

    void close_data() {
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::addColumn<bool>("dirtyAfter");
        QTest::addColumn<bool>("written");

        QTest::newRow("no file, saved")
            << false << false << Answer::None << false << false << false;
        QTest::newRow("no file, unsaved")
            << false << true << Answer::None << false << true << false;
        QTest::newRow("file, saved") << true << false << Answer::None << true << false << false;
        QTest::newRow("file, unsaved, Yes") << true << true << Answer::Yes << true << false << true;
        QTest::newRow("file, unsaved, No") << true << true << Answer::No << true << false << false;
        QTest::newRow("file, unsaved, Cancel")
            << true << true << Answer::Cancel << false << true << false;
    }

    void close() {
        QFETCH(bool, hasFile);
        QFETCH(bool, dirty);
        QFETCH(Answer, answer);
        QFETCH(bool, emptied);
        QFETCH(bool, dirtyAfter);
        QFETCH(bool, written);

        FakeDialogs dialogs;
        Collection c;
        fillSample(c);
        const QString file = path(QStringLiteral("current.LDX"));
        QVERIFY(writeBytes(file, "old bytes"));
        if (hasFile) {
            c.setFileName(file);
        }
        c.setDirty(dirty);
        if (answer != Answer::None) {
            dialogs.answerNext(toButton(answer));
        }
        const QStringList before = snapshot(c);

        ludora::closeCollection(c, nullptr);

        QCOMPARE(dialogs.count(), answer == Answer::None ? 0 : 1);
        if (answer != Answer::None) {
            verifyCloseQuestion(dialogs.shown().at(0));
        }
        if (emptied) {
            for (int tab = 0; tab < Collection::kTabCount; ++tab) {
                QCOMPARE(c.count(tab), 0);
            }
        } else {
            QCOMPARE(snapshot(c), before);
        }
        QCOMPARE(c.caption(5), QStringLiteral("Custom"));  // Close keeps the captions
        QCOMPARE(c.isDirty(), dirtyAfter);
        QCOMPARE(c.fileName(), hasFile ? file : QString());
        QCOMPARE(readBytes(file), written ? sampleFileBytes() : QByteArray("old bytes"));
    }

    void saveAs_data() {
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<QString>("chosen");  // empty: the dialog is cancelled
        QTest::addColumn<bool>("existing");

        QTest::newRow("cancelled, unsaved") << false << true << QString() << false;
        QTest::newRow("cancelled, with a file") << true << true << QString() << false;
        QTest::newRow("cancelled, saved") << true << false << QString() << false;
        QTest::newRow("new file") << false << true << QStringLiteral("new.LDX") << false;
        QTest::newRow("existing file replaced")
            << true << true << QStringLiteral("old.LDX") << true;
        QTest::newRow("saved again under the current name")
            << true << false << QStringLiteral("current.LDX") << true;
        QTest::newRow("name without extension")
            << false << true << QStringLiteral("games") << false;
    }

    void saveAs() {
        QFETCH(bool, hasFile);
        QFETCH(bool, dirty);
        QFETCH(QString, chosen);
        QFETCH(bool, existing);

        FakeDialogs dialogs;
        Collection c;
        fillSample(c);
        const QString current = path(QStringLiteral("current.LDX"));
        if (hasFile) {
            QVERIFY(writeBytes(current, "old bytes"));
            c.setFileName(current);
        }
        c.setDirty(dirty);
        const QString target = chosen.isEmpty() ? QString() : path(chosen);
        if (existing && target != current) {
            QVERIFY(writeBytes(target, "an earlier file"));
        }
        if (target.isEmpty()) {
            dialogs.cancelNextFile();
        } else {
            dialogs.chooseNextFile(target);
        }
        const QStringList before = snapshot(c);

        const bool saved = ludora::saveCollectionAs(c, nullptr) == ludora::Outcome::Done;

        // The dialog is shown every time, also when there is a current file.
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.shown().at(0).kind, FakeDialogs::Shown::SaveFile);
        QCOMPARE(dialogs.shown().at(0).file.title, QStringLiteral("Save As"));
        QCOMPARE(dialogs.shown().at(0).file.filter, QStringLiteral("Ludora (*.LDX)|*.LDX"));
        QCOMPARE(snapshot(c), before);
        QCOMPARE(saved, !target.isEmpty());
        if (target.isEmpty()) {
            QCOMPARE(c.fileName(), hasFile ? current : QString());
            QCOMPARE(c.isDirty(), dirty);
        } else {
            QCOMPARE(c.fileName(), target);  // exactly as chosen: no extension added
            QVERIFY(!c.isDirty());
            QCOMPARE(readBytes(target), sampleFileBytes());
            QVERIFY(!QFile::exists(target + QStringLiteral(".LDX")));
        }
        if (hasFile && target != current) {
            QCOMPARE(readBytes(current), QByteArray("old bytes"));
        }
    }

    void open_data() {
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<bool>("dirty");
        QTest::addColumn<Answer>("answer");  // to "Save changes?", when it is asked
        QTest::addColumn<bool>("choose");
        QTest::addColumn<bool>("listsEmptiedByClose");
        QTest::addColumn<bool>("currentWritten");

        QTest::newRow("saved, chosen") << true << false << Answer::None << true << false << false;
        QTest::newRow("saved, cancelled")
            << true << false << Answer::None << false << false << false;
        QTest::newRow("never saved, chosen")
            << false << false << Answer::None << true << false << false;
        QTest::newRow("unsaved without file, chosen")
            << false << true << Answer::None << true << false << false;
        QTest::newRow("unsaved without file, cancelled")
            << false << true << Answer::None << false << false << false;
        QTest::newRow("unsaved, Yes, chosen")
            << true << true << Answer::Yes << true << true << true;
        QTest::newRow("unsaved, Yes, cancelled")
            << true << true << Answer::Yes << false << true << true;
        QTest::newRow("unsaved, No, chosen") << true << true << Answer::No << true << true << false;
        QTest::newRow("unsaved, No, cancelled")
            << true << true << Answer::No << false << true << false;
        QTest::newRow("unsaved, Cancel, chosen")
            << true << true << Answer::Cancel << true << false << false;
        QTest::newRow("unsaved, Cancel, cancelled")
            << true << true << Answer::Cancel << false << false << false;
    }

    void open() {
        QFETCH(bool, hasFile);
        QFETCH(bool, dirty);
        QFETCH(Answer, answer);
        QFETCH(bool, choose);
        QFETCH(bool, listsEmptiedByClose);
        QFETCH(bool, currentWritten);

        FakeDialogs dialogs;
        Collection c;
        fillSample(c);
        const QString current = path(QStringLiteral("current.LDX"));
        const QString other = path(QStringLiteral("other.LDX"));
        QVERIFY(writeBytes(current, "old bytes"));
        QVERIFY(writeBytes(other, otherFileBytes()));
        if (hasFile) {
            c.setFileName(current);
        }
        c.setDirty(dirty);
        if (answer != Answer::None) {
            dialogs.answerNext(toButton(answer));
        }
        if (choose) {
            dialogs.chooseNextFile(other);
        } else {
            dialogs.cancelNextFile();
        }

        ludora::openCollection(c, nullptr);

        // The question (when asked) comes first, then the dialog, whatever the answer.
        const int questions = answer == Answer::None ? 0 : 1;
        QCOMPARE(dialogs.count(), questions + 1);
        if (questions) {
            verifyCloseQuestion(dialogs.shown().at(0));
        }
        QCOMPARE(dialogs.shown().last().kind, FakeDialogs::Shown::OpenFile);
        QCOMPARE(dialogs.shown().last().file.title, QStringLiteral("Open"));
        QCOMPARE(dialogs.shown().last().file.filter, QStringLiteral("Ludora (*.LDX)|*.LDX"));
        QVERIFY(!c.isDirty());
        QCOMPARE(readBytes(current), currentWritten ? sampleFileBytes() : QByteArray("old bytes"));
        if (choose) {
            QCOMPARE(c.fileName(), other);
            QCOMPARE(c.caption(3), QStringLiteral("SNES"));
            QCOMPARE(namesOf(c, 1), QStringList{QStringLiteral("Tempest 2000")});
            QCOMPARE(namesOf(c, 3),
                     (QStringList{QStringLiteral("F-Zero"), QStringLiteral("Zelda")}));
            QCOMPARE(c.count(0) + c.count(2) + c.count(5), 0);
        } else {
            QCOMPARE(c.fileName(), hasFile ? current : QString());
            // Captions are back to the defaults, over whatever names Close left.
            for (int tab = 0; tab < Collection::kTabCount; ++tab) {
                QCOMPARE(c.caption(tab), Collection::defaultCaption(tab));
            }
            QCOMPARE(namesOf(c, 0),
                     listsEmptiedByClose ? QStringList() : QStringList{QStringLiteral("Alpha")});
            QCOMPARE(namesOf(c, 5),
                     listsEmptiedByClose ? QStringList() : QStringList{QStringLiteral("Zeta")});
        }
    }

    // A dropped file (or one given on the command line) has no dialog to back out of: unsaved
    // names go only when the user says so, whether or not the collection has a file yet.
    void givenFileTakesUnsavedNamesOnlyOnTheUsersWord_data() {
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("saveTo");  // Save As's answer, when asked; empty: cancelled
        QTest::addColumn<bool>("opened");
        QTest::newRow("file, Cancel") << true << Answer::Cancel << "" << false;
        QTest::newRow("no file, Cancel") << false << Answer::Cancel << "" << false;
        QTest::newRow("no file, No") << false << Answer::No << "" << true;
        QTest::newRow("no file, Yes, Save As cancelled") << false << Answer::Yes << "" << false;
        QTest::newRow("no file, Yes, save fails") << false << Answer::Yes << "no/x.LDX" << false;
        QTest::newRow("no file, Yes, saved") << false << Answer::Yes << "new.LDX" << true;
    }
    void givenFileTakesUnsavedNamesOnlyOnTheUsersWord() {
        QFETCH(bool, hasFile);
        QFETCH(Answer, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, opened);
        QVERIFY(writeBytes(path("other.LDX"), otherFileBytes()));
        Collection c;
        fillSample(c);
        c.setDirty(true);
        c.setFileName(hasFile ? path("current.LDX") : QString());
        const QStringList before = snapshot(c);
        FakeDialogs dialogs;
        dialogs.answerNext(toButton(answer));
        if (!hasFile && answer == Answer::Yes) {
            dialogs.chooseNextFile(saveTo.isEmpty() ? QString() : path(saveTo));
        }
        ludora::openCollectionFile(c, nullptr, path("other.LDX"));
        verifyCloseQuestion(dialogs.shown().at(0));
        QVERIFY(dialogs.allAnswersUsed());
        QCOMPARE(c.fileName() == path("other.LDX"), opened);
        QCOMPARE(c.isDirty(), !opened);
        QCOMPARE(snapshot(c) == before, !opened);
    }

    // A file of another format given to the window, or chosen in Open, is imported: its
    // games become an unsaved collection with no file name; a file that cannot be imported
    // changes nothing. Either way the file itself is never written.
    void fileOfAnotherFormatIsImported_data() {
        QTest::addColumn<QString>("file");  // in the test data's interchange folder, or made
        QTest::addColumn<bool>("chosenInOpen");
        QTest::addColumn<QStringList>("n64");  // empty: refused
        QTest::addColumn<QString>("caption5");
        QTest::addColumn<QString>("message");
        const QStringList tellicoN64{"GoldenEye 007",
                                     QStringLiteral(u"Pokémon Stadium, \"Japan\" & more"),
                                     "Super Mario 64"};
        QTest::newRow("Tellico") << "tellico-games.tc" << false << tellicoN64 << "PCEngine"
                                 << "11 games read";
        QTest::newRow("Tellico, chosen in Open")
            << "tellico-games.tc" << true << tellicoN64 << "PCEngine"
            << "11 games read";
        QTest::newRow("Tellico's CSV") << "tellico-games.csv" << false << tellicoN64 << "PCEngine"
                                       << "11 games read";
        QTest::newRow("books") << "tellico-books.tc" << false << QStringList() << ""
                               << "not a video-game collection";
        QTest::newRow("books, chosen in Open") << "tellico-books.tc" << true << QStringList() << ""
                                               << "not a video-game collection";
        QTest::newRow("ldxtool's JSON") << "own.json" << false << QStringList{"Alpha"} << "Custom"
                                        << "3 games read";
        QTest::newRow("ldxtool's CSV, chosen in Open")
            << "own.csv" << true << QStringList{"Alpha"} << "Custom"
            << "3 games read";
        QTest::newRow("JSON of another shape") << "other.json" << false << QStringList() << ""
                                               << "\"captions\" must be";
        QTest::newRow("too short, named as no import") << "notes.txt" << true << QStringList() << ""
                                                       << "Nor is it a file Ludora imports";
    }
    void fileOfAnotherFormatIsImported() {
        QFETCH(QString, file);
        QFETCH(bool, chosenInOpen);
        QFETCH(QStringList, n64);
        QFETCH(QString, caption5);
        QFETCH(QString, message);
        Collection sample;
        fillSample(sample);
        QVERIFY(writeBytes(path("own.json"),
                           exportCollection(sample, ludora::interchange::Format::Json)));
        QVERIFY(writeBytes(path("own.csv"),
                           exportCollection(sample, ludora::interchange::Format::Csv)));
        QVERIFY(writeBytes(path("other.json"), "{\"games\": [\"Alpha\"]}"));
        QVERIFY(writeBytes(path("notes.txt"), "a few\nlines\n"));
        const QString source = QFile::exists(path(file))
                                   ? path(file)
                                   : QStringLiteral(LUDORA_TEST_DATA_DIR "/interchange/") + file;
        const QByteArray sourceBytes = readBytes(source);
        Collection c;
        c.addName(2, QStringLiteral("Mine"));
        c.setFileName(path("current.LDX"));
        const QStringList before = snapshot(c);
        FakeDialogs dialogs;
        if (chosenInOpen) {
            dialogs.chooseNextFile(source);
            ludora::openCollection(c, nullptr);
        } else {
            ludora::openCollectionFile(c, nullptr, source);
        }
        const QList<FakeDialogs::Shown> messages = dialogs.messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).message.prompt.contains(message),
                 qPrintable(messages.at(0).message.prompt));
        if (n64.isEmpty()) {
            QCOMPARE(snapshot(c), before);
            QCOMPARE(c.fileName(), path("current.LDX"));
            QVERIFY(!c.isDirty());
        } else {
            QCOMPARE(namesOf(c, 0), n64);
            QCOMPARE(c.caption(5), caption5);
            QVERIFY(c.fileName().isEmpty());
            QVERIFY(c.isDirty());
            // With no file name, Close has nowhere to write.
            ludora::closeCollection(c, nullptr);
            QCOMPARE(c.count(0), n64.size());
        }
        QCOMPARE(readBytes(source), sourceBytes);
    }

    // Another machine changed the current file since Ludora read it: Close's Yes asks before
    // writing over it. Yes merges three ways (Beta, deleted there, goes) and writes nothing.
    void closeAsksWhenTheFileChangedOnDisk_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QStringList>("tg16");
        QTest::addColumn<bool>("written");
        QTest::newRow("not changed: written")
            << false << Answer::None << QStringList{"Alpha", "Beta", "Mine"} << true;
        QTest::newRow("changed, Yes: merged")
            << true << Answer::Yes << QStringList{"Alpha", "Mine", "Theirs"} << false;
        QTest::newRow("changed, No: written")
            << true << Answer::No << QStringList{"Alpha", "Beta", "Mine"} << true;
        QTest::newRow("changed, Cancel: kept")
            << true << Answer::Cancel << QStringList{"Alpha", "Beta", "Mine"} << false;
    }
    void closeAsksWhenTheFileChangedOnDisk() {
        QFETCH(bool, changed);
        QFETCH(Answer, answer);
        QFETCH(QStringList, tg16);
        QFETCH(bool, written);
        const QString file = path("synced.LDX");
        const auto fileWith = [](const QStringList& names) {
            Collection c;
            for (const QString& name : names) {
                c.addName(2, name);
            }
            return c.snapshot();
        };
        QVERIFY(ludora::WriteCollectionFile(*fileWith({"Alpha", "Beta"}), file).ok);
        FakeDialogs dialogs;
        Collection c;
        dialogs.chooseNextFile(file);
        ludora::openCollection(c, nullptr);
        c.addName(2, QStringLiteral("Mine"));
        c.setDirty(true);
        if (changed) {
            QVERIFY(ludora::WriteCollectionFile(*fileWith({"Alpha", "Theirs"}), file).ok);
        }
        const QByteArray onDisk = readBytes(file);
        dialogs.answerNext(Button::Yes);
        if (answer != Answer::None) {
            dialogs.answerNext(toButton(answer));
        }
        ludora::closeCollection(c, nullptr);
        QVERIFY(dialogs.allAnswersUsed());
        if (changed) {
            QCOMPARE(dialogs.messages().at(1).message.prompt,
                     QStringLiteral("synced.LDX was changed by another program after Ludora "
                                    "opened it. Merge its games into this collection?"));
        }
        QCOMPARE(readBytes(file) == onDisk, !written);
        QCOMPARE(written ? namesOf(*fileWith({}), 2) : namesOf(c, 2),
                 written ? QStringList() : tg16);
        QCOMPARE(c.isDirty(), !written);
    }

    // Conflict copies beside an opened file are offered one by one; the copies stay as
    // they were.
    void conflictCopiesAreOfferedAtOpen() {
        QDir dir(path("copies"));
        QVERIFY(dir.mkpath(QStringLiteral(".")));
        const auto write = [&dir](const QString& name, const QString& game) {
            Collection c;
            c.addName(2, game);
            return ludora::WriteCollectionFile(c, dir.filePath(name)).ok;
        };
        QVERIFY(write("games.LDX", "Alpha"));
        QVERIFY(write("games (Ann's conflicted copy 2026-12-10).LDX", "Dropbox's"));
        QVERIFY(write("games (conflicted copy 2026-12-10 101010).ldx", "Nextcloud's"));
        QVERIFY(write("games.sync-conflict-20261210-101010-ABCDEFG.LDX", "Syncthing's"));
        QVERIFY(write("other.sync-conflict-20261210-101010-ABCDEFG.LDX", "Not ours"));
        const QByteArray copy =
            readBytes(dir.filePath("games.sync-conflict-20261210-101010-ABCDEFG.LDX"));
        FakeDialogs dialogs;
        dialogs.chooseNextFile(dir.filePath("games.LDX"));
        // Each merge is followed by its summary, which OK closes.
        for (const Button b : {Button::Yes, Button::Ok, Button::No, Button::Yes, Button::Ok}) {
            dialogs.answerNext(b);
        }
        Collection c;
        ludora::openCollection(c, nullptr);
        QVERIFY(dialogs.allAnswersUsed());
        QCOMPARE(dialogs.messages().at(0).message.prompt,
                 QStringLiteral("A copy of games.LDX saved on another machine was found: games "
                                "(Ann's conflicted copy 2026-12-10).LDX. Merge its games into "
                                "this collection?"));
        QCOMPARE(namesOf(c, 2), (QStringList{"Alpha", "Dropbox's", "Syncthing's"}));
        QVERIFY(c.isDirty());
        QCOMPARE(readBytes(dir.filePath("games.sync-conflict-20261210-101010-ABCDEFG.LDX")), copy);
    }

    void saveThenOpenRestoresEverything() {
        FakeDialogs dialogs;
        Collection c;
        fillSample(c);
        c.setCaption(24, QStringLiteral("Neo Geo CD"));
        c.addName(24, QStringLiteral("  Metal Slug  "));
        c.addName(24, QString());
        c.addName(1, QStringLiteral("alien vs predator"));
        c.addName(1, QStringLiteral("Alien vs Predator"));
        c.setDirty(true);
        const QStringList saved = snapshot(c);
        const QString file = path(QStringLiteral("round.LDX"));
        dialogs.chooseNextFile(file);
        QCOMPARE(ludora::saveCollectionAs(c, nullptr), ludora::Outcome::Done);

        Collection reopened;
        dialogs.chooseNextFile(file);
        ludora::openCollection(reopened, nullptr);
        QCOMPARE(snapshot(reopened), saved);
        QCOMPARE(reopened.fileName(), file);

        // Opening the same file again gives the same lists, not doubled ones.
        dialogs.chooseNextFile(file);
        ludora::openCollection(reopened, nullptr);
        QCOMPARE(snapshot(reopened), saved);
        QVERIFY(dialogs.allAnswersUsed());
    }

    void cancelledOpenShowsDefaultCaptionsOverTheFilesNames() {
        FakeDialogs dialogs;
        Collection c;
        const QString other = path(QStringLiteral("other.LDX"));
        QVERIFY(writeBytes(other, otherFileBytes()));
        dialogs.chooseNextFile(other);
        ludora::openCollection(c, nullptr);
        QCOMPARE(c.caption(3), QStringLiteral("SNES"));

        dialogs.cancelNextFile();
        ludora::openCollection(c, nullptr);
        QCOMPARE(c.caption(3), QStringLiteral("UserDef3"));
        QCOMPARE(namesOf(c, 3), (QStringList{QStringLiteral("F-Zero"), QStringLiteral("Zelda")}));
        QCOMPARE(c.fileName(), other);
    }

    void closeThenAddThenCloseWritesIntoTheClosedFile() {
        FakeDialogs dialogs;
        Collection c;
        fillSample(c);
        const QString file = path(QStringLiteral("closed.LDX"));
        dialogs.chooseNextFile(file);
        QCOMPARE(ludora::saveCollectionAs(c, nullptr), ludora::Outcome::Done);
        ludora::closeCollection(c, nullptr);  // saved: no question, lists emptied
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(c.count(0), 0);
        QCOMPARE(c.caption(5), QStringLiteral("Custom"));

        c.addName(0, QStringLiteral("Alpha"));
        c.addName(2, QStringLiteral("Gamma"));
        c.addName(5, QStringLiteral("Zeta"));
        c.setDirty(true);
        dialogs.answerNext(Button::Yes);
        ludora::closeCollection(c, nullptr);
        QCOMPARE(readBytes(file), sampleFileBytes());
        QCOMPARE(c.fileName(), file);
        QVERIFY(!c.isDirty());
    }

    void openReportsNamesBeyondAFullList() {
        FakeDialogs dialogs;
        QByteArray bytes = otherFileBytes();
        bytes.chop(3);  // drop the end mark line
        for (int i = 0; i < Collection::kMaxNames + 5; ++i) {
            bytes += "N64      Game " + QByteArray::number(i) + "\r\n";
        }
        bytes += "\x1a\r\n";
        const QString file = path(QStringLiteral("full.LDX"));
        QVERIFY(writeBytes(file, bytes));
        Collection c;
        dialogs.chooseNextFile(file);
        ludora::openCollection(c, nullptr);
        QCOMPARE(c.fileName(), file);
        QCOMPARE(c.count(0), Collection::kMaxNames);
        QCOMPARE(namesOf(c, 3).size(), 2);
        const auto messages = dialogs.messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.at(0).message.prompt.contains(QStringLiteral("5 names")),
                 qPrintable(messages.at(0).message.prompt));
        QVERIFY(messages.at(0).message.prompt.contains(QStringLiteral("N64")));
    }
};

QTEST_GUILESS_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
