#include <QStringEncoder>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdio>

#include "Arguments.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/FindIndex.h"
#include "collection/Merge.h"

namespace ludora::ldx {
namespace {

// One "CAPTION<TAB>NAME" line a name, UTF-8, on standard output, in one write; a blank line
// before each group that begins at one of the group ends but the last. The lines are encoded
// straight into room reserved for them all: a duplicates report can hold many thousands.
void printNames(const Collection& collection, const FindIndex::Hits& hits,
                const std::vector<size_t>& groupEnds = {}) {
    std::array<QByteArray, Collection::kTabCount> captions;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        captions[size_t(tab)] = collection.caption(tab).toUtf8() + '\t';
    }
    const auto nameOf = [&](FindIndex::Hit hit) {
        return collection.list(FindIndex::tabOf(hit)).names.at(FindIndex::posOf(hit));
    };
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    qsizetype room = qsizetype(groupEnds.size());
    for (const FindIndex::Hit hit : hits) {
        room += captions[size_t(FindIndex::tabOf(hit))].size() +
                utf8.requiredSpace(nameOf(hit).size()) + 1;
    }
    QByteArray out(room, Qt::Uninitialized);
    char* end = out.data();
    auto groupEnd = groupEnds.begin();
    for (size_t i = 0; i < hits.size(); ++i) {
        if (groupEnd != groupEnds.end() && *groupEnd == i) {
            *end++ = '\n';
            ++groupEnd;
        }
        const QByteArray& caption = captions[size_t(FindIndex::tabOf(hits[i]))];
        end = std::copy(caption.begin(), caption.end(), end);
        end = utf8.appendToBuffer(end, nameOf(hits[i]));
        *end++ = '\n';
    }
    std::fwrite(out.constData(), 1, size_t(end - out.constData()), stdout);
}

// For a command on one collection file: the exit status when its arguments were answered
// already or the file cannot be read, else -1 with the file read into the collection.
int readFirstFile(const Arguments& a, Collection& collection) {
    if (a.answered >= 0) {
        return a.answered;
    }
    return load(a.positional.first(), collection) ? -1 : kBadInput;
}

}  // namespace

int runFind(const QStringList& args) {
    const Arguments a = parse(
        args, WordsFollow, QStringLiteral("find takes one FILE and the WORDS to find"), kFindUsage);
    Collection collection;
    if (const int status = readFirstFile(a, collection); status >= 0) {
        return status;
    }
    FindIndex index(collection);
    const FindIndex::Hits hits = index.find(a.positional.mid(1).join(u' '));
    printNames(collection, hits);
    return hits.empty() ? kBadInput : kOk;
}

int runDuplicates(const QStringList& args) {
    const Arguments a =
        parse(args, 0, QStringLiteral("duplicates takes one FILE"), kDuplicatesUsage);
    Collection collection;
    if (const int status = readFirstFile(a, collection); status >= 0) {
        return status;
    }
    FindIndex index(collection);
    std::vector<size_t> groupEnds;
    const FindIndex::Hits hits = index.duplicates(QString(), FindIndex::kAllLists, &groupEnds);
    printNames(collection, hits, groupEnds);
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
