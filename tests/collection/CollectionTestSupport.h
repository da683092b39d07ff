#pragma once

// Helpers shared by the collection tests: reading and writing through memory, building
// collection files line by line, random collections, and devices that misbehave.

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "fixtures/Names.h"

namespace ludora::test {

// The names of a list with a '*' in front of each selected one.
QStringList entriesOf(const Collection& collection, int tab);
// The 25 captions.
QStringList captionsOf(const Collection& collection);
// Every non-empty list.
QMap<int, QStringList> listsOf(const Collection& collection);

// The bytes WriteCollectionFile produces for the collection (fails the test if it fails).
QByteArray writeToBytes(const Collection& collection);
// Reads bytes as a collection file. With piece > 0 the device hands out at most that many
// bytes per read, so every line end falls on a read boundary somewhere.
ReadResult readFromBytes(Collection& collection, const QByteArray& bytes, qint64 piece = 0);

// The 25 caption lines of a fresh collection, without line ends.
QList<QByteArray> defaultCaptionLines();
// Each line followed by CR LF.
QByteArray crlf(const QList<QByteArray>& lines);
// Default caption lines, then the name lines, then the end mark line.
QByteArray fileWithNames(const QList<QByteArray>& nameLines);

QByteArray fileBytes(const QString& path);
void putFile(const QString& path, const QByteArray& bytes);
// A file in the tests' data folder.
QString dataFile(const QString& name);
// The names of the entries of a folder, hidden ones included.
QStringList folderEntries(const QString& folder);

// Fills the lists with random names (blanks around them, empty names, names equal but for
// letter case, Windows-1252 letters, and with nonWestern also Japanese) and gives tabs 3
// to 24 random captions with distinct keys. No name begins with a caption key, so the
// collection survives a write and a read unchanged.
void fillRandom(Collection& collection, quint32 seed, bool nonWestern, int maxPerList = 40);
QString randomText(QRandomGenerator& rng, QStringView alphabet, int minLength, int maxLength);

// A buffer that hands out at most `piece` bytes per read.
class TrickleBuffer : public QBuffer {
public:
    TrickleBuffer(QByteArray* data, qint64 piece) : QBuffer(data), piece_(piece) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        return QBuffer::readData(data, std::min(maxSize, piece_));
    }

private:
    qint64 piece_;
};

// A buffer that fails once `limit` bytes have been read or written.
class FailingBuffer : public QBuffer {
public:
    FailingBuffer(QByteArray* data, qint64 limit) : QBuffer(data), limit_(limit) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    qint64 limit_;
    qint64 passed_ = 0;
};

inline constexpr char kFailingBufferReason[] = "Simulated device failure";

}  // namespace ludora::test
