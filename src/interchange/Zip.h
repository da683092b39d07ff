#pragma once

#include <zlib.h>
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <memory>

namespace ludora::interchange {

// The few parts of the zip format that collection files of other programs need: reading one
// member (stored or deflated) as a stream, and writing an archive of one member. No zip64,
// no encryption.

// Whether the bytes begin as a zip archive does.
bool looksLikeZip(QByteArrayView bytes);

// One member of an archive, read a piece at a time: never whole in memory. Its size and
// checksum are checked once it is read to its end; a member that unpacks to more than
// kMaxRatio times its packed size (a zip bomb) fails as soon as it does. A failed read
// returns -1 with the reason in errorString().
class ZipMember final : public QIODevice {
    Q_OBJECT

public:
    static constexpr qint64 kMaxRatio = 1000;

    ZipMember(QIODevice& zip, const QString& name, int method, qint64 packed, qint64 size,
              quint32 crc);
    ~ZipMember() override;

    bool isSequential() const override { return true; }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 fail(const QString& reason);
    // The member is read to its end: its size and checksum must be those of the directory.
    qint64 finish(qint64 produced);
    qint64 inflateInto(char* data, qint64 maxSize);

    QIODevice& zip_;  // at the member's data
    QString name_;
    bool deflated_;
    qint64 packedLeft_;
    qint64 packed_;
    qint64 size_;
    quint32 crc_;
    quint32 running_ = 0;  // the checksum of what was read so far
    qint64 out_ = 0;
    z_stream stream_{};
    QByteArray in_;
    bool done_ = false;
    bool failed_ = false;
};

// Opens the first member whose name is one of `names`. The archive's device must be open,
// allow seeking, stay open and be read by nothing else while the member is read. On a
// damaged archive, a missing member or a method other than stored or deflate, returns null
// with the reason.
std::unique_ptr<ZipMember> openZipMember(QIODevice& zip, const QStringList& names, QString* error);

// An archive holding one deflated member.
QByteArray writeZip(const QString& name, const QByteArray& content);

}  // namespace ludora::interchange
