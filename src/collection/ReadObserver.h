#pragma once

#include <QString>
#include <QStringView>

#include "collection/CollectionLineReader.h"

namespace ludora {

// Told what reading a collection file meets, line by line, for a report on the file. A file
// read with an observer is read on one thread, in file order.
class ReadObserver {
public:
    using LineEnd = CollectionLineReader::LineEnd;

    virtual ~ReadObserver() = default;

    // Every line read, caption or name: how it ended, and whether it held bytes that are not
    // valid UTF-8 (each such sequence is read as U+FFFD).
    virtual void lineRead(qint64 /*number*/, LineEnd /*end*/, bool /*invalidUtf8*/) {}
    // The file ended after this many lines, before the 25 caption lines: it is refused.
    virtual void tooShort(int /*lines*/) {}
    // A caption line as the file holds it, and the caption its tab got from it.
    virtual void captionRead(int /*tab*/, qint64 /*number*/, QStringView /*line*/,
                             const QString& /*caption*/) {}
    // A tab whose caption key an earlier tab has: the earlier tab takes every line that key
    // begins.
    virtual void keyTakenEarlier(int /*tab*/, int /*earlier*/, qint64 /*number*/) {}
    // A name line, and the tabs it added a name to, one bit per tab (none: it is skipped).
    virtual void nameLineRead(qint64 /*number*/, quint32 /*tabs*/) {}
    // The data ended, at the end mark or at the end of the file; whether anything but the
    // mark's own line end followed the mark.
    virtual void dataEnded(bool /*sawEndMark*/, bool /*dataAfterEndMark*/) {}
};

}  // namespace ludora
