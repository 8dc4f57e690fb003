#include "sheet/BiffCellFormats.h"

#include "sheet/NumberFormat.h"

#include <QtEndian>

#include <cstring>

namespace {

enum : quint16 {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilePass = 0x002F,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kXf = 0x00E0,
    kLabelSst = 0x00FD,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kFormat = 0x041E,
    kBof = 0x0809,
};

quint16 u16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}

double f64(const char* p) {
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

double rkValue(quint32 rk) {
    double v;
    if (rk & 0x02) {
        v = static_cast<double>(static_cast<qint32>(rk) >> 2);
    } else {
        const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100.0 : v;
}

// XLUnicodeString (16-bit length) or ShortXLUnicodeString (8-bit length).
QString biffString(const char* p, int avail, bool shortLength) {
    int pos = shortLength ? 1 : 2;
    if (avail < pos + 1)
        return QString();
    const int cch = shortLength ? static_cast<unsigned char>(p[0]) : u16(p);
    const unsigned char flags = static_cast<unsigned char>(p[pos++]);
    if (!shortLength) {
        if (flags & 0x08)
            pos += 2; // rich-text run count
        if (flags & 0x04)
            pos += 4; // extended (phonetic) data size
    }
    if (flags & 0x01) {
        const int n = qMin(cch, (avail - pos) / 2);
        QString s(n, Qt::Uninitialized);
        for (int i = 0; i < n; ++i)
            s[i] = QChar(u16(p + pos + 2 * i));
        return s;
    }
    const int n = qMin(cch, avail - pos);
    return n > 0 ? QString::fromLatin1(p + pos, n) : QString();
}

QString errorText(int code) {
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    case 0x2A:
        return QStringLiteral("#N/A");
    default:
        return QStringLiteral("#N/A");
    }
}

quint32 key(int row, int column) {
    return (static_cast<quint32>(row) << 16) | static_cast<quint32>(column & 0xFFFF);
}

} // namespace

BiffCellFormats::Result BiffCellFormats::parse(const QByteArray& d) {
    m_formats.clear();
    m_xfFormat.clear();
    m_sheetNames.clear();
    m_sheets.clear();
    const char* base = d.constData();
    const qint64 size = d.size();
    if (size < 8 || u16(base) != kBof || u16(base + 2) < 4 || u16(base + 2) > size - 4)
        return Result::Damaged;
    if (u16(base + 4) != 0x0600)
        return Result::NotBiff8;
    QVector<quint32> offsets;
    qint64 pos = 0;
    bool first = true;
    bool sawEof = false;
    while (pos + 4 <= size) {
        const quint16 type = u16(base + pos);
        const quint16 len = u16(base + pos + 2);
        const char* p = base + pos + 4;
        if (pos + 4 + len > size)
            return Result::Damaged;
        if (!first && type == kBof)
            return Result::Damaged;
        first = false;
        if (type == kEof) {
            sawEof = true;
            break;
        }
        switch (type) {
        case kFilePass:
            return Result::Encrypted;
        case kFormat:
            if (len >= 5)
                m_formats.insert(u16(p), biffString(p + 2, len - 2, false));
            break;
        case kXf:
            if (len >= 4)
                m_xfFormat.push_back(u16(p + 2));
            break;
        case kBoundSheet:
            if (len >= 8) {
                offsets.push_back(u32(p));
                m_sheetNames << biffString(p + 6, len - 6, true);
            }
            break;
        default:
            break;
        }
        pos += 4 + len;
    }
    if (!sawEof)
        return Result::Damaged;
    for (quint32 off : offsets) {
        QHash<quint32, Cell> cells;
        if (!parseSheet(d, off, &cells))
            return Result::Damaged;
        m_sheets.push_back(cells);
    }
    return Result::Ok;
}

bool BiffCellFormats::parseSheet(const QByteArray& d, qint64 pos, QHash<quint32, Cell>* cells) const {
    const char* base = d.constData();
    const qint64 size = d.size();
    if (pos + 4 > size || u16(base + pos) != kBof)
        return false;
    int depth = 0;
    quint32 pendingString = 0;
    bool hasPending = false;
    while (pos + 4 <= size) {
        const quint16 type = u16(base + pos);
        const quint16 len = u16(base + pos + 2);
        const char* p = base + pos + 4;
        if (pos + 4 + len > size)
            return false;
        pos += 4 + len;
        if (type == kBof) {
            ++depth;
            continue;
        }
        if (type == kEof) {
            if (--depth == 0)
                return true;
            continue;
        }
        if (depth != 1)
            continue; // an embedded chart
        Cell c;
        switch (type) {
        case kNumber:
            if (len < 14)
                break;
            c.kind = Cell::Kind::Number;
            c.xf = u16(p + 4);
            c.number = f64(p + 6);
            cells->insert(key(u16(p), u16(p + 2)), c);
            break;
        case kRk:
            if (len < 10)
                break;
            c.kind = Cell::Kind::Number;
            c.xf = u16(p + 4);
            c.number = rkValue(u32(p + 6));
            cells->insert(key(u16(p), u16(p + 2)), c);
            break;
        case kMulRk: {
            if (len < 6)
                break;
            const int row = u16(p);
            const int firstCol = u16(p + 2);
            const int n = (len - 6) / 6;
            for (int i = 0; i < n; ++i) {
                Cell m;
                m.kind = Cell::Kind::Number;
                m.xf = u16(p + 4 + i * 6);
                m.number = rkValue(u32(p + 6 + i * 6));
                cells->insert(key(row, firstCol + i), m);
            }
            break;
        }
        case kLabelSst:
        case kLabel:
        case kBlank:
            if (len < 6)
                break;
            c.kind = type == kBlank ? Cell::Kind::Blank : Cell::Kind::Text;
            c.xf = u16(p + 4);
            if (type == kLabel)
                c.text = biffString(p + 6, len - 6, false);
            cells->insert(key(u16(p), u16(p + 2)), c);
            break;
        case kBoolErr:
            if (len < 8)
                break;
            c.xf = u16(p + 4);
            if (p[7]) {
                c.kind = Cell::Kind::Error;
                c.text = errorText(static_cast<unsigned char>(p[6]));
            } else {
                c.kind = Cell::Kind::Boolean;
                c.number = p[6] ? 1 : 0;
            }
            cells->insert(key(u16(p), u16(p + 2)), c);
            break;
        case kFormula: {
            if (len < 20)
                break;
            c.xf = u16(p + 4);
            const quint32 k = key(u16(p), u16(p + 2));
            if (u16(p + 12) == 0xFFFF) {
                const int kind = static_cast<unsigned char>(p[6]);
                if (kind == 0) {
                    c.kind = Cell::Kind::Text;
                    pendingString = k;
                    hasPending = true;
                } else if (kind == 1) {
                    c.kind = Cell::Kind::Boolean;
                    c.number = p[8] ? 1 : 0;
                } else if (kind == 2) {
                    c.kind = Cell::Kind::Error;
                    c.text = errorText(static_cast<unsigned char>(p[8]));
                } else {
                    c.kind = Cell::Kind::Text;
                }
            } else {
                c.kind = Cell::Kind::Number;
                c.number = f64(p + 6);
            }
            cells->insert(k, c);
            break;
        }
        case kString:
            if (hasPending) {
                auto it = cells->find(pendingString);
                if (it != cells->end())
                    it->text = biffString(p, len, false);
                hasPending = false;
            }
            break;
        default:
            break;
        }
    }
    return false;
}

const BiffCellFormats::Cell* BiffCellFormats::cell(int sheet, int row, int column) const {
    if (sheet < 0 || sheet >= m_sheets.size() || row < 0 || row > 0xFFFF || column < 0 || column > 0xFFFF)
        return nullptr;
    const QHash<quint32, Cell>& cells = m_sheets.at(sheet);
    auto it = cells.constFind(key(row, column));
    return it == cells.constEnd() ? nullptr : &it.value();
}

QString BiffCellFormats::formatCode(quint16 xf) const {
    if (xf >= m_xfFormat.size())
        return QStringLiteral("General");
    const int id = m_xfFormat.at(xf);
    QString code = m_formats.value(id);
    if (code.isEmpty())
        code = NumberFormat::builtinCode(id);
    return code.isEmpty() ? QStringLiteral("General") : code;
}
