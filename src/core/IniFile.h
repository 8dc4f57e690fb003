#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The settings file. Section and key names are matched without regard to letter case, the
// spelling found in the file is kept, and every write goes to the disk at once (through a
// temporary file renamed over the old one, so a crash never leaves half a file).
class IniFile {
public:
    explicit IniFile(const QString& path);

    QString path() const { return m_path; }
    QString readString(const QString& section, const QString& key, const QString& def = QString()) const;
    int readInteger(const QString& section, const QString& key, int def) const;
    bool hasKey(const QString& section, const QString& key) const;
    // Return false when the file cannot be written.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    void reload();

private:
    struct Line {
        QString text;    // the line as it stands in the file
        QString section; // section it belongs to
        QString key;     // empty for comments, blanks and section headers
        QString value;
    };
    int find(const QString& section, const QString& key) const;
    bool save() const;

    QString m_path;
    QVector<Line> m_lines;
};
