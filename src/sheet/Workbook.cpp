#include "sheet/Workbook.h"

#include "sheet/CompoundFile.h"
#include "sheet/ExcelDate.h"
#include "sheet/NumberFormat.h"
#include "sheet/XlsWorkbook.h"
#include "sheet/XlsxWorkbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <cmath>

Workbook::Workbook(const QString& path) : m_path(path) {}

Workbook::~Workbook() = default;

QString Workbook::openError(const QString& path, const QString& reason) {
    return tr("无法打开Excel文件：%1（文件：%2）").arg(reason, QDir::toNativeSeparators(path));
}

Workbook::Format Workbook::detectFormat(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Format::Unknown;
    const QByteArray head = file.read(8);
    if (CompoundFile::hasSignature(head))
        return Format::Xls;
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return Format::Xlsx;
    return Format::Unknown;
}

std::unique_ptr<Workbook> Workbook::open(const QString& path, QString* errorMessage) {
    QString dummy;
    QString& error = errorMessage ? *errorMessage : dummy;
    error.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        error = openError(path, tr("文件不存在"));
        return nullptr;
    }
    if (info.isDir()) {
        error = openError(path, tr("这是一个文件夹，不是文件"));
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = openError(path, tr("文件无法读取（%1）").arg(file.errorString()));
        return nullptr;
    }
    if (file.size() == 0) {
        error = openError(path, tr("文件是空的"));
        return nullptr;
    }
    const QByteArray head = file.read(8);
    file.close();

    std::unique_ptr<Workbook> book;
    if (CompoundFile::hasSignature(head)) {
        auto xls = std::make_unique<XlsWorkbook>(path);
        if (!xls->load(&error))
            return nullptr;
        book = std::move(xls);
    } else if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06")) {
        auto xlsx = std::make_unique<XlsxWorkbook>(path);
        if (!xlsx->load(&error))
            return nullptr;
        book = std::move(xlsx);
    } else {
        const QByteArray start = head.trimmed().toLower();
        if (start.startsWith("<") || head.startsWith("\xEF\xBB\xBF<"))
            error = openError(
                path, tr("这是网页或XML格式的表格，不是Excel工作簿；请在Excel中另存为.xlsx或.xls后再导入"));
        else
            error = openError(path, tr("文件格式无法识别，不是Excel工作簿"));
        return nullptr;
    }
    if (book->sheetCount() == 0) {
        error = openError(path, tr("工作簿中没有工作表"));
        return nullptr;
    }
    if (!book->selectSheet(0)) {
        error = book->errorString();
        return nullptr;
    }
    return book;
}

bool Workbook::selectSheet(int index) {
    m_error.clear();
    if (index < 0 || index >= m_sheetNames.size()) {
        m_error = tr("工作表不存在（序号%1）").arg(index + 1);
        return false;
    }
    SheetData cells;
    QString error;
    if (!loadSheet(index, &cells, &error)) {
        m_error =
            error.isEmpty() ? openError(m_path, tr("工作表“%1”无法读取").arg(m_sheetNames.at(index))) : error;
        return false;
    }
    m_cells = std::move(cells);
    m_current = index;
    return true;
}

bool Workbook::selectSheet(const QString& name) {
    int index = m_sheetNames.indexOf(name);
    if (index < 0) {
        for (int i = 0; i < m_sheetNames.size(); ++i) {
            if (m_sheetNames.at(i).compare(name, Qt::CaseInsensitive) == 0) {
                index = i;
                break;
            }
        }
    }
    if (index < 0) {
        m_error = tr("工作表“%1”不存在").arg(name);
        return false;
    }
    return selectSheet(index);
}

SheetCell Workbook::cell(int row, int column) const {
    if (row < 1 || column < 1)
        return SheetCell();
    return m_cells.cell(row, column);
}

QString Workbook::text(int row, int column) const {
    const SheetCell c = cell(row, column);
    switch (c.type) {
    case SheetCell::Type::Empty:
        return QString();
    case SheetCell::Type::Number:
    case SheetCell::Type::Date:
        return NumberFormat::render(c.number, c.formatCode, m_date1904);
    case SheetCell::Type::Text:
        return NumberFormat::renderText(c.string, c.formatCode);
    case SheetCell::Type::Boolean:
        return c.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case SheetCell::Type::Error:
        return c.string;
    }
    return QString();
}

QString Workbook::valueText(int row, int column) const {
    const SheetCell c = cell(row, column);
    switch (c.type) {
    case SheetCell::Type::Empty:
        return QString();
    case SheetCell::Type::Number:
        return NumberFormat::general(c.number);
    case SheetCell::Type::Date: {
        if (NumberFormat::isTimeFormat(c.formatCode) && c.number >= 0 && std::isfinite(c.number)) {
            const qint64 seconds = std::llround((c.number - std::floor(c.number)) * 86400.0) % 86400;
            return QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000))
                .toString(QStringLiteral("HH:mm:ss"));
        }
        const QDateTime dt = ExcelDate::toDateTime(c.number, m_date1904);
        if (!dt.isValid())
            return NumberFormat::general(c.number);
        if (dt.time().msecsSinceStartOfDay() == 0)
            return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
        return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case SheetCell::Type::Text:
    case SheetCell::Type::Error:
        return c.string;
    case SheetCell::Type::Boolean:
        return c.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    }
    return QString();
}
