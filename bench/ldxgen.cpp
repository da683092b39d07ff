// Writes the largest collection as a collection file, and its names one to a line for the
// sort reference: ldxgen OUT.LDX [NAMES.txt] [--names-per-list N] [--seed S]

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "fixtures/LargestCollection.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int perList = ludora::bench::LargestCollection::kNamesPerList;
    uint32_t seed = 1;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--names-per-list") && i + 1 < args.size()) {
            perList = args[++i].toInt();
        } else if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args[++i].toUInt();
        } else {
            files << args[i];
        }
    }
    if (files.isEmpty()) {
        std::fputs("usage: ldxgen OUT.LDX [NAMES.txt] [--names-per-list N] [--seed S]\n", stderr);
        return 2;
    }
    ludora::Collection collection;
    ludora::bench::LargestCollection::fill(collection, seed, perList);
    const ludora::WriteResult written = ludora::WriteCollectionFile(collection, files[0]);
    if (!written.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(written.error));
        return 1;
    }
    if (files.size() > 1) {
        QFile names(files[1]);
        if (!names.open(QIODevice::WriteOnly)) {
            return 1;
        }
        for (int tab = 0; tab < ludora::Collection::kTabCount; ++tab) {
            for (int pos = 0; pos < collection.count(tab); ++pos) {
                names.write(collection.nameAt(tab, pos).toUtf8() + '\n');
            }
        }
    }
    return 0;
}
