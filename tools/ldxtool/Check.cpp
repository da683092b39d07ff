#include "Check.h"

#include <QFile>
#include <array>
#include <map>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "collection/CollectionLineReader.h"

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

QString lineEndName(CollectionLineReader::LineEnd end) {
    return end == CollectionLineReader::LineEnd::Cr ? QStringLiteral("CR") : QStringLiteral("LF");
}

void noteLine(const CollectionLineReader& reader, Findings& findings) {
    const auto end = reader.lineEnd();
    if (end == CollectionLineReader::LineEnd::Cr || end == CollectionLineReader::LineEnd::Lf) {
        findings.repeated(QStringLiteral("end in a lone CR or LF"), reader.lineNumber(),
                          QStringLiteral("the line ends in a lone %1; the program writes CR LF")
                              .arg(lineEndName(end)));
    }
    if (reader.lineHadInvalidUtf8()) {
        findings.repeated(QStringLiteral("hold invalid UTF-8"), reader.lineNumber(),
                          QStringLiteral("invalid UTF-8; those bytes are read as U+FFFD"));
    }
}

}  // namespace

bool checkCollectionFile(const QString& path, QStringList* out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    Findings findings(path);
    CollectionLineReader reader(file);
    QString line;
    CaptionKeys keys;
    std::array<QString, Collection::kTabCount> captions;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (!reader.readLine(line)) {
            if (reader.failed()) {
                *error = reader.errorString();
                return false;
            }
            findings.file(QStringLiteral("only %1 lines: a collection file starts with the 25 "
                                         "caption lines; the program refuses this file")
                              .arg(tab));
            *out = findings.finish();
            return true;
        }
        noteLine(reader, findings);
        captions[size_t(tab)] =
            tab < Collection::kFirstUserTab ? Collection::defaultCaption(tab) : line;
        if (tab < Collection::kFirstUserTab && line != captions[size_t(tab)]) {
            findings.line(
                reader.lineNumber(),
                QStringLiteral("the caption line reads \"%1\"; the program always shows \"%2\"")
                    .arg(line, captions[size_t(tab)]));
        }
        keys.set(tab, captions[size_t(tab)]);
        for (int earlier = 0; earlier < tab; ++earlier) {
            if (keys.key(earlier) == keys.key(tab)) {
                findings.line(reader.lineNumber(),
                              QStringLiteral("tab %1 (\"%2\") has the same caption key as tab %3 "
                                             "(\"%4\"): all its names are read into tab %3")
                                  .arg(tab)
                                  .arg(captions[size_t(tab)])
                                  .arg(earlier)
                                  .arg(captions[size_t(earlier)]));
                break;
            }
        }
    }

    std::array<qint64, Collection::kTabCount> counts{};
    while (reader.readLine(line)) {
        noteLine(reader, findings);
        QStringList tabs;
        const int added = keys.route(line, [&](int tab, QStringView) {
            ++counts[size_t(tab)];
            tabs << QString::number(tab);
        });
        if (added == 0) {
            findings.repeated(QStringLiteral("match no caption key"), reader.lineNumber(),
                              QStringLiteral("matches no caption key; skipped when opened"));
        } else if (added > 1) {
            findings.repeated(QStringLiteral("add to several lists"), reader.lineNumber(),
                              QStringLiteral("adds a name to %1 lists: tabs %2")
                                  .arg(added)
                                  .arg(tabs.join(QStringLiteral(", "))));
        }
    }
    if (reader.failed()) {
        *error = reader.errorString();
        return false;
    }
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (counts[size_t(tab)] > Collection::kMaxNames) {
            findings.file(
                QStringLiteral("tab %1 (\"%2\") has %3 names; only the first %4 are loaded")
                    .arg(tab)
                    .arg(captions[size_t(tab)])
                    .arg(counts[size_t(tab)])
                    .arg(Collection::kMaxNames));
        }
    }
    if (!reader.sawEndMark()) {
        findings.file(QStringLiteral("no end mark (character 26): the file is read to its end"));
    } else if (reader.dataAfterEndMark()) {
        findings.file(QStringLiteral("data after the end mark (character 26) are ignored"));
    }
    *out = findings.finish();
    return true;
}

}  // namespace ludora::ldx
