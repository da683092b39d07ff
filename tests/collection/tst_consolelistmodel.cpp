#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "CollectionTestSupport.h"
#include "collection/Collection.h"
#include "collection/NameStore.h"

using ludora::Collection;

namespace {

QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        rows << model.data(model.index(row, 0)).toString();
    }
    return rows;
}

// The (first, last) pairs of a rowsInserted or rowsRemoved spy.
QList<QPair<int, int>> ranges(const QSignalSpy& spy) {
    QList<QPair<int, int>> result;
    for (const QList<QVariant>& args : spy) {
        result << qMakePair(args.at(1).toInt(), args.at(2).toInt());
    }
    return result;
}

}  // namespace

// Each list of the collection is a Qt item model that views show directly; every change
// must be announced the way views expect.
class TestConsoleListModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsEveryChange() {
        Collection c;
        QAbstractItemModel& model = *c.model(2);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy otherInserted(c.model(1), &QAbstractItemModel::rowsInserted);
        QSignalSpy otherReset(c.model(1), &QAbstractItemModel::modelReset);

        for (const char* name : {"Bonk", "Alien Crush", "Military Madness", "bomberman"}) {
            c.addName(2, QString::fromLatin1(name));
        }
        const QList<QPair<int, int>> insertedAt{{0, 0}, {0, 0}, {2, 2}, {1, 1}};
        QCOMPARE(ranges(inserted), insertedAt);
        QCOMPARE(rowsOf(model),
                 (QStringList{"Alien Crush", "bomberman", "Bonk", "Military Madness"}));
        QCOMPARE(model.rowCount(), c.count(2));

        c.removeNameAt(2, 1);
        QCOMPARE(ranges(removed), (QList<QPair<int, int>>{{1, 1}}));
        QCOMPARE(rowsOf(model), (QStringList{"Alien Crush", "Bonk", "Military Madness"}));

        // One selected name: one row removed; several: one reset.
        c.setSelected(2, 2, true);
        QCOMPARE(c.removeSelected(2), 1);
        QCOMPARE(ranges(removed), (QList<QPair<int, int>>{{1, 1}, {2, 2}}));
        c.addName(2, QStringLiteral("Ys"));
        c.addName(2, QStringLiteral("R-Type"));
        c.setSelectedRange(2, 0, 2, true);
        QCOMPARE(c.removeSelected(2), 3);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(rowsOf(model), QStringList{"Ys"});
        QCOMPARE(c.removeSelected(2), 0);
        QCOMPARE(reset.count(), 1);

        ludora::NameStore batch;
        batch.append(QStringLiteral("Neutopia"));
        batch.append(QStringLiteral("Air Zonk"));
        c.addNames(2, std::move(batch));
        QCOMPARE(reset.count(), 2);
        QCOMPARE(rowsOf(model), (QStringList{"Air Zonk", "Neutopia", "Ys"}));

        c.clearNames(2);
        QCOMPARE(reset.count(), 3);
        QCOMPARE(model.rowCount(), 0);

        Collection loaded;
        loaded.addName(2, QStringLiteral("Splatterhouse"));
        c.takeContent(loaded);
        QCOMPARE(reset.count(), 4);
        QCOMPARE(rowsOf(model), QStringList{"Splatterhouse"});

        QCOMPARE(otherInserted.count(), 0);
        QCOMPARE(otherReset.count(), 1);  // takeContent replaces every list
    }

    void rowsAndFlags() {
        Collection c;
        c.addName(0, QStringLiteral("GoldenEye 007"));
        QAbstractItemModel& model = *c.model(0);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.rowCount(model.index(0, 0)), 0);
        QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(),
                 QStringLiteral("GoldenEye 007"));
        QVERIFY(!model.data(model.index(1, 0)).isValid());
        QVERIFY(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsSelectable));
        QVERIFY(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEnabled));
        QVERIFY(!model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("x")));
    }

    void fullListAnnouncesNothing() {
        Collection c;
        ludora::NameStore batch;
        for (int i = 0; i < Collection::kMaxNames; ++i) {
            batch.append(QString::number(i));
        }
        c.addNames(4, std::move(batch));
        QAbstractItemModelTester tester(c.model(4),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(c.model(4), &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(c.model(4), &QAbstractItemModel::modelReset);
        QCOMPARE(c.addName(4, QStringLiteral("one more")), -1);
        ludora::NameStore more;
        more.append(QStringLiteral("and more"));
        QCOMPARE(c.addNames(4, std::move(more)), 1);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(c.model(4)->rowCount(), Collection::kMaxNames);
    }
};

QTEST_GUILESS_MAIN(TestConsoleListModel)
#include "tst_consolelistmodel.moc"
