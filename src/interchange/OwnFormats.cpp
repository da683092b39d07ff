#include "interchange/OwnFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "interchange/Csv.h"

namespace ludora::interchange {
namespace {

constexpr QLatin1String kHeader("tab,caption,name");

// The names of every list, gathered before they join the collection in one sorted batch each.
class Lists {
public:
    // Adds a name, failing when its list would pass the limit.
    bool add(int tab, const QString& name, QString* error, const QString& where) {
        NameStore& list = batches_[size_t(tab)];
        if (list.size() >= Collection::kMaxNames) {
            *error = QStringLiteral("%1: the list of tab %2 holds more than %3 names")
                         .arg(where)
                         .arg(tab)
                         .arg(Collection::kMaxNames);
            return false;
        }
        list.append(name);
        return true;
    }
    void moveInto(Collection& collection) { collection.addNamesToAll(std::move(batches_)); }

private:
    Collection::Batches batches_;
};

}  // namespace

QByteArray writeJson(const Collection& c) {
    QJsonArray captions;
    QJsonArray lists;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        captions.append(c.caption(tab));
        QJsonArray names;
        for (int pos = 0; pos < c.count(tab); ++pos) {
            names.append(c.nameAt(tab, pos));
        }
        lists.append(names);
    }
    QJsonObject root;
    root.insert(QStringLiteral("captions"), captions);
    root.insert(QStringLiteral("lists"), lists);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray writeOwnCsv(const Collection& c) {
    QString out = kHeader + QStringLiteral("\r\n");
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const QString prefix = QString::number(tab) + u',' + csvField(c.caption(tab)) + u',';
        for (int pos = 0; pos < c.count(tab); ++pos) {
            out += prefix + csvField(c.nameAt(tab, pos)) + QStringLiteral("\r\n");
        }
    }
    return out.toUtf8();
}

QByteArray writeText(const Collection& c) {
    QString out;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (c.count(tab) == 0) {
            continue;
        }
        out += c.caption(tab) + u'\n';
        for (int pos = 0; pos < c.count(tab); ++pos) {
            out += QStringLiteral("  ") + c.nameAt(tab, pos) + u'\n';
        }
        out += u'\n';
    }
    return out.toUtf8();
}

bool isOwnCsv(const QByteArray& content) {
    QByteArrayView start(content);
    if (start.startsWith("\xEF\xBB\xBF")) {
        start = start.sliced(3);
    }
    const qsizetype end = start.indexOf('\n');
    return start.first(end < 0 ? start.size() : end).trimmed() == kHeader;
}

bool readJson(const QByteArray& content, Collection& c, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(content, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error =
            QStringLiteral("offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
        return false;
    }
    if (!doc.isObject()) {
        *error = QStringLiteral("the top level is not an object");
        return false;
    }
    const QJsonObject root = doc.object();
    const QJsonValue captions = root.value(QStringLiteral("captions"));
    const QJsonValue lists = root.value(QStringLiteral("lists"));
    if (!captions.isArray() || captions.toArray().size() != Collection::kTabCount) {
        *error = QStringLiteral("\"captions\" must be an array of 25 strings");
        return false;
    }
    if (!lists.isArray() || lists.toArray().size() != Collection::kTabCount) {
        *error = QStringLiteral("\"lists\" must be an array of 25 arrays of strings");
        return false;
    }
    const QJsonArray captionArray = captions.toArray();
    const QJsonArray listArray = lists.toArray();
    Lists names;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const QJsonValue caption = captionArray.at(tab);
        if (!caption.isString()) {
            *error = QStringLiteral("captions[%1] is not a string").arg(tab);
            return false;
        }
        // Each tab gets the caption a collection file's caption line would give it.
        c.setCaption(tab, CaptionKeys::captionFromLine(tab, caption.toString()));
        const QJsonValue list = listArray.at(tab);
        if (!list.isArray()) {
            *error = QStringLiteral("lists[%1] is not an array").arg(tab);
            return false;
        }
        const QJsonArray nameArray = list.toArray();
        for (qsizetype i = 0; i < nameArray.size(); ++i) {
            const QString where = QStringLiteral("lists[%1][%2]").arg(tab).arg(i);
            if (!nameArray.at(i).isString()) {
                *error = where + QStringLiteral(" is not a string");
                return false;
            }
            if (!names.add(tab, nameArray.at(i).toString(), error, where)) {
                return false;
            }
        }
    }
    names.moveInto(c);
    return true;
}

bool readOwnCsv(const QByteArray& content, Collection& c, QString* error) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(content);
    if (utf8.hasError()) {
        *error = QStringLiteral("the file is not UTF-8 text");
        return false;
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    QList<CsvRow> rows;
    qint64 line = 0;
    if (!parseCsv(text, rows, &line, error)) {
        *error = QStringLiteral("line %1: %2").arg(line).arg(*error);
        return false;
    }
    if (rows.isEmpty() || rows.first().fields.join(u',') != kHeader) {
        *error = QStringLiteral("line 1: the header must be \"%1\"").arg(kHeader);
        return false;
    }
    std::array<bool, Collection::kTabCount> captionSet{};
    Lists names;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows.at(r);
        const QString where = QStringLiteral("line %1").arg(row.line);
        if (row.fields.size() != 3) {
            *error = where + QStringLiteral(": a row needs 3 fields (tab, caption, name), not %1")
                                 .arg(row.fields.size());
            return false;
        }
        bool isNumber = false;
        const int tab = row.fields.at(0).toInt(&isNumber);
        if (!isNumber || tab < 0 || tab >= Collection::kTabCount) {
            *error = where + QStringLiteral(": the tab \"%1\" is not a number from 0 to 24")
                                 .arg(row.fields.at(0));
            return false;
        }
        const QString caption =
            Collection::cleanText(CaptionKeys::captionFromLine(tab, row.fields.at(1)));
        if (captionSet[size_t(tab)] && caption != c.caption(tab)) {
            *error = where + QStringLiteral(": tab %1 has the caption \"%2\" in an earlier row")
                                 .arg(tab)
                                 .arg(c.caption(tab));
            return false;
        }
        c.setCaption(tab, caption);
        captionSet[size_t(tab)] = true;
        if (!names.add(tab, row.fields.at(2), error, where)) {
            return false;
        }
    }
    names.moveInto(c);
    return true;
}

}  // namespace ludora::interchange
