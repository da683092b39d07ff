#include "collection/Collection.h"

#include "collection/ConsoleListModel.h"
#include "collection/EachList.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <vector>

namespace ludora {

namespace {

// The given rows (ascending) as one range per run of consecutive rows.
QItemSelection rowRuns(const QAbstractItemModel* model, const std::vector<int>& rows) {
    QItemSelection runs;
    for (size_t first = 0; first < rows.size();) {
        size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] <= rows[last] + 1) {
            ++last;
        }
        runs.select(model->index(rows[first], 0), model->index(rows[last], 0));
        first = last + 1;
    }
    return runs;
}
}  // namespace

Collection::Collection(QObject* parent) : QObject(parent) {
    for (int tab = 0; tab < kTabCount; ++tab) {
        lists_[size_t(tab)].caption = defaultCaption(tab);
    }
}

Collection::~Collection() = default;

QString Collection::defaultCaption(int tab) {
    // Made once: every collection shares these strings instead of building its own.
    static const std::array<QString, kTabCount> captions = [] {
        std::array<QString, kTabCount> all{QStringLiteral("N64"), QStringLiteral("JAGUAR"),
                                           QStringLiteral("TG16")};
        for (int user = kFirstUserTab; user < kTabCount; ++user) {
            all[size_t(user)] = QStringLiteral("UserDef") + QString::number(user);
        }
        return all;
    }();
    return captions[size_t(tab)];
}

QString Collection::cleanText(QString text) {
    // Most texts hold nothing to clean: they keep sharing their characters.
    const auto dirty = std::find_if(text.cbegin(), text.cend(), [](QChar c) {
        return cleanCharacter(c.unicode()) != c.unicode();
    });
    if (dirty == text.cend()) {
        return text;
    }
    for (QChar& c : text) {
        c = QChar(cleanCharacter(c.unicode()));
    }
    return text;
}

bool Collection::isSelected(int tab, int pos) const {
    const QItemSelectionModel* selection = selections_[size_t(tab)].get();
    return selection && selection->isSelected(models_[size_t(tab)]->index(pos, 0));
}

void Collection::setSelected(int tab, int pos, bool selected) {
    setSelectedRange(tab, pos, pos, selected);
}

void Collection::setSelectedRange(int tab, int first, int last, bool selected) {
    QItemSelectionModel* selection = selectionModel(tab);
    const QAbstractItemModel* names = selection->model();
    selection->select(QItemSelection(names->index(first, 0), names->index(last, 0)),
                      selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void Collection::setCaption(int tab, const QString& caption) {
    const QString clean = cleanText(caption);
    if (lists_[size_t(tab)].caption == clean) {
        return;
    }
    mutableList(tab).caption = clean;
    Q_EMIT captionChanged(tab);
    Q_EMIT changed();
}

void Collection::setAvailable(int tab, bool available) {
    if (lists_[size_t(tab)].available == available) {
        return;
    }
    mutableList(tab).available = available;
    Q_EMIT availabilityChanged(tab);
}

int Collection::addName(int tab, const QString& name) {
    if (isFull(tab)) {
        return -1;
    }
    const QString clean = cleanText(name);
    NameStore& names = mutableList(tab).names;
    const auto pos = int(names.upperBound(clean));
    ConsoleListModel* model = models_[size_t(tab)].get();
    if (model) {
        model->beginInsertRows(QModelIndex(), pos, pos);
    }
    names.insert(pos, clean);
    ++revisions_[size_t(tab)];
    if (model) {
        model->endInsertRows();
    }
    Q_EMIT changed();
    return pos;
}

template <typename Change>
void Collection::resetting(int tab, Change&& change) {
    ConsoleListModel* model = models_[size_t(tab)].get();
    if (model) {
        model->beginResetModel();
    }
    change();
    ++revisions_[size_t(tab)];
    if (model) {
        model->endResetModel();
    }
    Q_EMIT changed();
}

qsizetype Collection::trimBatch(int tab, NameStore& batch) const {
    const qsizetype room = kMaxNames - count(tab);
    const qsizetype refused = std::max<qsizetype>(0, batch.size() - room);
    // Single adds would take the first names that fit, in the batch's order.
    batch.truncate(batch.size() - refused);
    // Cleaned before sorting, as addName() sorts the cleaned text. The characters cleaned
    // are all below 27; most batches have none.
    if (batch.anyCharacter([](char16_t c) { return c < 27; })) {
        batch.mapCharacters(cleanCharacter);
    }
    return refused;
}

void Collection::insertSorted(int tab, NameStore&& batch) {
    if (batch.isEmpty()) {
        return;
    }
    // A merge resets the views, which forgets the selection: note where each selected name
    // goes (after every batch name that sorts before it) and select it there again.
    QItemSelectionModel* selection = selections_[size_t(tab)].get();
    std::vector<int> selectedRows;
    if (selection && selection->hasSelection()) {
        const NameStore& names = list(tab).names;
        for (const QModelIndex& index : selection->selectedRows()) {
            const int row = index.row();
            selectedRows.push_back(row + int(batch.lowerBound(names.at(row))));
        }
        std::sort(selectedRows.begin(), selectedRows.end());
    }
    resetting(tab, [&] {
        NameStore& names = mutableList(tab).names;
        if (names.isEmpty()) {
            names = std::move(batch);
        } else {
            names.mergeFrom(std::move(batch));
        }
    });
    if (!selectedRows.empty()) {
        selection->select(rowRuns(selection->model(), selectedRows), QItemSelectionModel::Select);
    }
}

qsizetype Collection::addNames(int tab, NameStore&& batch) {
    const qsizetype refused = trimBatch(tab, batch);
    batch.sortStable();
    insertSorted(tab, std::move(batch));
    return refused;
}

std::array<qsizetype, Collection::kTabCount> Collection::addNamesToAll(Batches&& batches) {
    std::array<qsizetype, kTabCount> refused{};
    // The batches are independent: each is trimmed and sorted on its own, on several cores.
    // Only the batches leave this thread: the lists and their models are changed here.
    std::vector<int> tabs;
    qsizetype total = 0;
    for (int tab = 0; tab < kTabCount; ++tab) {
        tabs.push_back(tab);
        total += batches[size_t(tab)].size();
    }
    forEachList(tabs, total, [&](int tab) {
        refused[size_t(tab)] = trimBatch(tab, batches[size_t(tab)]);
        batches[size_t(tab)].sortStable();
    });
    for (int tab = 0; tab < kTabCount; ++tab) {
        insertSorted(tab, std::move(batches[size_t(tab)]));
    }
    return refused;
}

void Collection::removeNameAt(int tab, int pos) {
    ConsoleListModel* model = models_[size_t(tab)].get();
    if (model) {
        model->beginRemoveRows(QModelIndex(), pos, pos);
    }
    mutableList(tab).names.removeAt(pos);
    ++revisions_[size_t(tab)];
    if (model) {
        model->endRemoveRows();
    }
    Q_EMIT changed();
}

int Collection::removeSelected(int tab) {
    QItemSelectionModel* selection = selections_[size_t(tab)].get();
    if (!selection || !selection->hasSelection()) {
        return 0;
    }
    std::vector<bool> marked(size_t(count(tab)), false);
    int selectedCount = 0;
    int first = -1;
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && row < count(tab) && !marked[size_t(row)]) {
                marked[size_t(row)] = true;
                first = first < 0 ? row : std::min(first, row);
                ++selectedCount;
            }
        }
    }
    if (selectedCount == 0) {
        return 0;
    }
    if (selectedCount == 1) {
        removeNameAt(tab, first);
        return 1;
    }
    // One pass over the list; views are told once instead of once per name. The reset
    // forgets the cursor: it goes back where removing the names one by one would leave it,
    // on its own name, or on the first name after it when that was removed.
    const int current = selection->currentIndex().row();
    const auto removedAbove =
        current < 0 ? 0 : std::count(marked.begin(), marked.begin() + current, true);
    int removed = 0;
    resetting(tab, [&] { removed = int(mutableList(tab).names.removeMarked(marked)); });
    if (current >= 0 && count(tab) > 0) {
        const int row = std::min(current - int(removedAbove), count(tab) - 1);
        selection->setCurrentIndex(model(tab)->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    return removed;
}

void Collection::clearNames(int tab) {
    if (count(tab) == 0) {
        return;
    }
    resetting(tab, [&] { mutableList(tab).names.clear(); });
}

void Collection::resetCaptions() {
    for (int tab = 0; tab < kTabCount; ++tab) {
        setCaption(tab, defaultCaption(tab));
    }
}

void Collection::takeContent(Collection& other) {
    for (int tab = 0; tab < kTabCount; ++tab) {
        // Emptied first, as a file is read into empty lists: a view shows the new list from
        // its first name, the cursor on it.
        clearNames(tab);
        resetting(tab, [&] { std::swap(mutableList(tab).names, other.mutableList(tab).names); });
        if (QItemSelectionModel* selection = selections_[size_t(tab)].get();
            selection && count(tab) > 0) {
            selection->setCurrentIndex(model(tab)->index(0, 0), QItemSelectionModel::NoUpdate);
        }
        other.clearNames(tab);
        setCaption(tab, other.caption(tab));
    }
}

void Collection::setCurrentTab(int tab) {
    if (tab == currentTab_ || tab < 0 || tab >= kTabCount) {
        return;
    }
    currentTab_ = tab;
    Q_EMIT currentTabChanged(tab);
}

void Collection::setDirty(bool dirty) {
    if (dirty == dirty_) {
        return;
    }
    dirty_ = dirty;
    Q_EMIT changed();
}

void Collection::setFileName(const QString& fileName) {
    if (fileName == fileName_) {
        return;
    }
    fileName_ = fileName;
    Q_EMIT changed();
}

std::unique_ptr<Collection> Collection::snapshot() const {
    auto copy = std::make_unique<Collection>();
    for (int tab = 0; tab < kTabCount; ++tab) {
        copy->mutableList(tab).caption = caption(tab);
        copy->mutableList(tab).names = list(tab).names;
    }
    copy->revisions_ = revisions_;
    copy->fileName_ = fileName_;
    copy->dirty_ = dirty_;
    copy->moveToThread(nullptr);
    return copy;
}

QAbstractItemModel* Collection::model(int tab) const {
    std::unique_ptr<ConsoleListModel>& model = models_[size_t(tab)];
    if (!model) {
        model = std::make_unique<ConsoleListModel>(*this, tab);
    }
    return model.get();
}

QItemSelectionModel* Collection::selectionModel(int tab) const {
    std::unique_ptr<QItemSelectionModel>& selection = selections_[size_t(tab)];
    if (!selection) {
        selection = std::make_unique<QItemSelectionModel>(model(tab));
    }
    return selection.get();
}

}  // namespace ludora
