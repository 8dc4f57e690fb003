#include "sheet/XlsxWorkbook.h"

#include "sheet/ExcelDate.h"
#include "sheet/NumberFormat.h"

#include <QDir>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

// Relationship types end the same in the transitional and the strict schema.
bool relTypeIs(const QString& type, const char* suffix) {
    return type.endsWith(QLatin1String(suffix));
}

// The _xHHHH_ escapes of ECMA-376 (22.9.2.19) in shared and inline strings.
QString decodeEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression re(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    int last = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        out += QChar(static_cast<ushort>(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

// "AB12" -> row 12, column 28. False for a malformed reference.
bool parseCellRef(QStringView ref, int* row, int* column) {
    int i = 0;
    int col = 0;
    while (i < ref.size() && ref.at(i).isLetter()) {
        const ushort u = ref.at(i).toUpper().unicode();
        if (u < 'A' || u > 'Z')
            return false;
        col = col * 26 + (u - 'A' + 1);
        if (col > 16384)
            return false;
        ++i;
    }
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (i == 0 || !ok || r < 1 || r > 1048576)
        return false;
    *row = r;
    *column = col;
    return true;
}

// The text of an <si> or <is> element: every <t>, also inside rich-text runs <r>, without
// the phonetic runs <rPh>. The reader stands on the start element; it ends on its end.
QString readStringItem(QXmlStreamReader& xml) {
    QString text;
    const QString endName = xml.name().toString();
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh") || xml.name() == QLatin1String("phoneticPr")) {
                xml.skipCurrentElement();
            } else if (xml.name() == QLatin1String("t")) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == endName) {
            break;
        }
    }
    return decodeEscapes(text);
}

QString relationshipId(const QXmlStreamAttributes& attrs) {
    for (const QXmlStreamAttribute& a : attrs) {
        if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
            return a.value().toString();
    }
    for (const QXmlStreamAttribute& a : attrs) {
        if (a.qualifiedName().endsWith(QLatin1String(":id")))
            return a.value().toString();
    }
    return QString();
}

bool isTrue(QStringView v) {
    return v == QLatin1String("1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

XlsxWorkbook::XlsxWorkbook(const QString& path) : Workbook(path) {}

QString XlsxWorkbook::damaged(const QString& detail) const {
    return openError(path(), tr("文件已损坏或不是Excel工作簿，%1").arg(detail));
}

bool XlsxWorkbook::readPart(QuaZip& zip, const QString& name, QByteArray* data, QString* error) const {
    data->clear();
    if (!zip.setCurrentFile(name, QuaZip::csInsensitive)) {
        if (error)
            *error = damaged(tr("缺少%1").arg(name));
        return false;
    }
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = damaged(tr("%1无法解压").arg(name));
        return false;
    }
    *data = file.readAll();
    file.close();
    if (file.getZipError() != UNZ_OK) {
        if (error)
            *error = damaged(tr("%1校验失败").arg(name));
        return false;
    }
    return true;
}

QHash<QString, QPair<QString, QString>> XlsxWorkbook::parseRelationships(const QByteArray& xml,
                                                                         const QString& baseDir) const {
    // Id -> (type, part name inside the package)
    QHash<QString, QPair<QString, QString>> rels;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != QLatin1String("Relationship"))
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (a.value(QLatin1String("TargetMode")) == QLatin1String("External"))
            continue;
        QString target = a.value(QLatin1String("Target")).toString();
        if (target.startsWith(QLatin1Char('/')))
            target = target.mid(1);
        else
            target = baseDir + target;
        target = QDir::cleanPath(target);
        rels.insert(a.value(QLatin1String("Id")).toString(),
                    qMakePair(a.value(QLatin1String("Type")).toString(), target));
    }
    return rels;
}

bool XlsxWorkbook::parseWorkbook(const QByteArray& xml, QStringList* relIds, QString* error) {
    QStringList names;
    QXmlStreamReader reader(xml);
    bool date1904 = false;
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("workbookPr")) {
            date1904 = isTrue(reader.attributes().value(QLatin1String("date1904")));
        } else if (reader.name() == QLatin1String("sheet")) {
            names << reader.attributes().value(QLatin1String("name")).toString();
            *relIds << relationshipId(reader.attributes());
        }
    }
    if (reader.hasError()) {
        *error = damaged(tr("工作簿目录：%1").arg(reader.errorString()));
        return false;
    }
    setDate1904(date1904);
    setSheetNames(names);
    return true;
}

bool XlsxWorkbook::parseSharedStrings(const QByteArray& xml, QString* error) {
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si"))
            m_sharedStrings << readStringItem(reader);
    }
    if (reader.hasError()) {
        *error = damaged(tr("共享字符串：%1").arg(reader.errorString()));
        return false;
    }
    return true;
}

bool XlsxWorkbook::parseStyles(const QByteArray& xml, QString* error) {
    QHash<int, QString> custom;
    QVector<int> xfIds;
    QXmlStreamReader reader(xml);
    bool inCellXfs = false;
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QXmlStreamAttributes a = reader.attributes();
            if (reader.name() == QLatin1String("numFmt")) {
                custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                              a.value(QLatin1String("formatCode")).toString());
            } else if (reader.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && reader.name() == QLatin1String("xf")) {
                xfIds << a.value(QLatin1String("numFmtId")).toInt();
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    if (reader.hasError()) {
        *error = damaged(tr("样式表：%1").arg(reader.errorString()));
        return false;
    }
    m_xfFormats.clear();
    for (int id : xfIds) {
        QString code = custom.value(id);
        if (code.isEmpty())
            code = NumberFormat::builtinCode(id);
        if (code.isEmpty())
            code = QStringLiteral("General");
        m_xfFormats << code;
    }
    return true;
}

bool XlsxWorkbook::load(QString* error) {
    QuaZip zip(path());
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = damaged(tr("不是完整的压缩包"));
        return false;
    }
    // The workbook part named by the package relationships, else the usual place.
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    QByteArray data;
    if (readPart(zip, QStringLiteral("_rels/.rels"), &data, nullptr)) {
        const auto rels = parseRelationships(data, QString());
        for (const auto& rel : rels) {
            if (relTypeIs(rel.first, "/officeDocument")) {
                workbookPart = rel.second;
                break;
            }
        }
    }
    if (!readPart(zip, workbookPart, &data, nullptr)) {
        *error = damaged(tr("缺少工作簿内容"));
        return false;
    }
    QStringList relIds;
    if (!parseWorkbook(data, &relIds, error))
        return false;

    const int slash = workbookPart.lastIndexOf(QLatin1Char('/'));
    const QString baseDir = slash >= 0 ? workbookPart.left(slash + 1) : QString();
    const QString relsPart =
        baseDir + QStringLiteral("_rels/") + workbookPart.mid(slash + 1) + QStringLiteral(".rels");
    QHash<QString, QPair<QString, QString>> rels;
    if (readPart(zip, relsPart, &data, nullptr))
        rels = parseRelationships(data, baseDir);

    QString sharedPart;
    QString stylesPart;
    for (const auto& rel : rels) {
        if (relTypeIs(rel.first, "/sharedStrings"))
            sharedPart = rel.second;
        else if (relTypeIs(rel.first, "/styles"))
            stylesPart = rel.second;
    }
    if (sharedPart.isEmpty() &&
        zip.setCurrentFile(baseDir + QStringLiteral("sharedStrings.xml"), QuaZip::csInsensitive))
        sharedPart = baseDir + QStringLiteral("sharedStrings.xml");
    if (stylesPart.isEmpty() &&
        zip.setCurrentFile(baseDir + QStringLiteral("styles.xml"), QuaZip::csInsensitive))
        stylesPart = baseDir + QStringLiteral("styles.xml");

    // Worksheets only, in workbook order.
    QStringList names;
    const QStringList allNames = sheetNames();
    for (int i = 0; i < allNames.size(); ++i) {
        const auto rel = rels.value(relIds.value(i));
        QString part = rel.second;
        if (!rel.first.isEmpty() && !relTypeIs(rel.first, "/worksheet"))
            continue; // chart sheets, dialog and macro sheets
        if (part.isEmpty())
            part = baseDir + QStringLiteral("worksheets/sheet%1.xml").arg(i + 1);
        names << allNames.at(i);
        m_sheetParts << part;
    }
    setSheetNames(names);

    if (!sharedPart.isEmpty()) {
        if (!readPart(zip, sharedPart, &data, error) || !parseSharedStrings(data, error))
            return false;
    }
    if (!stylesPart.isEmpty()) {
        if (!readPart(zip, stylesPart, &data, error) || !parseStyles(data, error))
            return false;
    }
    return true;
}

bool XlsxWorkbook::loadSheet(int index, SheetData* cells, QString* error) {
    QuaZip zip(path());
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = damaged(tr("不是完整的压缩包"));
        return false;
    }
    // The sheet part is parsed as it is inflated, never held whole in memory.
    const QString part = m_sheetParts.value(index);
    if (!zip.setCurrentFile(part, QuaZip::csInsensitive)) {
        *error = damaged(tr("缺少%1").arg(part));
        return false;
    }
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = damaged(tr("%1无法解压").arg(part));
        return false;
    }

    const QString general = QStringLiteral("General");
    QXmlStreamReader xml(&file);
    int row = 0;
    int column = 0;
    bool inSheetData = false;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("sheetData"))
            inSheetData = false;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("sheetData")) {
            inSheetData = true;
            continue;
        }
        if (!inSheetData)
            continue;
        if (xml.name() == QLatin1String("row")) {
            bool ok = false;
            const int r = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok ? r : row + 1;
            column = 0;
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;

        const QXmlStreamAttributes a = xml.attributes();
        const QStringView ref = a.value(QLatin1String("r"));
        int r = row;
        int c = column + 1;
        if (!ref.isEmpty() && !parseCellRef(ref, &r, &c)) {
            xml.skipCurrentElement();
            continue;
        }
        row = r;
        column = c;
        const QString type = a.value(QLatin1String("t")).toString();
        const int style = a.value(QLatin1String("s")).toInt();
        QString v;
        QString inlineText;
        bool hasValue = false;
        bool hasInline = false;
        while (!xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() == QLatin1String("v")) {
                    v = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    hasValue = true;
                } else if (xml.name() == QLatin1String("is")) {
                    inlineText = readStringItem(xml);
                    hasInline = true;
                } else {
                    xml.skipCurrentElement();
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                break;
            }
        }

        SheetCell cell;
        cell.formatCode = style >= 0 && style < m_xfFormats.size() ? m_xfFormats.at(style) : general;
        if (type == QLatin1String("s")) {
            if (!hasValue)
                continue;
            bool ok = false;
            const int idx = v.trimmed().toInt(&ok);
            if (!ok || idx < 0 || idx >= m_sharedStrings.size()) {
                *error = damaged(tr("工作表“%1”引用了不存在的共享字符串").arg(sheetNames().value(index)));
                return false;
            }
            cell.type = SheetCell::Type::Text;
            cell.string = m_sharedStrings.at(idx);
        } else if (type == QLatin1String("inlineStr")) {
            if (!hasInline && !hasValue)
                continue;
            cell.type = SheetCell::Type::Text;
            cell.string = hasInline ? inlineText : decodeEscapes(v);
        } else if (type == QLatin1String("str")) {
            if (!hasValue)
                continue;
            cell.type = SheetCell::Type::Text;
            cell.string = decodeEscapes(v);
        } else if (type == QLatin1String("b")) {
            if (!hasValue)
                continue;
            cell.type = SheetCell::Type::Boolean;
            cell.number = isTrue(QStringView(v).trimmed()) ? 1 : 0;
        } else if (type == QLatin1String("e")) {
            if (!hasValue)
                continue;
            cell.type = SheetCell::Type::Error;
            cell.string = v.trimmed();
        } else if (type == QLatin1String("d")) {
            if (!hasValue || v.trimmed().isEmpty())
                continue;
            double serial = 0;
            QDateTime dt = QDateTime::fromString(v.trimmed(), Qt::ISODateWithMs);
            if (dt.isValid()) {
                serial = ExcelDate::fromDateTime(dt, date1904());
            } else {
                const QDate d = QDate::fromString(v.trimmed(), Qt::ISODate);
                if (!d.isValid())
                    continue;
                serial = ExcelDate::fromDate(d, date1904());
            }
            cell.type = SheetCell::Type::Date;
            cell.number = serial;
            if (!NumberFormat::isDateFormat(cell.formatCode))
                cell.formatCode = QStringLiteral("yyyy-mm-dd hh:mm:ss");
        } else {
            const QString t = v.trimmed();
            if (!hasValue || t.isEmpty())
                continue;
            bool ok = false;
            cell.number = t.toDouble(&ok);
            if (!ok) {
                cell.type = SheetCell::Type::Text;
                cell.string = t;
            } else {
                cell.type = NumberFormat::isDateFormat(cell.formatCode) ? SheetCell::Type::Date
                                                                        : SheetCell::Type::Number;
            }
        }
        cells->insert(row, column, cell);
    }
    const bool xmlError = xml.hasError();
    const QString xmlMessage = xml.errorString();
    file.close();
    if (file.getZipError() != UNZ_OK) {
        *error = damaged(tr("%1校验失败").arg(part));
        return false;
    }
    if (xmlError) {
        *error = damaged(tr("工作表“%1”：%2").arg(sheetNames().value(index), xmlMessage));
        return false;
    }
    return true;
}
