#pragma once

#include <QString>

// Columns whose INTEGER storage means something else than a count: money (Currency
// ten-thousandths) and yes/no flags. Names are compared without regard to letter case and
// hold for every table and view, so the same name never means two things.
namespace ColumnKinds {
bool isCurrency(const QString& column);
bool isBool(const QString& column);
} // namespace ColumnKinds
