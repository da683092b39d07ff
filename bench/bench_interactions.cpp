// What a person notices: how long each interaction with a full list (LUDORA_BENCH_NAMES_PER_LIST
// names, 32,767 in bench/run) takes from the key or click until the window is idle again,
// painting included, on the offscreen platform. Each interaction runs many times; the output
// is one line per interaction: its name, the median and the 99th percentile in milliseconds.
//   bench_interactions [SAMPLES]

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QCheckBox>
#include <QComboBox>

#include "app/frmFind.h"
#include "app/frmMain.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "commands/RecoveryCopy.h"

using ludora::Collection;
using ludora::frmMain;

namespace {

void settle() {
    QApplication::processEvents(QEventLoop::AllEvents, 1000);
}

void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

// A key typed with its text, as a keyboard sends it.
void type(QWidget* widget, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
}

// Each keystroke of the texts, in turn, as a text before it and the character typed.
std::vector<std::pair<QString, QChar>> keystrokes(const QStringList& texts) {
    std::vector<std::pair<QString, QChar>> strokes;
    for (const QString& text : texts) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            strokes.emplace_back(text.left(i), text[i]);
        }
    }
    return strokes;
}

void fill(Collection& collection, int tab, int count) {
    ludora::NameStore batch;
    for (int i = 0; i < count; ++i) {
        batch.append(QStringLiteral("Game number %1 of the list").arg(i));
    }
    collection.addNames(tab, std::move(batch));
}

// Runs prepare() untimed, then act() timed until the window is idle, `samples` times, and
// prints the median and the 99th percentile.
void measure(const char* name, int samples, const std::function<void()>& prepare,
             const std::function<void()>& act) {
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        prepare();
        settle();
        QElapsedTimer clock;
        clock.start();
        act();
        settle();
        ms.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    std::printf("%s\t%.3f\t%.3f\n", name, at(0.5), at(0.99));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Recovery copies go to a folder of the run's own.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    const int samples = argc > 1 ? std::atoi(argv[1]) : 200;
    const int full = qEnvironmentVariableIntValue("LUDORA_BENCH_NAMES_PER_LIST") > 0
                         ? qEnvironmentVariableIntValue("LUDORA_BENCH_NAMES_PER_LIST")
                         : Collection::kMaxNames;

    frmMain window;
    window.show();
    // Measured without the copy first, then with it (see "recovery copy kept" below).
    window.recoveryCopy().setDelay(-1);
    Collection& collection = window.collection();
    const int tab = collection.currentTab();
    auto* list = static_cast<QListView*>(window.list(tab));
    auto* text = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("full.LDX"));
    fill(collection, tab, full);
    if (!ludora::WriteCollectionFile(collection, file).ok) {
        return 1;
    }
    collection.setDirty(false);
    settle();
    const auto refill = [&] {
        if (collection.count(tab) < full) {
            fill(collection, tab, full - collection.count(tab));
        }
        collection.setDirty(false);
    };
    const auto clearSelection = [&] {
        refill();
        list->clearSelection();
        list->setCurrentIndex(list->model()->index(0, 0));
        list->setFocus();
    };

    const auto makeRoom = [&] {
        if (collection.count(tab) >= full) {
            collection.removeNameAt(tab, full / 2);
        }
        text->setText(QStringLiteral("Game number 16000 of the list, again"));
    };
    measure("Add Name", samples, makeRoom, [&] { window.Command1_Click(); });
    // With the copy kept, every list full: its snapshot taken at once after each Add Name
    // (instead of a second later), its writing on the worker overlapping the next ones.
    for (int other = 0; other < Collection::kTabCount; ++other) {
        if (other != tab) {
            fill(collection, other, full);
        }
    }
    window.recoveryCopy().setDelay(0);
    measure("Add Name, recovery copy kept", samples, makeRoom, [&] { window.Command1_Click(); });
    window.recoveryCopy().setDelay(-1);
    measure(
        "delete one", samples,
        [&] {
            clearSelection();
            list->setCurrentIndex(list->model()->index(full / 2, 0));
        },
        [&] { window.Command2_Click(); });
    measure(
        "delete all selected", std::max(1, samples / 10),
        [&] {
            clearSelection();
            list->selectAll();
        },
        [&] { window.Command2_Click(); });
    measure(
        "Open", std::max(1, samples / 10), [&] { collection.setDirty(false); },
        [&] { window.openGivenFile(file); });
    measure("Shift+End", samples, clearSelection,
            [&] { key(list, Qt::Key_End, Qt::ShiftModifier); });
    measure("Ctrl+A", samples, clearSelection, [&] { key(list, Qt::Key_A, Qt::ControlModifier); });
    measure(
        "a page of scrolling", samples,
        [&] {
            if (list->verticalScrollBar()->value() >= list->verticalScrollBar()->maximum()) {
                list->scrollToTop();
            }
        },
        [&] { list->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); });

    // Finding, in the largest collection as bench/run writes it.
    const QString largest = qEnvironmentVariable("LUDORA_BENCH_FILE");
    if (largest.isEmpty()) {
        return 0;
    }
    collection.setDirty(false);
    window.openGivenFile(largest);
    ludora::frmFind* find = ludora::frmFind::showWindow(&window);
    auto* query = find->findChild<QLineEdit*>(QStringLiteral("txtFind"));
    auto* in = find->findChild<QComboBox*>(QStringLiteral("cboIn"));
    auto* duplicates = find->findChild<QCheckBox*>(QStringLiteral("chkDuplicates"));
    // The index is made on first use, not at a keystroke.
    query->setText(QStringLiteral("first use"));
    text->setText(QStringLiteral("first use"));
    settle();
    const auto findStrokes =
        keystrokes({"super mario", "zelda", "pokemon 19", "dragon quest", "metal gear solid",
                    "cafe", "street fighter 2", "bonk", "castle night", "champion"});
    size_t next = 0;
    measure(
        "Find, keystroke", samples,
        [&] {
            query->setFocus();
            query->setText(findStrokes[next % findStrokes.size()].first);
        },
        [&] { type(query, findStrokes[next++ % findStrokes.size()].second); });
    // Names of the collection and others, typed into the name box.
    QStringList names;
    for (int t = 0; t < Collection::kTabCount; t += 5) {
        names << collection.nameAt(t, collection.count(t) / 3)
              << QStringLiteral("Not a game %1").arg(t);
    }
    const auto nameStrokes = keystrokes(names);
    next = 0;
    measure(
        "Name box with the marker, keystroke", samples,
        [&] {
            text->setFocus();
            text->setText(nameStrokes[next % nameStrokes.size()].first);
        },
        [&] { type(text, nameStrokes[next++ % nameStrokes.size()].second); });
    query->clear();
    next = 0;
    measure(
        "In: one list, empty query", samples, [] {},
        [&] { in->setCurrentIndex(1 + int(next++ % Collection::kTabCount)); });
    in->setCurrentIndex(0);
    // Each checking of the box, with all lists; the slowest of 20 is what counts.
    measure(
        "Possible duplicates, toggle, slowest", 20, [&] { duplicates->setChecked(false); },
        [&] { duplicates->setChecked(true); });
    return 0;
}
