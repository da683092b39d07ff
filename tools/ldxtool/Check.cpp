#include "Check.h"

#include <QFile>
#include <array>
#include <bit>
#include <map>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/ReadObserver.h"

namespace ludora::ldx {
namespace {

// Findings that may occur on many lines are shown for the first few lines only.
constexpr int kShownPerKind = 10;

class Findings {
public:
    explicit Findings(const QString& path) : path_(path) {}

    void file(const QString& text) { list_ << path_ + QStringLiteral(": ") + text; }
    void line(qint64 number, const QString& text) {
        list_ << QStringLiteral("%1:%2: %3").arg(path_).arg(number).arg(text);
    }
    // A finding of a kind that may repeat on many lines.
    void repeated(const QString& kind, qint64 number, const QString& text) {
        int& seen = counts_[kind];
        if (++seen <= kShownPerKind) {
            line(number, text);
        }
    }
    QStringList finish() {
        for (const auto& [kind, count] : counts_) {
            if (count > kShownPerKind) {
                file(QStringLiteral("... and %1 more lines that %2")
                         .arg(count - kShownPerKind)
                         .arg(kind));
            }
        }
        return list_;
    }

private:
    QString path_;
    QStringList list_;
    std::map<QString, int> counts_;
};

QString lineEndName(ReadObserver::LineEnd end) {
    return end == ReadObserver::LineEnd::Cr ? QStringLiteral("CR") : QStringLiteral("LF");
}

// Turns what the reader meets into findings.
class Checker final : public ReadObserver {
public:
    explicit Checker(Findings& findings) : findings_(findings) {}

    void lineRead(qint64 number, LineEnd end, bool invalidUtf8) override {
        if (end == LineEnd::Cr || end == LineEnd::Lf) {
            findings_.repeated(QStringLiteral("end in a lone CR or LF"), number,
                               QStringLiteral("the line ends in a lone %1; the program writes "
                                              "CR LF")
                                   .arg(lineEndName(end)));
        }
        if (invalidUtf8) {
            findings_.repeated(QStringLiteral("hold invalid UTF-8"), number,
                               QStringLiteral("invalid UTF-8; those bytes are read as U+FFFD"));
        }
    }
    void tooShort(int lines) override {
        findings_.file(QStringLiteral("only %1 lines: a collection file starts with the 25 "
                                      "caption lines; the program refuses this file")
                           .arg(lines));
        refused_ = true;
    }
    void captionRead(int tab, qint64 number, QStringView line, const QString& caption) override {
        captions_[size_t(tab)] = caption;
        if (line != caption) {
            findings_.line(
                number,
                QStringLiteral("the caption line reads \"%1\"; the program always shows \"%2\"")
                    .arg(line, caption));
        }
    }
    void keyTakenEarlier(int tab, int earlier, qint64 number) override {
        findings_.line(number, QStringLiteral("tab %1 (\"%2\") has the same caption key as tab "
                                              "%3 (\"%4\"): all its names are read into tab %3")
                                   .arg(tab)
                                   .arg(captions_[size_t(tab)])
                                   .arg(earlier)
                                   .arg(captions_[size_t(earlier)]));
    }
    void nameLineRead(qint64 number, quint32 tabs) override {
        const int added = std::popcount(tabs);
        if (added == 0) {
            findings_.repeated(QStringLiteral("match no caption key"), number,
                               QStringLiteral("matches no caption key; skipped when opened"));
        } else if (added > 1) {
            QStringList shown;
            for (int tab = 0; tab < Collection::kTabCount; ++tab) {
                if (tabs & (1u << tab)) {
                    shown << QString::number(tab);
                }
            }
            findings_.repeated(QStringLiteral("add to several lists"), number,
                               QStringLiteral("adds a name to %1 lists: tabs %2")
                                   .arg(added)
                                   .arg(shown.join(QStringLiteral(", "))));
        }
    }
    void dataEnded(bool sawEndMark, bool dataAfterEndMark) override {
        sawEndMark_ = sawEndMark;
        dataAfterEndMark_ = dataAfterEndMark;
    }

    bool refused() const { return refused_; }
    // The findings about the whole file, once it has been read into the collection.
    void finish(const Collection& collection, const ReadResult& read) {
        for (int tab = 0; tab < Collection::kTabCount; ++tab) {
            if (read.refused[size_t(tab)] > 0) {
                findings_.file(
                    QStringLiteral("tab %1 (\"%2\") has %3 names; only the first %4 are loaded")
                        .arg(tab)
                        .arg(collection.caption(tab))
                        .arg(Collection::kMaxNames + read.refused[size_t(tab)])
                        .arg(Collection::kMaxNames));
            }
        }
        if (!sawEndMark_) {
            findings_.file(
                QStringLiteral("no end mark (character 26): the file is read to its end"));
        } else if (dataAfterEndMark_) {
            findings_.file(QStringLiteral("data after the end mark (character 26) are ignored"));
        }
    }

private:
    Findings& findings_;
    std::array<QString, Collection::kTabCount> captions_;
    bool refused_ = false;
    bool sawEndMark_ = false;
    bool dataAfterEndMark_ = false;
};

}  // namespace

bool checkCollectionFile(const QString& path, QStringList* out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    Findings findings(path);
    Checker checker(findings);
    Collection collection;
    const ReadResult read = ReadCollectionFile(collection, file, path, &checker);
    if (!read.ok && !checker.refused()) {
        *error = file.errorString();
        return false;
    }
    if (read.ok) {
        checker.finish(collection, read);
    }
    *out = findings.finish();
    return true;
}

}  // namespace ludora::ldx
