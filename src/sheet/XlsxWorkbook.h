#pragma once

#include "sheet/Workbook.h"

#include <QHash>
#include <QStringList>
#include <QVector>

class QuaZip;

// An Office Open XML workbook (.xlsx, .xlsm) read with QuaZip and QXmlStreamReader:
// workbook.xml (sheet order, names, the 1904 flag), its relationships, sharedStrings.xml (rich
// text runs joined, phonetic runs left out), styles.xml (numFmts and cellXfs) and the sheet
// parts (cell types s, str, inlineStr, b, n, e and d). Chart sheets are not listed.
class XlsxWorkbook : public Workbook {
    Q_DECLARE_TR_FUNCTIONS(XlsxWorkbook)

public:
    explicit XlsxWorkbook(const QString& path);

    Format format() const override { return Format::Xlsx; }
    // Reads the workbook's structure, shared strings and styles.
    bool load(QString* error);

protected:
    bool loadSheet(int index, SheetData* cells, QString* error) override;

private:
    bool readPart(QuaZip& zip, const QString& name, QByteArray* data, QString* error) const;
    bool parseWorkbook(const QByteArray& xml, QStringList* relIds, QString* error);
    QHash<QString, QPair<QString, QString>> parseRelationships(const QByteArray& xml,
                                                               const QString& baseDir) const;
    bool parseSharedStrings(const QByteArray& xml, QString* error);
    bool parseStyles(const QByteArray& xml, QString* error);
    QString damaged(const QString& detail) const;

    QStringList m_sheetParts;
    QStringList m_sharedStrings;
    QVector<QString> m_xfFormats; // cellXfs index -> format code
};
