#include "interchange/OwnFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "interchange/Csv.h"
#include "interchange/JsonStream.h"

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
    // Puts the names into the collection, whose captions are set. A list whose caption has
    // the same first nine characters as an earlier tab's is refused: a collection file would
    // give its names to that tab.
    bool moveInto(Collection& collection, QString* error) {
        for (int tab = 1; tab < Collection::kTabCount; ++tab) {
            const QString key = CaptionKeys::keyOf(collection.caption(tab));
            for (int earlier = 0; !batches_[size_t(tab)].isEmpty() && earlier < tab; ++earlier) {
                if (CaptionKeys::keyOf(collection.caption(earlier)) == key) {
                    *error = QStringLiteral(
                                 "the captions of tabs %1 and %2 begin with the same nine "
                                 "characters (\"%3\"): a collection file would put the names of "
                                 "tab %2 on tab %1")
                                 .arg(earlier)
                                 .arg(tab)
                                 .arg(key.trimmed());
                    return false;
                }
            }
        }
        collection.addNamesToAll(std::move(batches_));
        return true;
    }

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

bool isOwnCsv(QByteArrayView start) {
    if (start.startsWith("\xEF\xBB\xBF")) {
        start = start.sliced(3);
    }
    const qsizetype end = start.indexOf('\n');
    return start.first(end < 0 ? start.size() : end).trimmed() == kHeader;
}

namespace {

// Reads the elements of an array, its '[' already taken: element(i) reads the i-th (false
// stops, its error told). False when the array is cut short or malformed.
template <typename Element>
bool readElements(JsonStream& json, Element&& element) {
    if (json.take(']')) {
        return true;
    }
    qsizetype i = 0;
    do {
        if (json.peek() == 0) {
            return json.fail(QStringLiteral("the text ends inside an array"));
        }
        if (!element(i++)) {
            return false;
        }
    } while (json.take(','));
    return json.take(']') || json.fail(QStringLiteral("',' or ']' was expected"));
}

// An array of one element per tab; false with `shape` as the error when it is not one.
template <typename Element>
bool readPerTab(JsonStream& json, const QString& shape, QString* error, Element&& element) {
    int tabs = 0;
    const bool read = json.take('[') && readElements(json, [&](qsizetype tab) {
                          if (tab >= Collection::kTabCount) {
                              *error = shape;
                              return false;
                          }
                          ++tabs;
                          return element(int(tab));
                      });
    if (read && tabs == Collection::kTabCount) {
        return true;
    }
    if (error->isEmpty() && json.error().isEmpty()) {
        *error = shape;
    }
    return false;
}

// "captions": 25 strings, each the caption a collection file's caption line would give.
bool readCaptions(JsonStream& json, Collection& c, QString* error) {
    return readPerTab(json, QStringLiteral("\"captions\" must be an array of 25 strings"), error,
                      [&](int tab) {
                          if (json.peek() != '"') {
                              *error = QStringLiteral("captions[%1] is not a string").arg(tab);
                              return false;
                          }
                          QString caption;
                          if (!json.readString(&caption)) {
                              return false;
                          }
                          c.setCaption(tab, CaptionKeys::captionFromLine(tab, caption));
                          return true;
                      });
}

// "lists": 25 arrays of names.
bool readLists(JsonStream& json, Lists& names, QString* error) {
    return readPerTab(json, QStringLiteral("\"lists\" must be an array of 25 arrays of strings"),
                      error, [&](int tab) {
                          if (!json.take('[')) {
                              *error = QStringLiteral("lists[%1] is not an array").arg(tab);
                              return false;
                          }
                          return readElements(json, [&](qsizetype i) {
                              const QString where = QStringLiteral("lists[%1][%2]").arg(tab).arg(i);
                              if (json.peek() != '"') {
                                  *error = where + QStringLiteral(" is not a string");
                                  return false;
                              }
                              QString name;
                              return json.readString(&name) && names.add(tab, name, error, where);
                          });
                      });
}

}  // namespace

bool readJson(QIODevice& device, Collection& c, QString* error) {
    JsonStream json(device);
    const auto failed = [&] {
        if (error->isEmpty()) {
            *error = json.error();
        }
        return false;
    };
    if (!json.take('{')) {
        if (json.skipValue() && json.atEnd()) {
            *error = QStringLiteral("the top level is not an object");
            return false;
        }
        return failed();
    }
    Lists names;
    bool captions = false;
    bool lists = false;
    if (!json.take('}')) {
        do {
            QString key;
            if (!json.readString(&key) || !json.take(':')) {
                json.fail(QStringLiteral("a member of an object is not \"name\": value"));
                return failed();
            }
            bool read = false;
            if (key == QLatin1String("captions") && !captions) {
                read = captions = readCaptions(json, c, error);
            } else if (key == QLatin1String("lists") && !lists) {
                read = lists = readLists(json, names, error);
            } else {
                read = json.skipValue();
            }
            if (!read) {
                return failed();
            }
        } while (json.take(','));
        if (!json.take('}')) {
            json.fail(QStringLiteral("',' or '}' was expected"));
            return failed();
        }
    }
    if (!json.atEnd()) {
        json.fail(QStringLiteral("garbage at the end of the document"));
        return failed();
    }
    if (!captions || !lists) {
        *error = !captions ? QStringLiteral("\"captions\" must be an array of 25 strings")
                           : QStringLiteral("\"lists\" must be an array of 25 arrays of strings");
        return false;
    }
    return names.moveInto(c, error);
}

bool readOwnCsv(QIODevice& device, Collection& c, QString* error) {
    if (textEncoding(device) != CsvReader::Encoding::Utf8) {
        *error = QStringLiteral("the file is not UTF-8 text");
        return false;
    }
    CsvReader reader(device, CsvReader::Encoding::Utf8);
    CsvRow row;
    if (!reader.next(row) || row.fields.join(u',') != kHeader) {
        *error = reader.error().isEmpty()
                     ? QStringLiteral("line 1: the header must be \"%1\"").arg(kHeader)
                     : reader.error();
        return false;
    }
    std::array<bool, Collection::kTabCount> captionSet{};
    Lists names;
    while (reader.next(row)) {
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
    if (!reader.error().isEmpty()) {
        *error = reader.error();
        return false;
    }
    return names.moveInto(c, error);
}

}  // namespace ludora::interchange
