#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>

namespace ludora::interchange {

// Reads an XML file for a reader that wants only some children of its items (of Tellico's
// entries, their title and platforms): the other children of each item are left out byte by
// byte, never decoded, which spares the XML reader most of a file in which other programs
// fill a dozen fields per game.
//
// A child is left out only whole: once its end tag is found, with nothing between that it
// does not follow (a comment, a CDATA section, a processing instruction) and within
// kMaxSkipped bytes; any other child passes unchanged, and so does everything outside the
// items. What the reader is given is therefore always the file with some complete elements
// taken out. A document type with declarations of its own, or markup longer than
// kMaxSkipped, makes the rest of the file pass unchanged.
class XmlSkimmer final : public QIODevice {
    Q_OBJECT

public:
    static constexpr qsizetype kMaxSkipped = 1024 * 1024;

    XmlSkimmer(QIODevice& source, QByteArray item, QList<QByteArray> kept);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Moves to out_ what can be decided from the bytes read so far; false when more bytes
    // are needed to decide the next markup.
    bool skim();
    // The end of the markup that begins at `at` (one past its last byte), or -1 when the
    // bytes read so far do not hold it all.
    qsizetype markupEnd(qsizetype at) const;
    // The end of the child element that begins at `at`, or -1 when it is not one to leave
    // out (or not all read yet: then *more is set).
    qsizetype skippableEnd(qsizetype at, bool* more) const;

    QIODevice& source_;
    QByteArray item_;
    QList<QByteArray> kept_;
    QByteArray in_;  // read from the source, not yet decided
    qsizetype at_ = 0;
    QByteArray out_;  // decided, not yet handed out
    qsizetype outAt_ = 0;
    int depth_ = 0;         // elements open
    int childDepth_ = -1;   // the depth of an open item's children, or -1
    bool passAll_ = false;  // the rest of the file passes unchanged
    bool sourceEnded_ = false;
    bool failed_ = false;
};

}  // namespace ludora::interchange
