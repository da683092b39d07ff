// The real message boxes and file dialogs: what closing them without an answer means, names
// taken as typed, and parents that go away while a box is open.
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "platform/Dialogs.h"
#include "support/ModalBoxes.h"

using namespace ludora;
using ludora::platform::Button;
using ludora::platform::ButtonSet;
using ludora::test::whenModalBoxOpens;

namespace {

QString buttonName(Button button) {
    switch (button) {
        case Button::Ok:
            return QStringLiteral("Ok");
        case Button::Yes:
            return QStringLiteral("Yes");
        case Button::No:
            return QStringLiteral("No");
        case Button::Cancel:
            return QStringLiteral("Cancel");
    }
    return QString();
}

// Shows a box through the platform layer: "OK", "Yes/No", "Yes/No/Cancel", "Save As" or
// "Open". Returns the button's name, or the chosen path.
QString show(const QString& box, QWidget* parent) {
    const platform::FileRequest file{box, QStringLiteral("Ludora (*.LDX)|*.LDX")};
    if (box == QLatin1String("Save As")) {
        return platform::dialogs().saveFileName(parent, file);
    }
    if (box == QLatin1String("Open")) {
        return platform::dialogs().openFileName(parent, file);
    }
    platform::MessageRequest request;
    request.prompt = QStringLiteral("Save changes?");
    request.buttons = box == QLatin1String("OK")       ? ButtonSet::Ok
                      : box == QLatin1String("Yes/No") ? ButtonSet::YesNo
                                                       : ButtonSet::YesNoCancel;
    request.defaultButton = request.buttons == ButtonSet::Ok ? Button::Ok : Button::Yes;
    return buttonName(platform::dialogs().message(parent, request));
}

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parentGoesAwayWhileOpen_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("closedByUser");  // else deleted outright
        QTest::addColumn<QString>("answer");
        const QList<std::pair<QString, QString>> boxes{{"OK", "Ok"},
                                                       {"Yes/No", "No"},
                                                       {"Yes/No/Cancel", "Cancel"},
                                                       {"Save As", ""},
                                                       {"Open", ""}};
        for (const auto& [box, answer] : boxes) {
            QTest::addRow("%s, parent deleted", qPrintable(box)) << box << false << answer;
            QTest::addRow("%s, parent closed", qPrintable(box)) << box << true << answer;
        }
    }
    // A window closed (assistive technology ignores modality) or deleted while its box is
    // open takes the box with it; the call returns as if the box had been closed.
    void parentGoesAwayWhileOpen() {
        QFETCH(QString, box);
        QFETCH(bool, closedByUser);
        QFETCH(QString, answer);
        auto* parent = new QWidget;
        parent->setAttribute(Qt::WA_DeleteOnClose);
        parent->show();
        const QPointer<QWidget> guard(parent);
        bool listed = false;
        whenModalBoxOpens([&](QWidget*) {
            listed = platform::isShowingBox(parent);
            if (closedByUser) {
                parent->close();
            } else {
                delete parent;
            }
        });
        QCOMPARE(show(box, parent), answer);
        QVERIFY(guard.isNull());
        QVERIFY(listed);
    }

    void closingWithoutAnAnswer_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("byEscape");  // else by the close button
        QTest::addColumn<QString>("answer");
        for (const bool escape : {true, false}) {
            const char* how = escape ? "Escape" : "close button";
            // A Yes/No question stays until answered; the test then answers Yes.
            QTest::addRow("Yes/No, %s", how) << "Yes/No" << escape << "Yes";
            QTest::addRow("Yes/No/Cancel, %s", how) << "Yes/No/Cancel" << escape << "Cancel";
            QTest::addRow("OK, %s", how) << "OK" << escape << "Ok";
        }
    }
    void closingWithoutAnAnswer() {
        QFETCH(QString, box);
        QFETCH(bool, byEscape);
        QFETCH(QString, answer);
        QWidget parent;
        whenModalBoxOpens([&](QWidget* shown) {
            auto* message = qobject_cast<QMessageBox*>(shown);
            if (byEscape) {
                QTest::keyClick(shown, Qt::Key_Escape);
            } else {
                shown->close();
            }
            if (message && message->isVisible() && message->button(QMessageBox::Yes)) {
                message->button(QMessageBox::Yes)->click();
            }
        });
        QCOMPARE(show(box, &parent), answer);
    }

    void fileNamesAsTyped_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("save without extension") << "Save As"
                                                << "games";
        QTest::newRow("save over a file") << "Save As"
                                          << "old.LDX";
        QTest::newRow("open a missing file") << "Open"
                                             << "missing.LDX";
    }
    // No extension added, no question before replacing a file, no must-exist test.
    void fileNamesAsTyped() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile old(dir.filePath(QStringLiteral("old.LDX")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        const QString path = dir.filePath(typed);
        bool asked = false;
        whenModalBoxOpens([&](QWidget* shown) {
            auto* dialog = qobject_cast<QFileDialog*>(shown);
            auto* edit =
                dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!edit) {
                shown->close();
                return;
            }
            // A question would open a box of its own inside the dialog: note it, close it.
            QPointer<QTimer> question = whenModalBoxOpens(
                [&](QWidget* other) {
                    asked = true;
                    other->close();
                },
                dialog);
            edit->setText(path);
            QTest::keyClick(edit, Qt::Key_Return);
            if (dialog->isVisible()) {
                dialog->reject();  // the name was refused
            }
            delete question.data();
        });
        QCOMPARE(show(box, nullptr), path);
        QVERIFY(!asked);
    }

    void listsCollectionFiles_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("Open") << "Open";
        QTest::newRow("Save As") << "Save As";
    }
    // Given the program's filter, the dialog lists the collection files of a folder and no
    // other file.
    void listsCollectionFiles() {
        QFETCH(QString, box);
        QTemporaryDir dir;
        for (const char* name : {"GAME.LDX", "notes.txt"}) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList listed;
        whenModalBoxOpens([&](QWidget* shown) {
            auto* view = shown->findChild<QListView*>(QStringLiteral("listView"));
            if (auto* dialog = qobject_cast<QFileDialog*>(shown); dialog && view) {
                dialog->setDirectory(dir.path());
                const auto rows = [&] { return view->model()->rowCount(view->rootIndex()); };
                // The folder is read in the background; none listed is a failure.
                const bool read = QTest::qWaitFor([&] { return rows() > 0; });
                for (int row = 0; read && row < rows(); ++row) {
                    const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
                    if (index.flags() & Qt::ItemIsEnabled) {
                        listed << index.data().toString();
                    }
                }
            }
            shown->close();
        });
        show(box, nullptr);
        QCOMPARE(listed, QStringList{"GAME.LDX"});
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
