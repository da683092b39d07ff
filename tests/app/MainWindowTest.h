#pragma once

// Helpers shared by the main window tests: finding controls by object name and driving the
// window as a user would.

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include "app/ConsoleTabs.h"
#include "app/TabHeader.h"
#include "app/frmMain.h"
#include "collection/Collection.h"
#include "collection/NameStore.h"
#include "fixtures/Names.h"

namespace ludora::test {

template <class T>
T* control(QObject* window, const char* objectName) {
    T* found = window->findChild<T*>(QString::fromLatin1(objectName));
    if (!found) {
        QTest::qFail(qPrintable(QStringLiteral("no control ") + QLatin1String(objectName)),
                     __FILE__, __LINE__);
    }
    return found;
}

inline QAction* menuEntry(QObject* window, const char* objectName) {
    return control<QAction>(window, objectName);
}

inline QStringList rowsOf(const QAbstractItemView* view) {
    QStringList rows;
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        rows << model->index(row, 0).data().toString();
    }
    return rows;
}

// Fills a list through the bulk path, as opening a file does.
inline void fillList(Collection& collection, int tab, const QStringList& names) {
    NameStore batch;
    for (const QString& name : names) {
        batch.append(name);
    }
    collection.addNames(tab, std::move(batch));
}

// Clicks a row of a list view, with modifiers (Ctrl for scattered selections).
inline void clickRow(QAbstractItemView* view, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
}

// A window shown and exposed, ready for input.
inline frmMain* openMainWindow() {
    auto* window = new frmMain;
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        QTest::qFail("main window not exposed", __FILE__, __LINE__);
    }
    window->activateWindow();
    return window;
}

// Throws the window away without its closing question.
inline void discardMainWindow(frmMain* window) {
    if (window) {
        window->collection().setDirty(false);
        delete window;
    }
}

}  // namespace ludora::test
