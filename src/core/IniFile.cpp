#include "core/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

IniFile::IniFile(const QString& path) : m_path(path) { reload(); }

void IniFile::reload() {
    m_lines.clear();
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QString text = QString::fromUtf8(f.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        if (i == lines.size() - 1 && raw.isEmpty())
            break;
        Line l;
        l.text = raw;
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed();
            l.section = section;
        } else {
            l.section = section;
            const int eq = raw.indexOf(QLatin1Char('='));
            if (eq > 0 && !t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#'))) {
                l.key = raw.left(eq).trimmed();
                l.value = raw.mid(eq + 1).trimmed();
            }
        }
        m_lines.push_back(l);
    }
}

int IniFile::find(const QString& section, const QString& key) const {
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line& l = m_lines[i];
        if (!l.key.isEmpty() && l.section.compare(section, Qt::CaseInsensitive) == 0 &&
            l.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    const int i = find(section, key);
    return i < 0 ? def : m_lines[i].value;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    bool ok = false;
    const int v = readString(section, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

bool IniFile::hasKey(const QString& section, const QString& key) const { return find(section, key) >= 0; }

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const int i = find(section, key);
    if (i >= 0) {
        Line& l = m_lines[i];
        l.value = value;
        l.text = l.key + QLatin1Char('=') + value;
        return save();
    }
    // Append to the last line of an existing section, or start a new section at the end.
    int last = -1;
    for (int j = 0; j < m_lines.size(); ++j) {
        if (m_lines[j].section.compare(section, Qt::CaseInsensitive) == 0) {
            if (!m_lines[j].text.trimmed().isEmpty())
                last = j;
        }
    }
    Line l;
    l.key = key;
    l.value = value;
    l.text = key + QLatin1Char('=') + value;
    if (last >= 0) {
        l.section = m_lines[last].section;
        m_lines.insert(last + 1, l);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().text.trimmed().isEmpty()) {
            Line blank;
            blank.section = m_lines.last().section;
            m_lines.push_back(blank);
        }
        Line header;
        header.section = section;
        header.text = QLatin1Char('[') + section + QLatin1Char(']');
        m_lines.push_back(header);
        l.section = section;
        m_lines.push_back(l);
    }
    return save();
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool IniFile::save() const {
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray out;
    for (const Line& l : m_lines)
        out += l.text.toUtf8() + "\n";
    f.write(out);
    return f.commit();
}
