#include "collection/Merge.h"

#include <QLocale>
#include <algorithm>
#include <vector>

#include "collection/NameOrder.h"

namespace ludora {
namespace {

enum Side : quint8 { Mine, Theirs, Base };

// How many times the merged list holds a name that mine holds m times, theirs t times and
// the base b times.
qsizetype mergedCount(qsizetype m, qsizetype t, qsizetype b, bool threeWays) {
    if (!threeWays) {
        return std::max(m, t);
    }
    const qsizetype dm = m - b;
    const qsizetype dt = t - b;
    if (dm == 0) {
        return t;
    }
    if (dt == 0) {
        return m;
    }
    if (dm > 0 && dt > 0) {
        return b + std::max(dm, dt);  // the same name added on both sides is one addition
    }
    if (dm < 0 && dt < 0) {
        return b + std::min(dm, dt);
    }
    return std::max<qsizetype>(0, b + dm + dt);
}

// Merges one list. The lists are sorted, so names that compare equal (letter case aside)
// lie together in each: the merge walks them group by group, and within a group counts
// each exact name on each side.
class ListMerge {
public:
    ListMerge(const NameStore& mine, const NameStore& theirs, const NameStore* base)
        : lists_{&mine, &theirs, base} {}

    // The merged list, sorted, and what it added and deleted.
    NameStore run(qsizetype* added, qsizetype* deleted) {
        NameStore out;
        out.reserve(lists_[Mine]->size() + lists_[Theirs]->size());
        for (;;) {
            QStringView first;
            bool any = false;
            for (int side = Mine; side <= Base; ++side) {
                if (more(side) && (!any || nameLess(head(side), first))) {
                    first = head(side);
                    any = true;
                }
            }
            if (!any) {
                return out;
            }
            group(first);
            for (const Entry& e : entries_) {
                Run& r = runs_[size_t(e.run)];
                if (e.side == Mine && r.kept > 0) {
                    out.append(e.text);
                    --r.kept;
                }
            }
            for (const Entry& e : entries_) {
                Run& r = runs_[size_t(e.run)];
                if (e.side == Theirs && r.kept > 0) {
                    out.append(e.text);
                    --r.kept;
                    ++*added;
                }
            }
            for (const Run& r : runs_) {
                *deleted += std::max<qsizetype>(0, r.count[Mine] - r.merged);
            }
        }
    }

private:
    struct Entry {
        QStringView text;
        Side side;
        int run;
    };
    struct Run {
        qsizetype count[3] = {0, 0, 0};
        qsizetype merged = 0;
        qsizetype kept = 0;  // left to put out
    };

    bool more(int side) const { return lists_[side] && at_[side] < lists_[side]->size(); }
    QStringView head(int side) const { return lists_[side]->at(at_[side]); }

    // Takes the names of every side that compare equal to `first`, and counts each exact
    // name's copies: entries_ in each side's order, runs_ one per exact name.
    void group(QStringView first) {
        entries_.clear();
        for (int side = Mine; side <= Base; ++side) {
            while (more(side) && compareNames(head(side), first) == 0) {
                entries_.push_back(Entry{head(side), Side(side), 0});
                ++at_[side];
            }
        }
        order_.resize(entries_.size());
        for (size_t i = 0; i < order_.size(); ++i) {
            order_[i] = i;
        }
        std::stable_sort(order_.begin(), order_.end(), [this](size_t a, size_t b) {
            return entries_[a].text < entries_[b].text;
        });
        runs_.clear();
        for (size_t i = 0; i < order_.size(); ++i) {
            Entry& e = entries_[order_[i]];
            if (i == 0 || e.text != entries_[order_[i - 1]].text) {
                runs_.emplace_back();
            }
            e.run = int(runs_.size()) - 1;
            ++runs_.back().count[e.side];
        }
        for (Run& r : runs_) {
            r.merged = r.kept =
                mergedCount(r.count[Mine], r.count[Theirs], r.count[Base], lists_[Base]);
        }
    }

    const NameStore* lists_[3];
    qsizetype at_[3] = {0, 0, 0};
    std::vector<Entry> entries_;
    std::vector<size_t> order_;
    std::vector<Run> runs_;
};

QString number(qsizetype n) {
    return QLocale(QLocale::English).toString(n);
}

}  // namespace

MergeResult mergeCollections(Collection& mine, const Collection& theirs, const Collection* base) {
    MergeResult result;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (base && mine.caption(tab) == base->caption(tab) &&
            theirs.caption(tab) != base->caption(tab)) {
            mine.setCaption(tab, theirs.caption(tab));
        }
        const size_t t = size_t(tab);
        NameStore merged = ListMerge(mine.list(tab).names, theirs.list(tab).names,
                                     base ? &base->list(tab).names : nullptr)
                               .run(&result.added[t], &result.deleted[t]);
        if (result.added[t] == 0 && result.deleted[t] == 0) {
            continue;  // the list stays as it is, its selection with it
        }
        mine.clearNames(tab);
        result.leftOut[t] = mine.addNames(tab, std::move(merged));
    }
    return result;
}

QString mergeSummary(const Collection& merged, const MergeResult& result) {
    QStringList lines;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const size_t t = size_t(tab);
        if (result.added[t] == 0 && result.deleted[t] == 0) {
            continue;
        }
        QString line =
            QStringLiteral("  tab %1 \"%2\": %3 added, %4 deleted")
                .arg(tab + 1)
                .arg(merged.caption(tab), number(result.added[t]), number(result.deleted[t]));
        if (result.leftOut[t] > 0) {
            line += QStringLiteral("; %1 left out, as a list holds at most %2 names")
                        .arg(number(result.leftOut[t]), number(Collection::kMaxNames));
        }
        lines << line;
    }
    return lines.isEmpty() ? QStringLiteral("No names were added or deleted.") : lines.join(u'\n');
}

}  // namespace ludora
