#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// What freexl keeps to itself about a BIFF8 workbook stream: the number format of each cell
// (its XF index, the XF records' format ids and the FORMAT records' codes) and the exact
// value of numeric, boolean, error and formula cells. The .xls reader takes values and texts
// from freexl and uses this table to show them as the sheet does. Only BIFF8 (Excel 97 and
// later) is scanned; for older or encrypted streams parse() fails and the reader falls back
// to what freexl alone tells.
class BiffCellFormats {
public:
    struct Cell {
        enum class Kind : quint8 { Number, Boolean, Error, Text, Blank };
        Kind kind = Kind::Blank;
        quint16 xf = 0;
        double number = 0; // Number; Boolean 0/1
        QString text;      // Text (formula string results); Error ("#N/A" ...)
    };

    enum class Result {
        Ok,
        NotBiff8,  // an older BIFF version: not scanned
        Encrypted, // a FILEPASS record: the stream is encrypted
        Damaged,   // records overrun the stream, a sheet has no end, an offset points nowhere
    };

    // Walks every record of the globals and of each sheet substream, checking each length
    // against the stream, so a damaged stream is known before anything else reads it.
    Result parse(const QByteArray& workbookStream);

    QStringList sheetNames() const { return m_sheetNames; }
    // The cell at 0-based row and column of sheet `sheet` (in BOUNDSHEET order), or null.
    const Cell* cell(int sheet, int row, int column) const;
    // The format code of an XF index: the workbook's FORMAT record, else the built-in code.
    QString formatCode(quint16 xf) const;

private:
    bool parseSheet(const QByteArray& d, qint64 pos, QHash<quint32, Cell>* cells) const;

    QHash<int, QString> m_formats;
    QVector<quint16> m_xfFormat;
    QStringList m_sheetNames;
    QVector<QHash<quint32, Cell>> m_sheets;
};
