#pragma once

#include <QFont>

// Maps the font names of layouts (宋体, 楷体_GB2312, 楷体, 黑体, Arial) to installed families.
class ReportFonts {
public:
    // Registers the substitutions once per process; called by everything that lays out or paints.
    static void install();
    // The font as reports use it: unhinted and unshaped, so text measures the same on every
    // device.
    static QFont layoutFont(const QFont& font);
};
