#include "masterdata/EditorField.h"

EditorField::EditorField(const QString& column, const QString& control, const QString& caption, Kind kind,
                         const QString& defaultText, const QString& lookupList, const QStringList& choices,
                         const QString& suffix)
    : column(column), control(control), caption(caption), kind(kind), defaultText(defaultText),
      lookupList(lookupList), choices(choices), suffix(suffix) {}
