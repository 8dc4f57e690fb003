#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A read-only view of an OLE2 compound file (the container of .xls workbooks and of
// password-protected Office Open XML files): its directory and the streams in it, through the
// FAT, DIFAT, mini FAT and mini stream. Every offset is checked; a damaged file makes load()
// or stream() fail, never read out of bounds.
class CompoundFile {
public:
    static bool hasSignature(const QByteArray& head);

    bool load(const QByteArray& data);
    QStringList streamNames() const;
    bool hasStream(const QString& name) const; // letter case ignored
    // The stream's bytes; false when it is missing or its sector chain is damaged.
    bool stream(const QString& name, QByteArray* out) const;

private:
    struct Entry {
        QString name;
        int type = 0; // 1 storage, 2 stream, 5 root
        quint32 start = 0;
        quint64 size = 0;
    };

    bool chain(const QVector<quint32>& fat, quint32 start, QVector<quint32>* sectors) const;
    bool readChain(quint32 start, quint64 size, QByteArray* out) const;
    bool readMiniChain(quint32 start, quint64 size, QByteArray* out) const;
    const Entry* find(const QString& name) const;

    QByteArray m_data;
    int m_sectorSize = 512;
    int m_miniSectorSize = 64;
    quint32 m_miniCutoff = 4096;
    QVector<quint32> m_fat;
    QVector<quint32> m_miniFat;
    QByteArray m_miniStream;
    QVector<Entry> m_entries;
};
