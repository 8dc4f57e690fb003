#include "reports/engine/ReportBuilder.h"

#include "reports/engine/Report.h"
#include "reports/engine/ReportExpression.h"
#include "reports/engine/ReportFonts.h"
#include "reports/engine/ReportFormat.h"
#include "reports/engine/ReportLine.h"
#include "reports/engine/ReportMemo.h"
#include "reports/engine/ReportTextMetrics.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>

#include <algorithm>

namespace {

// Stands for [TotalPages#] until the number of pages is known.
const QChar kTotalPagesMark(0xE000);
constexpr double kEpsilon = 0.01;

struct Aggregate {
    ReportExpression::Kind kind = ReportExpression::Kind::Sum;
    ReportDataSource* source = nullptr;
    QString field;
    const ReportBand* band = nullptr;
    double total = 0;
    double running = 0;
    double page = 0;
};

struct CompiledObject {
    const ReportObject* object = nullptr;
    const ReportMemo* memo = nullptr;
    ReportExpression expression;
    QVector<ReportDataSource*> sources; // per segment
    QVector<int> aggregates;            // per segment, -1 when none
    QFont font;
    QFontMetricsF metrics{QFont()};
    bool touchesBottom = false;
    // Widths of texts already measured: list columns repeat their values (units, makers).
    mutable QHash<QString, double> widths;
};

constexpr int kWidthCacheLimit = 4096;

struct CompiledBand {
    const ReportBand* band = nullptr;
    QVector<CompiledObject> objects;
    ReportDataSource* source = nullptr;
};

struct MemoResult {
    QString text;
    double height = 0;           // needed height (mm), 0 when the box keeps its own
    double singleLineWidth = -1; // see PreparedItem
};

struct BandInstance {
    double height = 0;
    QVector<MemoResult> memos; // per object
};

} // namespace

class ReportBuilder::Private {
public:
    explicit Private(const Report& report) : m_report(report) { ReportFonts::install(); }

    const Report& m_report;
    QVector<Aggregate> m_aggregates;
    QHash<ReportDataSource*, int> m_cursor;
    QHash<const ReportBand*, int> m_bandLine;
    int m_lastLine = 0;
    int m_pageNumber = 0;
    ReportBandType m_evaluating = ReportBandType::MasterData;
    bool m_usesTotalPages = false;

    CompiledBand compile(const ReportBand* band);
    int aggregateIndex(const ReportExpression::Segment& segment, ReportDataSource* source);
    void computeTotals();
    void addRow(const ReportBand* band, int row, bool running, bool page);
    void resetPageAggregates();

    QVariant segmentValue(const CompiledObject& object, int index) const;
    QString evaluate(const CompiledObject& object) const;
    QVariant evaluateValue(const CompiledObject& object) const;
    MemoResult measure(const CompiledObject& object, bool stretch) const;
    BandInstance measureBand(const CompiledBand& band);
    void emitBand(const CompiledBand& band, const BandInstance& instance, PreparedPage* page, double left,
                  double top) const;
};

CompiledBand ReportBuilder::Private::compile(const ReportBand* band) {
    CompiledBand compiled;
    compiled.band = band;
    if (band->type() == ReportBandType::MasterData && !band->dataSetName().isEmpty())
        compiled.source = m_report.dataSource(band->dataSetName());
    compiled.objects.reserve(band->objectCount());
    for (int i = 0; i < band->objectCount(); ++i) {
        const ReportObject* object = band->object(i);
        CompiledObject co;
        co.object = object;
        co.touchesBottom = qAbs(object->geometry().bottom() - band->height()) < kEpsilon;
        if (object->kind() == ReportObject::Kind::Memo) {
            co.memo = static_cast<const ReportMemo*>(object);
            co.expression = ReportExpression::parse(co.memo->text());
            co.font = ReportFonts::layoutFont(co.memo->font());
            co.metrics = ReportTextMetrics::metrics(co.font);
            for (const ReportExpression::Segment& segment : co.expression.segments()) {
                ReportDataSource* source =
                    segment.dataSet.isEmpty() ? nullptr : m_report.dataSource(segment.dataSet);
                co.sources.append(source);
                co.aggregates.append(aggregateIndex(segment, source));
                if (segment.kind == ReportExpression::Kind::TotalPages)
                    m_usesTotalPages = true;
            }
        }
        compiled.objects.append(co);
    }
    return compiled;
}

int ReportBuilder::Private::aggregateIndex(const ReportExpression::Segment& segment,
                                           ReportDataSource* source) {
    using Kind = ReportExpression::Kind;
    if (segment.kind != Kind::Sum && segment.kind != Kind::Count)
        return -1;
    const ReportBand* band = m_report.findBand(segment.band);
    if (band && band->type() != ReportBandType::MasterData)
        band = nullptr;
    if (segment.kind == Kind::Count && band)
        source = m_report.dataSource(band->dataSetName());
    for (int i = 0; i < m_aggregates.size(); ++i) {
        const Aggregate& a = m_aggregates.at(i);
        if (a.kind == segment.kind && a.source == source && a.band == band &&
            a.field.compare(segment.field, Qt::CaseInsensitive) == 0)
            return i;
    }
    Aggregate aggregate;
    aggregate.kind = segment.kind;
    aggregate.source = source;
    aggregate.field = segment.field;
    aggregate.band = band;
    m_aggregates.append(aggregate);
    return int(m_aggregates.size()) - 1;
}

void ReportBuilder::Private::computeTotals() {
    for (Aggregate& a : m_aggregates) {
        a.total = a.running = a.page = 0;
        if (!a.source)
            continue;
        const int rows = a.source->rowCount();
        if (a.kind == ReportExpression::Kind::Count) {
            a.total = rows;
            continue;
        }
        double sum = 0;
        for (int r = 0; r < rows; ++r)
            sum += ReportFormat::toNumber(a.source->value(r, a.field));
        a.total = sum;
    }
}

void ReportBuilder::Private::addRow(const ReportBand* band, int row, bool running, bool page) {
    for (Aggregate& a : m_aggregates) {
        if (a.band != band || !a.source)
            continue;
        const double value = a.kind == ReportExpression::Kind::Count
                                 ? 1.0
                                 : ReportFormat::toNumber(a.source->value(row, a.field));
        if (running)
            a.running += value;
        if (page)
            a.page += value;
    }
}

void ReportBuilder::Private::resetPageAggregates() {
    for (Aggregate& a : m_aggregates)
        a.page = 0;
}

QVariant ReportBuilder::Private::segmentValue(const CompiledObject& object, int index) const {
    using Kind = ReportExpression::Kind;
    const ReportExpression::Segment& segment = object.expression.segments().at(index);
    switch (segment.kind) {
    case Kind::Literal:
        return segment.text;
    case Kind::Field: {
        ReportDataSource* source = object.sources.at(index);
        if (!source || source->rowCount() == 0)
            return QVariant();
        return source->value(m_cursor.value(source, 0), segment.field);
    }
    case Kind::Line:
        return m_lastLine > 0 ? QVariant(m_lastLine) : QVariant();
    case Kind::Page:
        return m_pageNumber;
    case Kind::TotalPages:
        return QString(kTotalPagesMark);
    case Kind::Date:
        return QDate::currentDate();
    case Kind::Time:
        return QTime::currentTime();
    case Kind::Sum:
    case Kind::Count: {
        const int aggregateIndex = object.aggregates.at(index);
        if (aggregateIndex < 0)
            return QVariant();
        const Aggregate& a = m_aggregates.at(aggregateIndex);
        double value = a.total;
        if (a.band && m_evaluating == ReportBandType::PageFooter)
            value = a.page;
        else if (a.band && m_evaluating == ReportBandType::MasterData)
            value = a.running;
        if (segment.kind == Kind::Count)
            return qRound64(value);
        return value;
    }
    }
    return QVariant();
}

QString ReportBuilder::Private::evaluate(const CompiledObject& object) const {
    const QVector<ReportExpression::Segment>& segments = object.expression.segments();
    if (segments.size() == 1 && segments.first().kind == ReportExpression::Kind::Literal)
        return segments.first().text;
    QString text;
    for (int i = 0; i < segments.size(); ++i) {
        const ReportExpression::Segment& segment = segments.at(i);
        if (segment.kind == ReportExpression::Kind::Literal)
            text += segment.text;
        else if (segment.kind == ReportExpression::Kind::TotalPages)
            text += kTotalPagesMark;
        else
            text += ReportFormat::format(segmentValue(object, i), object.memo->displayFormat());
    }
    return text;
}

QVariant ReportBuilder::Private::evaluateValue(const CompiledObject& object) const {
    if (object.expression.isSingleExpression()) {
        const ReportExpression::Kind kind = object.expression.segments().first().kind;
        if (kind != ReportExpression::Kind::TotalPages && kind != ReportExpression::Kind::Page)
            return segmentValue(object, 0);
    }
    return evaluate(object);
}

MemoResult ReportBuilder::Private::measure(const CompiledObject& object, bool stretch) const {
    MemoResult result;
    result.text = evaluate(object);
    if (result.text.isEmpty())
        return result;
    const QRectF g = object.object->geometry();
    const double avail = (g.width() - 2 * ReportTextMetrics::kPaddingX) * ReportTextMetrics::kUnitsPerMm;
    const bool multiLine = result.text.contains(QLatin1Char('\n'));
    const bool wrap = object.memo->wordWrap();
    const Qt::Alignment h = object.memo->horizontalAlignment();
    const bool needWidth = wrap || !(h & Qt::AlignLeft) || h == 0;
    if (!multiLine) {
        if (!needWidth && !stretch) {
            result.singleLineWidth = 0;
            return result;
        }
        double width;
        const auto cached = object.widths.constFind(result.text);
        if (cached != object.widths.constEnd()) {
            width = cached.value();
        } else {
            width = object.metrics.horizontalAdvance(result.text);
            if (object.widths.size() < kWidthCacheLimit)
                object.widths.insert(result.text, width);
        }
        if (!wrap || width <= avail) {
            result.singleLineWidth = width / ReportTextMetrics::kUnitsPerMm;
            if (stretch)
                result.height = object.metrics.height() / ReportTextMetrics::kUnitsPerMm +
                                2 * ReportTextMetrics::kPaddingY;
            return result;
        }
    }
    if (!stretch)
        return result;
    QString text = result.text;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, object.font, ReportTextMetrics::device());
    const double height = ReportTextMetrics::breakLines(&layout, wrap ? avail : 1e9, h);
    result.height = height / ReportTextMetrics::kUnitsPerMm + 2 * ReportTextMetrics::kPaddingY;
    return result;
}

BandInstance ReportBuilder::Private::measureBand(const CompiledBand& band) {
    m_evaluating = band.band->type();
    BandInstance instance;
    instance.height = band.band->height();
    const bool stretch = band.band->stretch() && band.band->type() != ReportBandType::PageFooter;
    instance.memos.resize(band.objects.size());
    for (int i = 0; i < band.objects.size(); ++i) {
        const CompiledObject& object = band.objects.at(i);
        if (!object.memo)
            continue;
        MemoResult& result = instance.memos[i];
        result = measure(object, stretch);
        if (stretch && result.height > 0)
            instance.height = qMax(instance.height, object.object->geometry().top() + result.height);
    }
    return instance;
}

void ReportBuilder::Private::emitBand(const CompiledBand& band, const BandInstance& instance,
                                      PreparedPage* page, double left, double top) const {
    const double grow = instance.height - band.band->height();
    const QString bandName = band.band->name();
    for (int i = 0; i < band.objects.size(); ++i) {
        const CompiledObject& object = band.objects.at(i);
        QRectF rect = object.object->geometry().translated(left, top);
        PreparedItem item;
        item.bandName = bandName;
        item.objectName = object.object->name();
        if (!object.memo) {
            const auto* line = static_cast<const ReportLine*>(object.object);
            if (object.touchesBottom && grow > 0)
                rect.setHeight(rect.height() + grow);
            item.kind = PreparedItem::Kind::Line;
            item.rect = rect;
            item.penWidth = line->penWidth();
            item.lineColor = line->color();
            page->items.append(item);
            continue;
        }
        const MemoResult& result = instance.memos.at(i);
        if (result.height > rect.height())
            rect.setHeight(result.height);
        if (object.touchesBottom && grow > 0)
            rect.setBottom(top + instance.height);
        item.kind = PreparedItem::Kind::Text;
        item.rect = rect;
        item.text = result.text;
        item.font = object.memo->font();
        item.alignment = object.memo->alignment();
        item.wordWrap = object.memo->wordWrap();
        item.frame = object.memo->frame();
        item.textColor = object.memo->textColor();
        item.fillColor = object.memo->fillColor();
        item.singleLineWidth = result.singleLineWidth;
        page->items.append(item);
    }
}

ReportBuilder::ReportBuilder(const Report& report) : d(std::make_unique<Private>(report)) {}

ReportBuilder::~ReportBuilder() = default;

PreparedReport ReportBuilder::build() {
    PreparedReport out;
    d->m_pageNumber = 0;
    for (int p = 0; p < d->m_report.pageCount(); ++p) {
        const ReportPage* layoutPage = d->m_report.page(p);
        QVector<CompiledBand> titles, headers, masters, summaries, footers;
        for (int b = 0; b < layoutPage->bandCount(); ++b) {
            const ReportBand* band = layoutPage->band(b);
            CompiledBand compiled = d->compile(band);
            switch (band->type()) {
            case ReportBandType::ReportTitle:
                titles.append(compiled);
                break;
            case ReportBandType::PageHeader:
                headers.append(compiled);
                break;
            case ReportBandType::MasterData:
                masters.append(compiled);
                break;
            case ReportBandType::ReportSummary:
                summaries.append(compiled);
                break;
            case ReportBandType::PageFooter:
                footers.append(compiled);
                break;
            }
        }
        d->computeTotals();
        for (Aggregate& a : d->m_aggregates)
            a.running = 0;

        const QSizeF paper = layoutPage->paperSize();
        const QMarginsF margins = layoutPage->margins();
        double footerHeight = 0;
        for (const CompiledBand& footer : footers)
            footerHeight += footer.band->height();
        const double limit = paper.height() - margins.bottom() - footerHeight;
        const double left = margins.left();
        double y = 0;
        double bodyTop = 0;
        PreparedPage* current = nullptr;

        auto place = [&](const CompiledBand& band, const BandInstance& instance) {
            d->emitBand(band, instance, current, left, y);
            y += instance.height;
        };
        auto startPage = [&](bool first) {
            PreparedPage page;
            page.pageSize = layoutPage->pageSize();
            page.orientation = layoutPage->orientation();
            page.paperSize = paper;
            current = &out.addPage(page);
            ++d->m_pageNumber;
            d->resetPageAggregates();
            y = margins.top();
            if (first) {
                for (const CompiledBand& band : titles)
                    place(band, d->measureBand(band));
            }
            for (const CompiledBand& band : headers)
                place(band, d->measureBand(band));
            bodyTop = y;
        };
        auto finishPage = [&]() {
            double footerY = limit;
            for (const CompiledBand& band : footers) {
                const BandInstance instance = d->measureBand(band);
                d->emitBand(band, instance, current, left, footerY);
                footerY += band.band->height();
            }
        };

        startPage(true);
        for (const CompiledBand& master : masters) {
            const int rows =
                master.source ? master.source->rowCount() : (master.band->dataSetName().isEmpty() ? 1 : 0);
            for (int r = 0; r < rows; ++r) {
                if (master.source)
                    d->m_cursor.insert(master.source, r);
                d->m_lastLine = r + 1;
                d->addRow(master.band, r, true, false);
                BandInstance instance = d->measureBand(master);
                if (y + instance.height > limit + kEpsilon && y > bodyTop + kEpsilon) {
                    finishPage();
                    startPage(false);
                }
                d->addRow(master.band, r, false, true);
                place(master, instance);
            }
        }
        for (const CompiledBand& summary : summaries) {
            BandInstance instance = d->measureBand(summary);
            if (y + instance.height > limit + kEpsilon && y > bodyTop + kEpsilon) {
                finishPage();
                startPage(false);
                instance = d->measureBand(summary);
            }
            place(summary, instance);
        }
        finishPage();
    }

    if (d->m_usesTotalPages) {
        const QString total = QString::number(out.pageCount());
        for (int i = 0; i < out.pageCount(); ++i) {
            for (PreparedItem& item : out.page(i).items) {
                if (item.text.contains(kTotalPagesMark)) {
                    item.text.replace(kTotalPagesMark, total);
                    item.singleLineWidth = -1;
                }
            }
        }
    }
    return out;
}

ReportTable ReportBuilder::table() {
    ReportTable table;
    const ReportPage* layoutPage = nullptr;
    const ReportBand* master = nullptr;
    for (int p = 0; p < d->m_report.pageCount() && !master; ++p) {
        const ReportPage* page = d->m_report.page(p);
        for (int b = 0; b < page->bandCount(); ++b) {
            const ReportBand* band = page->band(b);
            if (band->type() == ReportBandType::MasterData && d->m_report.dataSource(band->dataSetName())) {
                master = band;
                layoutPage = page;
                break;
            }
        }
    }
    if (!master)
        return table;

    QVector<CompiledBand> titles, headers, summaries;
    CompiledBand masterBand;
    for (int b = 0; b < layoutPage->bandCount(); ++b) {
        const ReportBand* band = layoutPage->band(b);
        if (band == master)
            masterBand = d->compile(band);
        else if (band->type() == ReportBandType::ReportTitle)
            titles.append(d->compile(band));
        else if (band->type() == ReportBandType::PageHeader)
            headers.append(d->compile(band));
        else if (band->type() == ReportBandType::ReportSummary)
            summaries.append(d->compile(band));
    }
    d->computeTotals();
    d->m_pageNumber = 1;

    QVector<const CompiledObject*> columns;
    for (const CompiledObject& object : masterBand.objects) {
        if (object.memo)
            columns.append(&object);
    }
    std::stable_sort(columns.begin(), columns.end(), [](const CompiledObject* a, const CompiledObject* b) {
        return a->object->geometry().left() < b->object->geometry().left();
    });
    auto overlap = [](const QRectF& a, const QRectF& b) {
        return qMax(0.0, qMin(a.right(), b.right()) - qMax(a.left(), b.left()));
    };

    ReportDataSource* source = masterBand.source;
    if (source->rowCount() > 0)
        d->m_cursor.insert(source, 0);

    QStringList titleTexts;
    d->m_evaluating = ReportBandType::ReportTitle;
    for (const CompiledBand& band : titles) {
        for (const CompiledObject& object : band.objects) {
            if (object.memo) {
                const QString text = d->evaluate(object).trimmed();
                if (!text.isEmpty())
                    titleTexts << text;
            }
        }
    }
    table.title = titleTexts.join(QLatin1Char(' '));

    d->m_evaluating = ReportBandType::PageHeader;
    for (const CompiledObject* column : columns) {
        const QRectF c = column->object->geometry();
        const CompiledObject* best = nullptr;
        double bestScore = 0.5;
        for (const CompiledBand& band : headers) {
            for (const CompiledObject& object : band.objects) {
                if (!object.memo)
                    continue;
                const QRectF h = object.object->geometry();
                const double uni = qMax(c.right(), h.right()) - qMin(c.left(), h.left());
                const double score = uni > 0 ? overlap(c, h) / uni : 0;
                if (score > bestScore ||
                    (best && qFuzzyCompare(score, bestScore) && h.top() > best->object->geometry().top())) {
                    best = &object;
                    bestScore = score;
                }
            }
        }
        table.captions << (best ? d->evaluate(*best).remove(kTotalPagesMark) : QString());
        table.formats << column->memo->displayFormat();
    }

    const int rows = source->rowCount();
    for (int r = 0; r < rows; ++r) {
        d->m_cursor.insert(source, r);
        d->m_lastLine = r + 1;
        d->addRow(master, r, true, true);
        d->m_evaluating = ReportBandType::MasterData;
        QVariantList row;
        row.reserve(columns.size());
        for (const CompiledObject* column : columns)
            row << d->evaluateValue(*column);
        table.rows << row;
    }

    d->m_evaluating = ReportBandType::ReportSummary;
    QVector<QVariantList> cells(columns.size());
    bool anyTotal = false;
    for (const CompiledBand& band : summaries) {
        for (const CompiledObject& object : band.objects) {
            if (!object.memo)
                continue;
            int bestColumn = -1;
            double bestOverlap = 0;
            for (int c = 0; c < columns.size(); ++c) {
                const double o = overlap(object.object->geometry(), columns.at(c)->object->geometry());
                if (o > bestOverlap + kEpsilon) {
                    bestOverlap = o;
                    bestColumn = c;
                }
            }
            if (bestColumn < 0)
                continue;
            const QVariant value = d->evaluateValue(object);
            if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
                continue;
            cells[bestColumn] << value;
            anyTotal = true;
        }
    }
    if (anyTotal) {
        for (const QVariantList& cell : cells) {
            if (cell.isEmpty()) {
                table.totals << QVariant();
            } else if (cell.size() == 1) {
                table.totals << cell.first();
            } else {
                QStringList texts;
                for (const QVariant& v : cell)
                    texts << ReportFormat::plain(v);
                table.totals << texts.join(QLatin1Char(' '));
            }
        }
    }
    return table;
}
