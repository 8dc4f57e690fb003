#include "sheet/XlsWorkbook.h"

#include "sheet/CompoundFile.h"
#include "sheet/ExcelDate.h"
#include "sheet/NumberFormat.h"

#include <QFile>

#include <freexl.h>

XlsWorkbook::XlsWorkbook(const QString& path) : Workbook(path) {}

XlsWorkbook::~XlsWorkbook() {
    if (m_handle)
        freexl_close(m_handle);
}

QString XlsWorkbook::freexlError(int code) const {
    QString reason;
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        reason = tr("文件不存在或无法读取");
        break;
    case FREEXL_INSUFFICIENT_MEMORY:
        reason = tr("内存不足");
        break;
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        reason = tr("文件中没有Excel工作簿");
        break;
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        reason = tr("文件使用了无法识别的字符编码");
        break;
    default:
        reason = tr("文件已损坏或不完整（freexl错误代码%1）").arg(code);
        break;
    }
    return openError(path(), reason);
}

bool XlsWorkbook::load(QString* error) {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        *error = openError(path(), tr("文件无法读取（%1）").arg(file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    // freexl crashes on some damaged files (a record length changed is enough), so it gets only
    // files whose container and, for BIFF8, every record we have walked ourselves.
    CompoundFile cfb;
    if (!cfb.load(bytes)) {
        *error = openError(path(), tr("文件已损坏或不完整（复合文档结构无效）"));
        return false;
    }
    if (cfb.hasStream(QStringLiteral("EncryptedPackage"))) {
        *error = openError(path(), tr("文件受密码保护，请在Excel中取消密码后再导入"));
        return false;
    }
    if (!cfb.hasStream(QStringLiteral("Workbook")) && !cfb.hasStream(QStringLiteral("Book"))) {
        *error = openError(path(), tr("这是其他Office文档，不是Excel工作簿"));
        return false;
    }
    QByteArray stream;
    if (!cfb.stream(QStringLiteral("Workbook"), &stream) && !cfb.stream(QStringLiteral("Book"), &stream)) {
        *error = openError(path(), tr("文件已损坏或不完整（工作簿数据不完整）"));
        return false;
    }
    const BiffCellFormats::Result scan = m_formats.parse(stream);
    if (scan == BiffCellFormats::Result::Damaged) {
        *error = openError(path(), tr("文件已损坏或不完整（工作簿记录无效）"));
        return false;
    }
    if (scan == BiffCellFormats::Result::Encrypted) {
        *error = openError(path(), tr("文件受密码保护，请在Excel中取消密码后再导入"));
        return false;
    }

    const QByteArray name = QFile::encodeName(path());
    const int rc = freexl_open(name.constData(), &m_handle);
    if (rc != FREEXL_OK) {
        if (m_handle) {
            freexl_close(m_handle);
            m_handle = nullptr;
        }
        *error = freexlError(rc);
        return false;
    }
    unsigned int info = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED) {
        *error = openError(path(), tr("文件受密码保护，请在Excel中取消密码后再导入"));
        return false;
    }
    if (freexl_get_info(m_handle, FREEXL_BIFF_DATEMODE, &info) == FREEXL_OK)
        setDate1904(info == FREEXL_BIFF_DATEMODE_1904);
    unsigned int count = 0;
    if (freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        *error = freexlError(FREEXL_BIFF_WORKBOOK_NOT_FOUND);
        return false;
    }
    QStringList names;
    for (unsigned int i = 0; i < count && i < 0xFFFF; ++i) {
        const char* text = nullptr;
        if (freexl_get_worksheet_name(m_handle, static_cast<unsigned short>(i), &text) != FREEXL_OK || !text)
            names << QString();
        else
            names << QString::fromUtf8(text);
    }
    setSheetNames(names);

    // Number formats from our own scan of the workbook stream, matched to freexl's sheets
    // by name and order.
    if (scan == BiffCellFormats::Result::Ok) {
        const QStringList scanned = m_formats.sheetNames();
        QVector<bool> used(scanned.size(), false);
        bool all = true;
        for (const QString& n : names) {
            int match = -1;
            for (int j = 0; j < scanned.size(); ++j) {
                if (!used[j] && scanned.at(j) == n) {
                    match = j;
                    break;
                }
            }
            if (match >= 0)
                used[match] = true;
            else
                all = false;
            m_formatSheet << match;
        }
        m_hasFormats = all;
    }
    if (!m_hasFormats)
        m_formatSheet = QVector<int>(names.size(), -1);
    return true;
}

bool XlsWorkbook::loadSheet(int index, SheetData* cells, QString* error) {
    if (freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(index)) != FREEXL_OK) {
        *error = openError(path(), tr("工作表“%1”无法读取").arg(sheetNames().value(index)));
        return false;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK) {
        *error = openError(path(), tr("工作表“%1”无法读取").arg(sheetNames().value(index)));
        return false;
    }
    const int formatSheet = m_hasFormats ? m_formatSheet.value(index, -1) : -1;
    const QString general = QStringLiteral("General");
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned int c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(m_handle, r, static_cast<unsigned short>(c), &v) != FREEXL_OK)
                continue;
            const BiffCellFormats::Cell* side =
                formatSheet >= 0 ? m_formats.cell(formatSheet, static_cast<int>(r), static_cast<int>(c))
                                 : nullptr;
            SheetCell cell;
            cell.formatCode = side ? m_formats.formatCode(side->xf) : general;
            switch (v.type) {
            case FREEXL_CELL_INT:
            case FREEXL_CELL_DOUBLE:
                cell.number =
                    v.type == FREEXL_CELL_INT ? static_cast<double>(v.value.int_value) : v.value.double_value;
                if (side && side->kind == BiffCellFormats::Cell::Kind::Boolean) {
                    cell.type = SheetCell::Type::Boolean;
                    cell.number = side->number;
                } else {
                    if (side && side->kind == BiffCellFormats::Cell::Kind::Number)
                        cell.number = side->number;
                    cell.type = NumberFormat::isDateFormat(cell.formatCode) ? SheetCell::Type::Date
                                                                            : SheetCell::Type::Number;
                }
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                cell.type = SheetCell::Type::Text;
                cell.string = QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: {
                cell.type = SheetCell::Type::Date;
                double serial = 0;
                if (side && side->kind == BiffCellFormats::Cell::Kind::Number)
                    serial = side->number;
                else if (!ExcelDate::fromIsoText(QString::fromUtf8(v.value.text_value), date1904(), &serial))
                    continue;
                cell.number = serial;
                if (!side) {
                    cell.formatCode = v.type == FREEXL_CELL_DATE       ? QStringLiteral("yyyy-mm-dd")
                                      : v.type == FREEXL_CELL_DATETIME ? QStringLiteral("yyyy-mm-dd hh:mm:ss")
                                                                       : QStringLiteral("hh:mm:ss");
                }
                break;
            }
            default: // FREEXL_CELL_NULL: formula results and booleans freexl leaves out
                if (!side)
                    continue;
                switch (side->kind) {
                case BiffCellFormats::Cell::Kind::Number:
                    cell.number = side->number;
                    cell.type = NumberFormat::isDateFormat(cell.formatCode) ? SheetCell::Type::Date
                                                                            : SheetCell::Type::Number;
                    break;
                case BiffCellFormats::Cell::Kind::Boolean:
                    cell.type = SheetCell::Type::Boolean;
                    cell.number = side->number;
                    break;
                case BiffCellFormats::Cell::Kind::Error:
                    cell.type = SheetCell::Type::Error;
                    cell.string = side->text;
                    break;
                case BiffCellFormats::Cell::Kind::Text:
                    if (side->text.isNull())
                        continue;
                    cell.type = SheetCell::Type::Text;
                    cell.string = side->text;
                    break;
                case BiffCellFormats::Cell::Kind::Blank:
                    continue;
                }
                break;
            }
            cells->insert(static_cast<int>(r) + 1, static_cast<int>(c) + 1, cell);
        }
    }
    return true;
}
