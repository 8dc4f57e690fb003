#include "masterdata/MasterRecords.h"

#include "core/DataSet.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "masterdata/MasterTable.h"

#include <QObject>

namespace MasterRecords {

void EnsureOpen(DataSet& list, const MasterTable& table) {
    if (!list.isOpen())
        OpenSQL(list, table.emptyStatement());
}

bool DeleteCurrent(DataSet& list) {
    if (!list.isOpen() || list.isEmpty())
        return false;
    if (MsgBox(QObject::tr("确认删除此条记录?"), Msg::YesNo | Msg::IconQuestion, QObject::tr("提示")) !=
        Msg::IdYes)
        return false;
    list.remove();
    return true;
}

} // namespace MasterRecords
