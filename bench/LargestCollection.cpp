#include "LargestCollection.h"

#include <array>
#include <random>

#include "collection/Collection.h"
#include "collection/NameStore.h"

namespace ludora::bench {
namespace {

const std::array<const char16_t*, 40> kWords = {
    u"Super",   u"Mario", u"Kart",    u"Legend",  u"of",   u"Zelda", u"Street", u"Fighter",
    u"Alpha",   u"Turbo", u"Racing",  u"World",   u"Tour", u"Golf",  u"Soccer", u"Champion",
    u"Dragon",  u"Quest", u"Pokémon", u"Château", u"Über", u"Ninja", u"Gaiden", u"Castle",
    u"Night",   u"Star",  u"Fox",     u"Metal",   u"Gear", u"Solid", u"Bomber", u"Man",
    u"Tempest", u"Doom",  u"Wolfen",  u"Bonk",    u"Café", u"Señor", u"Frère",  u"Edition",
};

QString randomName(std::mt19937& rng) {
    std::uniform_int_distribution<int> wordCount(1, 7);
    std::uniform_int_distribution<size_t> word(0, kWords.size() - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    QString name;
    const int words = wordCount(rng);
    for (int w = 0; w < words; ++w) {
        if (!name.isEmpty()) {
            name += u' ';
        }
        name += QString::fromUtf16(kWords[word(rng)]);
    }
    if (percent(rng) < 40) {
        name += QStringLiteral(" %1").arg(std::uniform_int_distribution<int>(2, 2099)(rng));
    }
    if (percent(rng) < 10) {
        name = name.toUpper();  // the same title as another, in other letter case
    }
    if (percent(rng) < 3) {
        name = u' ' + name + u' ';
    }
    if (name.size() < 3) {
        name += QStringLiteral(" II");
    }
    return name.left(60);
}

}  // namespace

QStringList LargestCollection::names(uint32_t seed, int namesPerList) {
    Collection collection;
    fill(collection, seed, namesPerList);
    QStringList all;
    all.reserve(qsizetype(namesPerList) * Collection::kTabCount);
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        for (int pos = 0; pos < collection.count(tab); ++pos) {
            all << collection.nameAt(tab, pos);
        }
    }
    return all;
}

void LargestCollection::fill(Collection& collection, uint32_t seed, int namesPerList) {
    std::mt19937 rng(seed);
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        NameStore batch;
        for (int i = 0; i < namesPerList; ++i) {
            batch.append(randomName(rng));
        }
        collection.addNames(tab, std::move(batch));
    }
}

}  // namespace ludora::bench
