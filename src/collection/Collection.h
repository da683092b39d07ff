#pragma once

#include <QObject>
#include <QString>
#include <QStringView>
#include <array>
#include <memory>

#include "collection/ConsoleList.h"
#include "collection/FileFormat.h"

class QAbstractItemModel;
class QItemSelectionModel;

namespace ludora {

class ConsoleListModel;
struct FileRecord;

// The collection: 25 console lists, the current tab, the file it belongs to and whether it
// has unsaved changes. It is the one copy of the names; windows show it through model().
//
// The operations never fail. addName() and addNames() refuse names that would take a list
// past kMaxNames and say so in their result.
class Collection : public QObject {
    Q_OBJECT

public:
    static constexpr int kTabCount = 25;
    // Counts and positions within a list are 16-bit signed numbers.
    static constexpr int kMaxNames = 32767;
    static constexpr int kFirstUserTab = 3;
    static constexpr int kInitialTab = 2;

    explicit Collection(QObject* parent = nullptr);
    ~Collection() override;

    // "N64", "JAGUAR", "TG16", then "UserDef3" to "UserDef24".
    static QString defaultCaption(int tab);
    // CR, LF and character 26 cannot be stored in a collection file line: each becomes a
    // blank. Every name and caption enters the collection through here.
    static QString cleanText(QString text);
    // The same for one character.
    static constexpr char16_t cleanCharacter(char16_t c) {
        return (c == format::kCr || c == format::kLf || c == format::kEndMark) ? u' ' : c;
    }

    const ConsoleList& list(int tab) const { return lists_[size_t(tab)]; }
    int count(int tab) const { return int(lists_[size_t(tab)].names.size()); }
    bool isFull(int tab) const { return count(tab) >= kMaxNames; }
    QString nameAt(int tab, int pos) const { return list(tab).names.at(pos).toString(); }
    // Which names are selected lives in the list's selection model alone, which every view of
    // the list shares; these read and change it.
    bool isSelected(int tab, int pos) const;
    void setSelected(int tab, int pos, bool selected);
    void setSelectedRange(int tab, int first, int last, bool selected);

    const QString& caption(int tab) const { return list(tab).caption; }
    void setCaption(int tab, const QString& caption);
    bool isAvailable(int tab) const { return list(tab).available; }
    void setAvailable(int tab, bool available);

    // Inserts the name at its sorted place, after names equal to it, unselected. Returns the
    // position, or -1 when the list is full. Leaves dirty alone.
    int addName(int tab, const QString& name);
    // Adds many names at once, giving exactly the list that one addName() per name, in the
    // batch's order, would give. Returns how many names did not fit.
    qsizetype addNames(int tab, NameStore&& batch);
    // The same for every list at once, one batch per tab; the batches are sorted in
    // parallel. Returns how many names of each batch did not fit.
    using Batches = std::array<NameStore, kTabCount>;
    std::array<qsizetype, kTabCount> addNamesToAll(Batches&& batches);
    void removeNameAt(int tab, int pos);
    // Removes every selected name of the list. Returns how many were removed.
    int removeSelected(int tab);
    void clearNames(int tab);
    void resetCaptions();
    // Takes the captions and names of another collection, leaving it empty; the current tab,
    // availability, file name and dirty flag stay as they are.
    void takeContent(Collection& other);

    int currentTab() const { return currentTab_; }
    void setCurrentTab(int tab);
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& fileName);
    bool isDirty() const { return dirty_; }
    void setDirty(bool dirty);
    // What the current file held when the collection last read or wrote it; null when that
    // is not known (no file yet, or a collection brought back from a recovery copy).
    const std::shared_ptr<const FileRecord>& fileRecord() const { return fileRecord_; }
    void setFileRecord(std::shared_ptr<const FileRecord> record) {
        fileRecord_ = std::move(record);
    }

    // Counts the changes of a list's names: an index of the list knows when to renew itself.
    quint64 revision(int tab) const { return revisions_[size_t(tab)]; }
    // A collection with the same captions, names, file name and dirty flag, sharing its lists
    // with this one until either changes: cheap to make, and safe to read on another thread
    // while this collection goes on changing. It belongs to no thread.
    std::unique_ptr<Collection> snapshot() const;

    // The list as a Qt item model, for list views. Made on the first call: a collection
    // that no view shows (a file read by a tool) carries no models.
    QAbstractItemModel* model(int tab) const;
    // The list's selection: a name moves with its selection when names come and go, and a
    // name added is unselected. Made with the model.
    QItemSelectionModel* selectionModel(int tab) const;

Q_SIGNALS:
    void captionChanged(int tab);
    void availabilityChanged(int tab);
    void currentTabChanged(int tab);
    // Anything a collection file or its snapshot holds has changed: names, captions, the
    // file name or the dirty flag.
    void changed();

private:
    ConsoleList& mutableList(int tab) { return lists_[size_t(tab)]; }
    // Keeps the names of a batch that fit into the list, cleaned; returns how many did not.
    qsizetype trimBatch(int tab, NameStore& batch) const;
    // Puts a sorted batch into its list.
    void insertSorted(int tab, NameStore&& batch);
    // Runs change() between the model's announcements of a reset, when the list has a model.
    template <typename Change>
    void resetting(int tab, Change&& change);

    std::array<ConsoleList, kTabCount> lists_;
    // Made by model() when a view first asks; null until then.
    mutable std::array<std::unique_ptr<ConsoleListModel>, kTabCount> models_;
    // Declared after the models, so that each goes before its model.
    mutable std::array<std::unique_ptr<QItemSelectionModel>, kTabCount> selections_;
    std::array<quint64, kTabCount> revisions_{};
    int currentTab_ = kInitialTab;
    QString fileName_;
    std::shared_ptr<const FileRecord> fileRecord_;
    bool dirty_ = false;
};

}  // namespace ludora
