#include <QStringList>
#include <array>
#include <cstdio>

#include "Arguments.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/FindIndex.h"
#include "collection/Merge.h"

namespace ludora::ldx {
namespace {

// One "CAPTION<TAB>NAME" line a name, UTF-8, on standard output.
void printNames(const Collection& collection, const FindIndex::Hits& hits, qsizetype from,
                qsizetype to) {
    std::array<QByteArray, Collection::kTabCount> captions;
    QByteArray out;
    for (qsizetype i = from; i < to; ++i) {
        const int tab = FindIndex::tabOf(hits[size_t(i)]);
        if (captions[size_t(tab)].isNull()) {
            captions[size_t(tab)] = collection.caption(tab).toUtf8() + '\t';
        }
        out += captions[size_t(tab)];
        out += collection.list(tab).names.at(FindIndex::posOf(hits[size_t(i)])).toUtf8();
        out += '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
}

}  // namespace

int runFind(const QStringList& args) {
    const Arguments a = parse(
        args, WordsFollow, QStringLiteral("find takes one FILE and the WORDS to find"), kFindUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    FindIndex index(collection);
    const FindIndex::Hits hits = index.find(a.positional.mid(1).join(u' '));
    printNames(collection, hits, 0, qsizetype(hits.size()));
    return hits.empty() ? kBadInput : kOk;
}

int runDuplicates(const QStringList& args) {
    const Arguments a =
        parse(args, 0, QStringLiteral("duplicates takes one FILE"), kDuplicatesUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    Collection collection;
    if (!load(a.positional.first(), collection)) {
        return kBadInput;
    }
    FindIndex index(collection);
    std::vector<size_t> groupEnds;
    const FindIndex::Hits hits = index.duplicates(QString(), FindIndex::kAllLists, &groupEnds);
    size_t start = 0;
    for (const size_t end : groupEnds) {
        if (start > 0) {
            std::fputs("\n", stdout);  // a blank line between groups
        }
        printNames(collection, hits, qsizetype(start), qsizetype(end));
        start = end;
    }
    return kOk;
}

int runMerge(const QStringList& args) {
    const Arguments a = parse(args, TwoFiles | OutputOption | BaseOption,
                              QStringLiteral("merge takes MINE, THEIRS and -o OUT"), kMergeUsage);
    if (a.answered >= 0) {
        return a.answered;
    }
    Collection mine;
    Collection theirs;
    Collection base;
    if (!load(a.positional.at(0), mine) || !load(a.positional.at(1), theirs) ||
        (!a.base.isEmpty() && !load(a.base, base))) {
        return kBadInput;
    }
    const MergeResult merged = mergeCollections(mine, theirs, a.base.isEmpty() ? nullptr : &base);
    const WriteResult written = WriteCollectionFile(mine, a.output);
    if (!written.ok) {
        printErr(QStringLiteral("ldxtool: ") + written.error);
        return kBadInput;
    }
    printErr(QStringLiteral("%1 merged into %2:\n%3")
                 .arg(a.positional.at(1), a.positional.at(0), mergeSummary(mine, merged)));
    return kOk;
}

}  // namespace ludora::ldx
