#pragma once

#include <QIODevice>

namespace ludora::interchange {

// Reads another device for a reader of items (the entries of an XML file, say), refusing to
// hand out more than `limit` bytes after the reader last marked the start of an item: a
// file from a stranger gets a bound on memory, whatever one item of it (one game, a comment
// between games, an endless text) holds. A refused read returns -1 with the reason in
// errorString(); so does a read of the other device that fails.
class ItemLimit final : public QIODevice {
    Q_OBJECT

public:
    static constexpr qint64 kLimit = 8 * 1024 * 1024;

    explicit ItemLimit(QIODevice& source, qint64 limit = kLimit);

    // The next bytes begin an item.
    void mark() { mark_ = delivered_; }
    bool failed() const { return failed_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& source_;
    qint64 limit_;
    qint64 delivered_ = 0;
    qint64 mark_ = 0;
    bool failed_ = false;
};

}  // namespace ludora::interchange
