#include "collection/CaptionKeys.h"

#include <algorithm>

namespace ludora {

QString CaptionKeys::keyOf(QStringView caption) {
    // A pair of surrogates counts as one character: a key never ends in half a character,
    // which UTF-8 could not hold.
    qsizetype units = 0;
    int characters = 0;
    while (units < caption.size() && characters < kLength) {
        const bool pair = caption[units].isHighSurrogate() && units + 1 < caption.size() &&
                          caption[units + 1].isLowSurrogate();
        units += pair ? 2 : 1;
        ++characters;
    }
    // Blanks, then the characters over them: one allocation, as this runs for every tab of
    // every file read.
    QString key(units + (kLength - characters), u' ');
    std::copy(caption.begin(), caption.begin() + units, key.begin());
    return key;
}

QString CaptionKeys::captionFromLine(int tab, const QString& line) {
    return tab < Collection::kFirstUserTab ? Collection::defaultCaption(tab) : line;
}

}  // namespace ludora
