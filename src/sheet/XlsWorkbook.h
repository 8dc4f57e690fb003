#pragma once

#include "sheet/BiffCellFormats.h"
#include "sheet/Workbook.h"

// A BIFF workbook (.xls, Excel 97-2003 and older) read through freexl.
//
// freexl gives the sheets, the cell values and texts, and tells date, date-time and time cells
// apart, but not the number format codes. For BIFF8 files the reader therefore also scans the
// workbook stream itself (BiffCellFormats) for each cell's format code and exact value, so
// that text() shows numbers and dates as the sheet does, exactly as for .xlsx. The same scan
// checks every record first: freexl crashes on some damaged files, so a BIFF8 stream that does
// not walk cleanly is refused before freexl reads it. When the scan
// is not possible (BIFF2-5 files, a stream freexl reads but the scan does not), numbers show
// in the General format and date cells as freexl reports them: "yyyy-mm-dd",
// "yyyy-mm-dd hh:mm:ss" or "hh:mm:ss" (seconds precision).
class XlsWorkbook : public Workbook {
    Q_DECLARE_TR_FUNCTIONS(XlsWorkbook)

public:
    explicit XlsWorkbook(const QString& path);
    ~XlsWorkbook() override;

    Format format() const override { return Format::Xls; }
    bool load(QString* error);
    // Whether the number formats were read from the file (see above).
    bool hasFormats() const { return m_hasFormats; }

protected:
    bool loadSheet(int index, SheetData* cells, QString* error) override;

private:
    QString freexlError(int code) const;

    const void* m_handle = nullptr;
    BiffCellFormats m_formats;
    bool m_hasFormats = false;
    QVector<int> m_formatSheet; // freexl sheet index -> BiffCellFormats sheet index, or -1
};
