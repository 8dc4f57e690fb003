#include "reports/engine/ReportTemplate.h"

#include "reports/engine/Report.h"
#include "reports/engine/ReportLine.h"
#include "reports/engine/ReportMemo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ReportTemplate", text);
}

QString number(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString boolText(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString hAlignName(Qt::Alignment a) {
    if (a & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (a & Qt::AlignRight)
        return QStringLiteral("right");
    if (a & Qt::AlignJustify)
        return QStringLiteral("justify");
    return QStringLiteral("left");
}

QString vAlignName(Qt::Alignment a) {
    if (a & Qt::AlignTop)
        return QStringLiteral("top");
    if (a & Qt::AlignBottom)
        return QStringLiteral("bottom");
    return QStringLiteral("center");
}

QString sidesText(Qt::Edges sides) {
    QStringList parts;
    if (sides & Qt::LeftEdge)
        parts << QStringLiteral("left");
    if (sides & Qt::TopEdge)
        parts << QStringLiteral("top");
    if (sides & Qt::RightEdge)
        parts << QStringLiteral("right");
    if (sides & Qt::BottomEdge)
        parts << QStringLiteral("bottom");
    return parts.join(QLatin1Char(' '));
}

void writeFont(QXmlStreamWriter& w, const QFont& font) {
    w.writeEmptyElement(QStringLiteral("Font"));
    w.writeAttribute(QStringLiteral("family"), font.family());
    w.writeAttribute(QStringLiteral("size"), number(font.pointSizeF()));
    if (font.bold())
        w.writeAttribute(QStringLiteral("bold"), boolText(true));
    if (font.italic())
        w.writeAttribute(QStringLiteral("italic"), boolText(true));
    if (font.underline())
        w.writeAttribute(QStringLiteral("underline"), boolText(true));
}

void writeGeometry(QXmlStreamWriter& w, const ReportObject& object) {
    const QRectF g = object.geometry();
    w.writeAttribute(QStringLiteral("name"), object.name());
    w.writeAttribute(QStringLiteral("left"), number(g.x()));
    w.writeAttribute(QStringLiteral("top"), number(g.y()));
    w.writeAttribute(QStringLiteral("width"), number(g.width()));
    w.writeAttribute(QStringLiteral("height"), number(g.height()));
}

void writeMemo(QXmlStreamWriter& w, const ReportMemo& memo) {
    w.writeStartElement(QStringLiteral("Memo"));
    writeGeometry(w, memo);
    w.writeAttribute(QStringLiteral("halign"), hAlignName(memo.alignment()));
    w.writeAttribute(QStringLiteral("valign"), vAlignName(memo.alignment()));
    w.writeAttribute(QStringLiteral("wordWrap"), boolText(memo.wordWrap()));
    if (!memo.displayFormat().isEmpty())
        w.writeAttribute(QStringLiteral("format"), memo.displayFormat());
    if (memo.textColor() != QColor(Qt::black))
        w.writeAttribute(QStringLiteral("color"), memo.textColor().name(QColor::HexArgb));
    if (memo.fillColor().isValid())
        w.writeAttribute(QStringLiteral("fill"), memo.fillColor().name(QColor::HexArgb));
    writeFont(w, memo.font());
    const ReportFrame frame = memo.frame();
    if (frame.sides) {
        w.writeEmptyElement(QStringLiteral("Frame"));
        w.writeAttribute(QStringLiteral("sides"), sidesText(frame.sides));
        w.writeAttribute(QStringLiteral("width"), number(frame.width));
        if (frame.color != QColor(Qt::black))
            w.writeAttribute(QStringLiteral("color"), frame.color.name(QColor::HexArgb));
    }
    w.writeTextElement(QStringLiteral("Text"), memo.text());
    w.writeEndElement();
}

void writeLine(QXmlStreamWriter& w, const ReportLine& line) {
    w.writeEmptyElement(QStringLiteral("Line"));
    writeGeometry(w, line);
    w.writeAttribute(QStringLiteral("penWidth"), number(line.penWidth()));
    if (line.color() != QColor(Qt::black))
        w.writeAttribute(QStringLiteral("color"), line.color().name(QColor::HexArgb));
}

// Reads one template; every failure goes through fail() and ends the read.
class TemplateReader {
public:
    explicit TemplateReader(const QByteArray& xml) : m_xml(xml) {}

    bool read(Report* report, QString* error);

private:
    bool fail(const QString& message) {
        if (m_error.isEmpty())
            m_error = tr("第 %1 行: %2").arg(m_xml.lineNumber()).arg(message);
        return false;
    }
    QString attr(const char* name) const { return m_xml.attributes().value(QLatin1String(name)).toString(); }
    bool has(const char* name) const { return m_xml.attributes().hasAttribute(QLatin1String(name)); }
    bool readNumber(const char* name, double* value, bool allowNegative = false);
    bool readBool(const char* name, bool* value);
    bool readPage(Report* report);
    bool readBand(ReportPage* page);
    bool readGeometry(ReportObject* object, bool allowNegative);
    bool readMemo(ReportBand* band);
    bool readLine(ReportBand* band);
    bool readFont(QFont* font);
    bool readColor(const char* name, QColor* color);

    QXmlStreamReader m_xml;
    QString m_error;
};

bool TemplateReader::readNumber(const char* name, double* value, bool allowNegative) {
    if (!has(name))
        return true;
    bool ok = false;
    const double v = attr(name).trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(v))
        return fail(tr("属性 %1 的值“%2”不是数值").arg(QLatin1String(name), attr(name)));
    if (!allowNegative && v < 0)
        return fail(tr("属性 %1 的值不能为负数").arg(QLatin1String(name)));
    if (qAbs(v) > 10000)
        return fail(tr("属性 %1 的值超出范围").arg(QLatin1String(name)));
    *value = v;
    return true;
}

bool TemplateReader::readBool(const char* name, bool* value) {
    if (!has(name))
        return true;
    const QString text = attr(name).trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        *value = true;
    else if (text == QLatin1String("false") || text == QLatin1String("0"))
        *value = false;
    else
        return fail(tr("属性 %1 的值“%2”不是 true 或 false").arg(QLatin1String(name), attr(name)));
    return true;
}

bool TemplateReader::readColor(const char* name, QColor* color) {
    if (!has(name))
        return true;
    const QColor c = QColor::fromString(attr(name));
    if (!c.isValid())
        return fail(tr("属性 %1 的值“%2”不是颜色").arg(QLatin1String(name), attr(name)));
    *color = c;
    return true;
}

bool TemplateReader::read(Report* report, QString* error) {
    Report loaded(report->name());
    bool ok = false;
    if (m_xml.readNextStartElement()) {
        if (m_xml.name() != QLatin1String("PelmoraReport")) {
            fail(tr("不是报表模板（根元素应为 PelmoraReport）"));
        } else {
            bool versionOk = true;
            const int version = has("version") ? attr("version").toInt(&versionOk) : ReportTemplate::kVersion;
            if (!versionOk || version < 1 || version > ReportTemplate::kVersion) {
                fail(tr("不支持的模板版本“%1”").arg(attr("version")));
            } else {
                ok = true;
                while (ok && m_xml.readNextStartElement()) {
                    if (m_xml.name() == QLatin1String("DefaultFont")) {
                        QFont font = loaded.defaultFont();
                        ok = readFont(&font);
                        loaded.setDefaultFont(font);
                        if (ok)
                            m_xml.skipCurrentElement();
                    } else if (m_xml.name() == QLatin1String("Page")) {
                        ok = readPage(&loaded);
                    } else {
                        m_xml.skipCurrentElement();
                    }
                }
                if (ok && loaded.pageCount() == 0)
                    ok = fail(tr("模板没有页面"));
            }
        }
    }
    if (m_xml.hasError()) {
        m_error.clear();
        m_error = tr("第 %1 行第 %2 列: %3")
                      .arg(m_xml.lineNumber())
                      .arg(m_xml.columnNumber())
                      .arg(m_xml.errorString());
        ok = false;
    } else if (!ok && m_error.isEmpty()) {
        m_error = tr("文件是空的或不是报表模板");
    }
    if (!ok) {
        *error = m_error;
        return false;
    }
    report->copyLayoutFrom(loaded);
    return true;
}

bool TemplateReader::readPage(Report* report) {
    auto page = std::make_unique<ReportPage>(
        has("name") ? attr("name") : QStringLiteral("Page%1").arg(report->pageCount() + 1));
    if (has("paper")) {
        const QString key = attr("paper").trimmed();
        QPageSize size;
        for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
            if (QPageSize::key(QPageSize::PageSizeId(id)).compare(key, Qt::CaseInsensitive) == 0) {
                size = QPageSize(QPageSize::PageSizeId(id));
                break;
            }
        }
        if (key.compare(QLatin1String("Custom"), Qt::CaseInsensitive) == 0) {
            double width = 0;
            double height = 0;
            if (!readNumber("paperWidth", &width) || !readNumber("paperHeight", &height))
                return false;
            if (width < 10 || height < 10)
                return fail(tr("自定义纸张需要 paperWidth 和 paperHeight"));
            size = QPageSize(QSizeF(width, height), QPageSize::Millimeter);
        }
        if (!size.isValid())
            return fail(tr("未知的纸张“%1”").arg(key));
        page->setPageSize(size);
    }
    if (has("orientation")) {
        const QString orientation = attr("orientation").trimmed().toLower();
        if (orientation == QLatin1String("landscape"))
            page->setOrientation(QPageLayout::Landscape);
        else if (orientation == QLatin1String("portrait"))
            page->setOrientation(QPageLayout::Portrait);
        else
            return fail(tr("未知的方向“%1”").arg(attr("orientation")));
    }
    QMarginsF m = page->margins();
    double left = m.left(), top = m.top(), right = m.right(), bottom = m.bottom();
    if (!readNumber("marginLeft", &left) || !readNumber("marginTop", &top) ||
        !readNumber("marginRight", &right) || !readNumber("marginBottom", &bottom))
        return false;
    page->setMargins(QMarginsF(left, top, right, bottom));
    const QSizeF paper = page->paperSize();
    if (left + right >= paper.width() || top + bottom >= paper.height())
        return fail(tr("页边距大于纸张"));
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == QLatin1String("Band")) {
            if (!readBand(page.get()))
                return false;
        } else {
            m_xml.skipCurrentElement();
        }
    }
    if (m_xml.hasError())
        return false;
    report->addPage(std::move(page));
    return true;
}

bool TemplateReader::readBand(ReportPage* page) {
    ReportBandType type;
    if (!reportBandTypeFromName(attr("type"), &type))
        return fail(tr("未知的带区类型“%1”").arg(attr("type")));
    auto band = std::make_unique<ReportBand>(type, attr("name"));
    double height = band->height();
    bool stretch = false;
    if (!readNumber("height", &height) || !readBool("stretch", &stretch))
        return false;
    band->setHeight(height);
    band->setStretch(stretch);
    band->setDataSetName(attr("dataset"));
    while (m_xml.readNextStartElement()) {
        bool ok = true;
        if (m_xml.name() == QLatin1String("Memo"))
            ok = readMemo(band.get());
        else if (m_xml.name() == QLatin1String("Line"))
            ok = readLine(band.get());
        else
            m_xml.skipCurrentElement();
        if (!ok)
            return false;
    }
    if (m_xml.hasError())
        return false;
    page->addBand(std::move(band));
    return true;
}

bool TemplateReader::readGeometry(ReportObject* object, bool allowNegative) {
    object->setName(attr("name"));
    double left = 0, top = 0, width = 0, height = 0;
    if (!readNumber("left", &left, true) || !readNumber("top", &top, true) ||
        !readNumber("width", &width, allowNegative) || !readNumber("height", &height, allowNegative))
        return false;
    object->setGeometry(QRectF(left, top, width, height));
    return true;
}

bool TemplateReader::readFont(QFont* font) {
    if (has("family"))
        font->setFamily(attr("family"));
    double size = font->pointSizeF();
    bool bold = false, italic = false, underline = false;
    if (!readNumber("size", &size) || !readBool("bold", &bold) || !readBool("italic", &italic) ||
        !readBool("underline", &underline))
        return false;
    if (size < 1 || size > 500)
        return fail(tr("字号 %1 超出范围").arg(size));
    font->setPointSizeF(size);
    font->setBold(bold);
    font->setItalic(italic);
    font->setUnderline(underline);
    return true;
}

bool TemplateReader::readMemo(ReportBand* band) {
    auto memo = std::make_unique<ReportMemo>();
    if (!readGeometry(memo.get(), false))
        return false;
    Qt::Alignment h = Qt::AlignLeft;
    const QString halign = attr("halign").trimmed().toLower();
    if (halign == QLatin1String("center"))
        h = Qt::AlignHCenter;
    else if (halign == QLatin1String("right"))
        h = Qt::AlignRight;
    else if (halign == QLatin1String("justify"))
        h = Qt::AlignJustify;
    else if (!halign.isEmpty() && halign != QLatin1String("left"))
        return fail(tr("未知的水平对齐“%1”").arg(halign));
    Qt::Alignment v = Qt::AlignVCenter;
    const QString valign = attr("valign").trimmed().toLower();
    if (valign == QLatin1String("top"))
        v = Qt::AlignTop;
    else if (valign == QLatin1String("bottom"))
        v = Qt::AlignBottom;
    else if (!valign.isEmpty() && valign != QLatin1String("center"))
        return fail(tr("未知的垂直对齐“%1”").arg(valign));
    memo->setAlignment(h | v);
    bool wrap = true;
    if (!readBool("wordWrap", &wrap))
        return false;
    memo->setWordWrap(wrap);
    memo->setDisplayFormat(attr("format"));
    QColor color = memo->textColor();
    QColor fill;
    if (!readColor("color", &color) || !readColor("fill", &fill))
        return false;
    memo->setTextColor(color);
    memo->setFillColor(fill);
    QFont font = memo->font();
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == QLatin1String("Font")) {
            if (!readFont(&font))
                return false;
            m_xml.skipCurrentElement();
        } else if (m_xml.name() == QLatin1String("Frame")) {
            ReportFrame frame;
            for (const QString& side : attr("sides").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QString s = side.toLower();
                if (s == QLatin1String("left"))
                    frame.sides |= Qt::LeftEdge;
                else if (s == QLatin1String("top"))
                    frame.sides |= Qt::TopEdge;
                else if (s == QLatin1String("right"))
                    frame.sides |= Qt::RightEdge;
                else if (s == QLatin1String("bottom"))
                    frame.sides |= Qt::BottomEdge;
                else if (s == QLatin1String("all"))
                    frame.sides = ReportFrame::all().sides;
                else
                    return fail(tr("未知的边框“%1”").arg(side));
            }
            if (!readNumber("width", &frame.width) || !readColor("color", &frame.color))
                return false;
            memo->setFrame(frame);
            m_xml.skipCurrentElement();
        } else if (m_xml.name() == QLatin1String("Text")) {
            memo->setText(m_xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            m_xml.skipCurrentElement();
        }
        if (m_xml.hasError())
            return false;
    }
    if (m_xml.hasError())
        return false;
    memo->setFont(font);
    band->addObject(std::move(memo));
    return true;
}

bool TemplateReader::readLine(ReportBand* band) {
    auto line = std::make_unique<ReportLine>();
    if (!readGeometry(line.get(), true))
        return false;
    double width = line->penWidth();
    QColor color = line->color();
    if (!readNumber("penWidth", &width) || !readColor("color", &color))
        return false;
    line->setPenWidth(width);
    line->setColor(color);
    m_xml.skipCurrentElement();
    if (m_xml.hasError())
        return false;
    band->addObject(std::move(line));
    return true;
}

} // namespace

QString ReportTemplate::toXml(const Report& report) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("PelmoraReport"));
    w.writeAttribute(QStringLiteral("version"), QString::number(kVersion));
    w.writeAttribute(QStringLiteral("name"), report.name());
    w.writeStartElement(QStringLiteral("DefaultFont"));
    const QFont font = report.defaultFont();
    w.writeAttribute(QStringLiteral("family"), font.family());
    w.writeAttribute(QStringLiteral("size"), number(font.pointSizeF()));
    w.writeEndElement();
    for (int p = 0; p < report.pageCount(); ++p) {
        const ReportPage* page = report.page(p);
        w.writeStartElement(QStringLiteral("Page"));
        w.writeAttribute(QStringLiteral("name"), page->name());
        const QPageSize size = page->pageSize();
        if (size.id() == QPageSize::Custom) {
            w.writeAttribute(QStringLiteral("paper"), QStringLiteral("Custom"));
            const QSizeF mm = size.size(QPageSize::Millimeter);
            w.writeAttribute(QStringLiteral("paperWidth"), number(mm.width()));
            w.writeAttribute(QStringLiteral("paperHeight"), number(mm.height()));
        } else {
            w.writeAttribute(QStringLiteral("paper"), QPageSize::key(size.id()));
        }
        w.writeAttribute(QStringLiteral("orientation"), page->orientation() == QPageLayout::Landscape
                                                            ? QStringLiteral("landscape")
                                                            : QStringLiteral("portrait"));
        const QMarginsF m = page->margins();
        w.writeAttribute(QStringLiteral("marginLeft"), number(m.left()));
        w.writeAttribute(QStringLiteral("marginTop"), number(m.top()));
        w.writeAttribute(QStringLiteral("marginRight"), number(m.right()));
        w.writeAttribute(QStringLiteral("marginBottom"), number(m.bottom()));
        for (int b = 0; b < page->bandCount(); ++b) {
            const ReportBand* band = page->band(b);
            w.writeStartElement(QStringLiteral("Band"));
            w.writeAttribute(QStringLiteral("type"), reportBandTypeName(band->type()));
            w.writeAttribute(QStringLiteral("name"), band->name());
            w.writeAttribute(QStringLiteral("height"), number(band->height()));
            w.writeAttribute(QStringLiteral("stretch"), boolText(band->stretch()));
            if (!band->dataSetName().isEmpty())
                w.writeAttribute(QStringLiteral("dataset"), band->dataSetName());
            for (int o = 0; o < band->objectCount(); ++o) {
                const ReportObject* object = band->object(o);
                if (object->kind() == ReportObject::Kind::Memo)
                    writeMemo(w, *static_cast<const ReportMemo*>(object));
                else
                    writeLine(w, *static_cast<const ReportLine*>(object));
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return QString::fromUtf8(out);
}

bool ReportTemplate::fromXml(const QByteArray& xml, Report* report, QString* error) {
    QString message;
    TemplateReader reader(xml);
    const bool ok = reader.read(report, &message);
    if (!ok && error)
        *error = message;
    return ok;
}

bool ReportTemplate::load(const QString& path, Report* report, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("无法读取模板文件 %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    if (file.size() > 16 * 1024 * 1024) {
        if (error)
            *error = tr("模板文件 %1 过大").arg(QFileInfo(path).fileName());
        return false;
    }
    QString message;
    if (!fromXml(file.readAll(), report, &message)) {
        if (error)
            *error = tr("模板文件 %1 无法解析: %2").arg(QFileInfo(path).fileName(), message);
        return false;
    }
    return true;
}

bool ReportTemplate::save(const Report& report, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("无法写入模板文件 %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    file.write(toXml(report).toUtf8());
    if (!file.commit()) {
        if (error)
            *error = tr("无法写入模板文件 %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    return true;
}
