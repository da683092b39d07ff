#include "interchange/TellicoWriter.h"

#include <QStringList>
#include <QXmlStreamWriter>

#include "collection/Collection.h"
#include "interchange/Zip.h"

namespace ludora::interchange {
namespace {

// The platform each of the first three tabs stands for in other programs.
const char16_t* const kConsoles[] = {u"Nintendo 64", u"Atari Jaguar", u"TurboGrafx-16"};

QString platformOf(const Collection& c, int tab) {
    return tab < Collection::kFirstUserTab ? QString::fromUtf16(kConsoles[tab]) : c.caption(tab);
}

// XML 1.0 holds no control characters other than tab, CR and LF.
QString xmlText(QString text) {
    for (QChar& ch : text) {
        if (ch.unicode() < 0x20 && ch != u'\t') {
            ch = u' ';
        }
    }
    return text;
}

}  // namespace

QByteArray writeTellico(const Collection& collection) {
    QStringList used;  // the platforms, for the field's list of allowed values
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        if (collection.count(tab) > 0) {
            used << xmlText(platformOf(collection, tab)).replace(u';', u',');
        }
    }
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeDTD(
        QStringLiteral("<!DOCTYPE tellico PUBLIC \"-//Robby Stephenson/DTD Tellico V11.0//EN\" "
                       "\"http://periapsis.org/tellico/dtd/v11/tellico.dtd\">"));
    w.writeStartElement(QStringLiteral("tellico"));
    w.writeDefaultNamespace(QStringLiteral("http://periapsis.org/tellico/"));
    w.writeAttribute(QStringLiteral("syntaxVersion"), QStringLiteral("11"));
    w.writeStartElement(QStringLiteral("collection"));
    w.writeAttribute(QStringLiteral("title"), QStringLiteral("Ludora"));
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("11"));
    w.writeStartElement(QStringLiteral("fields"));
    w.writeEmptyElement(QStringLiteral("field"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("_default"));
    // Tellico keeps a platform only when the field's allowed values name it.
    w.writeEmptyElement(QStringLiteral("field"));
    w.writeAttribute(QStringLiteral("name"), QStringLiteral("platform"));
    w.writeAttribute(QStringLiteral("title"), QStringLiteral("Platform"));
    w.writeAttribute(QStringLiteral("category"), QStringLiteral("General"));
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("3"));
    w.writeAttribute(QStringLiteral("format"), QStringLiteral("4"));
    w.writeAttribute(QStringLiteral("flags"), QStringLiteral("2"));
    w.writeAttribute(QStringLiteral("allowed"), used.join(u';'));
    w.writeEndElement();
    int id = 0;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        const QString platform = xmlText(platformOf(collection, tab)).replace(u';', u',');
        for (int pos = 0; pos < collection.count(tab); ++pos) {
            w.writeStartElement(QStringLiteral("entry"));
            w.writeAttribute(QStringLiteral("id"), QString::number(++id));
            w.writeTextElement(QStringLiteral("title"), xmlText(collection.nameAt(tab, pos)));
            w.writeTextElement(QStringLiteral("platform"), platform);
            w.writeEndElement();
        }
    }
    w.writeEndDocument();
    return writeZip(QStringLiteral("tellico.xml"), xml);
}

}  // namespace ludora::interchange
