#include "interchange/ItemLimit.h"

#include <QLocale>

namespace ludora::interchange {

ItemLimit::ItemLimit(QIODevice& source, qint64 limit) : source_(source), limit_(limit) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 ItemLimit::readData(char* data, qint64 maxSize) {
    if (failed_) {
        return -1;
    }
    const qint64 room = limit_ - (delivered_ - mark_);
    if (room <= 0) {
        failed_ = true;
        setErrorString(QStringLiteral("one item of the file is larger than %1 MB: refused")
                           .arg(QLocale(QLocale::English).toString(limit_ / (1024 * 1024))));
        return -1;
    }
    const qint64 got = source_.read(data, std::min(maxSize, room));
    if (got < 0) {
        failed_ = true;
        setErrorString(source_.errorString());
        return -1;
    }
    delivered_ += got;
    return got;
}

}  // namespace ludora::interchange
