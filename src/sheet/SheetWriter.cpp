#include "sheet/SheetWriter.h"

#include "sheet/XlsxWriterLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>

#include <cmath>
#include <cstdio>

struct SheetWriter::State {
    const XlsxWriterLibrary* lxw = nullptr;
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* worksheet = nullptr;
    QVector<ExportColumn> columns;
    QVector<lxw_format*> formats; // per column, null for General / text
    QString target;
    QString temp;
    int nextRow = 0;
};

SheetWriter::SheetWriter() = default;

SheetWriter::~SheetWriter() {
    cancel();
}

QString SheetWriter::exportFileName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return trimmed;
    if (!trimmed.contains(QLatin1String(".xls")))
        return trimmed + QStringLiteral(".xlsx");
    return trimmed;
}

QString SheetWriter::sheetNameFor(const QString& name) {
    QString out;
    for (const QChar c : name) {
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20)
            out += QLatin1Char('_');
        else
            out += c;
    }
    out = out.trimmed();
    while (out.startsWith(QLatin1Char('\'')))
        out.remove(0, 1);
    if (out.size() > 31)
        out.truncate(31);
    while (out.endsWith(QLatin1Char('\'')))
        out.chop(1);
    if (out.isEmpty() || out.compare(QLatin1String("History"), Qt::CaseInsensitive) == 0)
        out = QStringLiteral("Sheet1");
    return out;
}

bool SheetWriter::fail(const QString& reason) {
    const QString target = m_state ? m_state->target : QString();
    cancel();
    m_error = tr("无法写入Excel文件：%1（文件：%2）").arg(reason, QDir::toNativeSeparators(target));
    return false;
}

void SheetWriter::cancel() {
    if (!m_state)
        return;
    if (m_state->workbook)
        m_state->lxw->workbookFree(m_state->workbook);
    if (!m_state->temp.isEmpty())
        QFile::remove(m_state->temp);
    m_state.reset();
}

bool SheetWriter::begin(const QString& path, const QString& sheetName, const QVector<ExportColumn>& columns) {
    cancel();
    m_error.clear();
    m_state = std::make_unique<State>();
    const QFileInfo info(path);
    m_state->target = info.absoluteFilePath();
    m_state->columns = columns;
    if (path.trimmed().isEmpty())
        return fail(tr("没有文件名"));
    if (columns.isEmpty())
        return fail(tr("没有可导出的列"));
    if (columns.size() > kMaxColumns)
        return fail(tr("列数超过Excel工作表的上限（%1列）").arg(kMaxColumns));
    QString libraryError;
    m_state->lxw = XlsxWriterLibrary::instance(&libraryError);
    if (!m_state->lxw)
        return fail(libraryError);
    const XlsxWriterLibrary& lxw = *m_state->lxw;
    const QFileInfo dir(info.absolutePath());
    if (!dir.exists() || !dir.isDir())
        return fail(tr("文件夹不存在"));
    if (info.exists() && info.isDir())
        return fail(tr("已有同名的文件夹"));

    // Reserve a temporary name beside the target; libxlsxwriter creates the file itself.
    {
        QTemporaryFile reserve(info.absolutePath() + QStringLiteral("/.~") + info.completeBaseName() +
                               QStringLiteral("-XXXXXX.xlsx"));
        if (!reserve.open())
            return fail(tr("文件夹不可写（%1）").arg(reserve.errorString()));
        m_state->temp = reserve.fileName();
    } // removed here

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    const QByteArray tempName = QFile::encodeName(m_state->temp);
    m_state->workbook = lxw.workbookNewOpt(tempName.constData(), &options);
    if (!m_state->workbook)
        return fail(tr("无法创建工作簿"));
    const QByteArray sheet = sheetNameFor(sheetName).toUtf8();
    m_state->worksheet = lxw.workbookAddWorksheet(m_state->workbook, sheet.constData());
    if (!m_state->worksheet)
        return fail(tr("工作表名称无效"));

    lxw_format* bold = lxw.workbookAddFormat(m_state->workbook);
    lxw.formatSetBold(bold);
    for (int c = 0; c < columns.size(); ++c) {
        const ExportColumn& col = columns.at(c);
        lxw_format* f = nullptr;
        if (col.kind == ExportColumn::Kind::Number && !col.numberFormat.trimmed().isEmpty() &&
            col.numberFormat.compare(QLatin1String("General"), Qt::CaseInsensitive) != 0) {
            f = lxw.workbookAddFormat(m_state->workbook);
            const QByteArray code = col.numberFormat.toUtf8();
            lxw.formatSetNumFormat(f, code.constData());
        }
        m_state->formats << f;
        // A width for the caption: CJK characters count double.
        int width = 0;
        for (const QChar ch : col.caption)
            width += ch.unicode() >= 0x2E80 ? 2 : 1;
        lxw.worksheetSetColumn(m_state->worksheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                               qBound(8, width + 2, 50), nullptr);
    }
    for (int c = 0; c < columns.size(); ++c) {
        const QByteArray caption = columns.at(c).caption.left(kMaxTextLength).toUtf8();
        const lxw_error e = lxw.worksheetWriteString(m_state->worksheet, 0, static_cast<lxw_col_t>(c),
                                                     caption.constData(), bold);
        if (e != LXW_NO_ERROR)
            return fail(QString::fromUtf8(lxw.strError(e)));
    }
    m_state->nextRow = 1;
    return true;
}

bool SheetWriter::addRow(const QVector<QVariant>& values) {
    if (!m_state || !m_state->worksheet) {
        m_error = tr("无法写入Excel文件：文件尚未打开");
        return false;
    }
    if (m_state->nextRow >= kMaxRows)
        return fail(tr("数据行数超过Excel工作表的上限（%1行）").arg(kMaxRows - 1));
    const XlsxWriterLibrary& lxw = *m_state->lxw;
    const lxw_row_t row = static_cast<lxw_row_t>(m_state->nextRow);
    const int n = qMin(values.size(), m_state->columns.size());
    for (int c = 0; c < n; ++c) {
        const QVariant& v = values.at(c);
        if (v.isNull() || !v.isValid())
            continue;
        const lxw_col_t col = static_cast<lxw_col_t>(c);
        lxw_error e = LXW_NO_ERROR;
        bool asNumber = false;
        double number = 0;
        if (m_state->columns.at(c).kind == ExportColumn::Kind::Number) {
            bool ok = false;
            const int type = v.userType();
            if (type == QMetaType::QString || type == QMetaType::QByteArray)
                number = QLocale::c().toDouble(v.toString().trimmed(), &ok);
            else if (type != QMetaType::QDate && type != QMetaType::QDateTime && type != QMetaType::QTime)
                number = v.toDouble(&ok);
            asNumber = ok && std::isfinite(number);
        }
        if (asNumber) {
            e = lxw.worksheetWriteNumber(m_state->worksheet, row, col, number, m_state->formats.at(c));
        } else {
            QString text;
            if (v.userType() == QMetaType::QDate)
                text = v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
            else if (v.userType() == QMetaType::QDateTime)
                text = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            else
                text = v.toString();
            if (text.isEmpty())
                continue;
            // a plain string: "=1+1" stays the text =1+1
            const QByteArray utf8 = text.left(kMaxTextLength).toUtf8();
            e = lxw.worksheetWriteString(m_state->worksheet, row, col, utf8.constData(), nullptr);
        }
        if (e != LXW_NO_ERROR)
            return fail(QString::fromUtf8(lxw.strError(e)));
    }
    ++m_state->nextRow;
    return true;
}

bool SheetWriter::finish() {
    if (!m_state || !m_state->workbook) {
        if (m_error.isEmpty())
            m_error = tr("无法写入Excel文件：文件尚未打开");
        return false;
    }
    const XlsxWriterLibrary& lxw = *m_state->lxw;
    const lxw_error e = lxw.workbookClose(m_state->workbook);
    m_state->workbook = nullptr;
    if (e != LXW_NO_ERROR) {
        const QString reason = e == LXW_ERROR_CREATING_XLSX_FILE || e == LXW_ERROR_CREATING_TMPFILE
                                   ? tr("文件无法创建，请检查文件夹是否可写、磁盘是否已满")
                                   : QString::fromUtf8(lxw.strError(e));
        return fail(reason);
    }
    const QByteArray from = QFile::encodeName(m_state->temp);
    const QByteArray to = QFile::encodeName(m_state->target);
    if (std::rename(from.constData(), to.constData()) != 0)
        return fail(tr("文件无法替换，可能正被其他程序使用或没有写入权限"));
    m_state->temp.clear();
    m_state.reset();
    return true;
}

bool SheetWriter::writeFile(const QString& path, const QString& sheetName,
                            const QVector<ExportColumn>& columns, const QVector<QVector<QVariant>>& rows,
                            QString* errorMessage) {
    SheetWriter writer;
    bool ok = writer.begin(path, sheetName, columns);
    for (int r = 0; ok && r < rows.size(); ++r)
        ok = writer.addRow(rows.at(r));
    ok = ok && writer.finish();
    if (errorMessage)
        *errorMessage = ok ? QString() : writer.errorString();
    return ok;
}
