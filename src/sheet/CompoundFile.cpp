#include "sheet/CompoundFile.h"

#include <QtEndian>

namespace {
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kMaxSector = 0xFFFFFFFA;

quint16 u16(const QByteArray& d, qint64 off) {
    return qFromLittleEndian<quint16>(d.constData() + off);
}

quint32 u32(const QByteArray& d, qint64 off) {
    return qFromLittleEndian<quint32>(d.constData() + off);
}
} // namespace

bool CompoundFile::hasSignature(const QByteArray& head) {
    return head.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"));
}

bool CompoundFile::chain(const QVector<quint32>& fat, quint32 start, QVector<quint32>* sectors) const {
    sectors->clear();
    quint32 s = start;
    while (s != kEndOfChain) {
        if (s > kMaxSector || s >= static_cast<quint32>(fat.size()) || sectors->size() > fat.size())
            return false; // out of range, or a loop
        sectors->push_back(s);
        s = fat.at(s);
    }
    return true;
}

bool CompoundFile::readChain(quint32 start, quint64 size, QByteArray* out) const {
    out->clear();
    if (size == 0)
        return true;
    QVector<quint32> sectors;
    if (!chain(m_fat, start, &sectors))
        return false;
    if (static_cast<quint64>(sectors.size()) * m_sectorSize < size)
        return false;
    out->reserve(static_cast<int>(size));
    for (quint32 s : sectors) {
        const qint64 off = (static_cast<qint64>(s) + 1) * m_sectorSize;
        if (off + m_sectorSize > m_data.size()) {
            // the last sector of a file may be cut short
            if (off >= m_data.size())
                return false;
            out->append(m_data.constData() + off, m_data.size() - off);
        } else {
            out->append(m_data.constData() + off, m_sectorSize);
        }
        if (static_cast<quint64>(out->size()) >= size)
            break;
    }
    if (static_cast<quint64>(out->size()) < size)
        return false;
    out->truncate(static_cast<int>(size));
    return true;
}

bool CompoundFile::readMiniChain(quint32 start, quint64 size, QByteArray* out) const {
    out->clear();
    if (size == 0)
        return true;
    QVector<quint32> sectors;
    if (!chain(m_miniFat, start, &sectors))
        return false;
    for (quint32 s : sectors) {
        const qint64 off = static_cast<qint64>(s) * m_miniSectorSize;
        if (off + m_miniSectorSize > m_miniStream.size())
            return false;
        out->append(m_miniStream.constData() + off, m_miniSectorSize);
        if (static_cast<quint64>(out->size()) >= size)
            break;
    }
    if (static_cast<quint64>(out->size()) < size)
        return false;
    out->truncate(static_cast<int>(size));
    return true;
}

bool CompoundFile::load(const QByteArray& data) {
    m_data = data;
    m_fat.clear();
    m_miniFat.clear();
    m_miniStream.clear();
    m_entries.clear();
    if (data.size() < 512 || !hasSignature(data))
        return false;
    const int sectorShift = u16(data, 0x1E);
    const int miniShift = u16(data, 0x20);
    if (sectorShift != 9 && sectorShift != 12)
        return false;
    if (miniShift != 6)
        return false;
    m_sectorSize = 1 << sectorShift;
    m_miniSectorSize = 1 << miniShift;
    const quint32 fatSectors = u32(data, 0x2C);
    const quint32 dirStart = u32(data, 0x30);
    m_miniCutoff = u32(data, 0x38);
    const quint32 miniFatStart = u32(data, 0x3C);
    const quint32 difatStart = u32(data, 0x44);
    const quint32 difatCount = u32(data, 0x48);
    const qint64 totalSectors = (data.size() + m_sectorSize - 1) / m_sectorSize;
    if (fatSectors > static_cast<quint64>(totalSectors))
        return false;

    // The FAT's own sectors: 109 in the header, the rest in the DIFAT chain.
    QVector<quint32> fatList;
    for (int i = 0; i < 109 && static_cast<quint32>(fatList.size()) < fatSectors; ++i)
        fatList.push_back(u32(data, 0x4C + i * 4));
    quint32 difat = difatStart;
    const int perDifat = m_sectorSize / 4 - 1;
    for (quint32 n = 0; n < difatCount && static_cast<quint32>(fatList.size()) < fatSectors; ++n) {
        const qint64 off = (static_cast<qint64>(difat) + 1) * m_sectorSize;
        if (difat > kMaxSector || off + m_sectorSize > data.size())
            return false;
        for (int i = 0; i < perDifat && static_cast<quint32>(fatList.size()) < fatSectors; ++i)
            fatList.push_back(u32(data, off + i * 4));
        difat = u32(data, off + perDifat * 4);
    }
    for (quint32 s : fatList) {
        const qint64 off = (static_cast<qint64>(s) + 1) * m_sectorSize;
        if (s > kMaxSector || off + m_sectorSize > data.size())
            return false;
        for (int i = 0; i < m_sectorSize / 4; ++i)
            m_fat.push_back(u32(data, off + i * 4));
    }

    QByteArray dir;
    QVector<quint32> dirSectors;
    if (!chain(m_fat, dirStart, &dirSectors) || dirSectors.isEmpty())
        return false;
    if (!readChain(dirStart, static_cast<quint64>(dirSectors.size()) * m_sectorSize, &dir))
        return false;
    for (int off = 0; off + 128 <= dir.size(); off += 128) {
        Entry e;
        const int nameBytes = u16(dir, off + 64);
        const int entryType = static_cast<unsigned char>(dir.at(off + 66));
        // [MS-CFB] 2.6.1: at most 32 UTF-16 characters with the terminator; readers such as
        // freexl trust this length, so a damaged one makes the whole file damaged.
        if (nameBytes > 64 || nameBytes % 2 != 0 || entryType > 5 || (entryType != 0 && nameBytes == 0))
            return false;
        const int chars = qMax(0, nameBytes / 2 - 1);
        for (int i = 0; i < chars; ++i)
            e.name += QChar(u16(dir, off + i * 2));
        e.type = entryType;
        e.start = u32(dir, off + 116);
        e.size = u32(dir, off + 120);
        m_entries.push_back(e);
    }
    if (m_entries.isEmpty() || m_entries.first().type != 5)
        return false;

    // The mini stream lives in the root entry's chain; the mini FAT in its own chain.
    QVector<quint32> miniFatSectors;
    if (miniFatStart != kEndOfChain && chain(m_fat, miniFatStart, &miniFatSectors)) {
        QByteArray mf;
        if (readChain(miniFatStart, static_cast<quint64>(miniFatSectors.size()) * m_sectorSize, &mf)) {
            for (int i = 0; i + 4 <= mf.size(); i += 4)
                m_miniFat.push_back(u32(mf, i));
        }
    }
    const Entry& root = m_entries.first();
    if (root.size > 0 && !readChain(root.start, root.size, &m_miniStream))
        m_miniStream.clear();
    return true;
}

QStringList CompoundFile::streamNames() const {
    QStringList names;
    for (const Entry& e : m_entries) {
        if (e.type == 2)
            names << e.name;
    }
    return names;
}

const CompoundFile::Entry* CompoundFile::find(const QString& name) const {
    for (const Entry& e : m_entries) {
        if (e.type == 2 && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

bool CompoundFile::hasStream(const QString& name) const {
    return find(name) != nullptr;
}

bool CompoundFile::stream(const QString& name, QByteArray* out) const {
    const Entry* e = find(name);
    if (!e)
        return false;
    if (e->size < m_miniCutoff)
        return readMiniChain(e->start, e->size, out);
    return readChain(e->start, e->size, out);
}
