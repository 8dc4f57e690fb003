#include "masterdata/widgets/MasterDataCommands.h"

#include "core/DataSet.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "core/widgets/WidgetRoutines.h"
#include "masterdata/MasterRecords.h"
#include "masterdata/uAddCustom.h"
#include "masterdata/uAddEmployee.h"
#include "masterdata/uAddMedicine.h"
#include "masterdata/uAddMember.h"
#include "masterdata/uAddSupply.h"
#include "masterdata/uCustom.h"
#include "masterdata/uEmployee.h"
#include "masterdata/uMedicine.h"
#include "masterdata/uMember.h"
#include "masterdata/uSupply.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// A list window inside the frame, maximised when it is first opened.
template <typename T> void openList(T*& ref) {
    QMdiArea* area = Commands::mdiArea();
    if (!area || !FrmData)
        return;
    const bool existed = ref != nullptr;
    ShowChildForm(area, ref, []() { return new T; });
    if (!existed && ref && ref->parentWidget())
        ref->parentWidget()->showMaximized();
}

// A modal editor over the main window, in adding or editing mode; true when it was shown.
template <typename T> bool openEditor(DataSet& list, bool adding) {
    if (!adding && (!list.isOpen() || list.isEmpty()))
        return false;
    T dlg(Commands::mainWindow());
    dlg.AddMode = adding;
    dlg.exec();
    return true;
}

} // namespace

void RegisterMasterDataCommands() {
    using Commands::setHandler;

    setHandler(QStringLiteral("OpenMedicine"), [] { openList(FrmMedicine); });
    setHandler(QStringLiteral("AddMedicine"),
               [] { openEditor<TFrmAddMedicine>(FrmData->QryMedicine, true); });
    setHandler(QStringLiteral("EditMedicine"),
               [] { openEditor<TFrmAddMedicine>(FrmData->QryMedicine, false); });
    setHandler(QStringLiteral("DelMedicine"), [] { MasterRecords::DeleteCurrent(FrmData->QryMedicine); });

    setHandler(QStringLiteral("OpenSupply"), [] { openList(FrmSupply); });
    setHandler(QStringLiteral("AddSupply"), [] { openEditor<TFrmAddSupply>(FrmData->QrySupply, true); });
    setHandler(QStringLiteral("EditSupply"), [] { openEditor<TFrmAddSupply>(FrmData->QrySupply, false); });
    setHandler(QStringLiteral("DelSupply"), [] { MasterRecords::DeleteCurrent(FrmData->QrySupply); });

    setHandler(QStringLiteral("OpenCustom"), [] { openList(FrmCustom); });
    setHandler(QStringLiteral("AddCustom"), [] { openEditor<TFrmAddCustom>(FrmData->QryCustom, true); });
    setHandler(QStringLiteral("EditCustom"), [] { openEditor<TFrmAddCustom>(FrmData->QryCustom, false); });
    setHandler(QStringLiteral("DelCustom"), [] { MasterRecords::DeleteCurrent(FrmData->QryCustom); });

    setHandler(QStringLiteral("OpenEmployee"), [] { openList(FrmEmployee); });
    setHandler(QStringLiteral("AddEmployee"),
               [] { openEditor<TFrmAddEmployee>(FrmData->QryEmployee, true); });
    setHandler(QStringLiteral("EditEmployee"),
               [] { openEditor<TFrmAddEmployee>(FrmData->QryEmployee, false); });
    setHandler(QStringLiteral("DelEmployee"), [] { MasterRecords::DeleteCurrent(FrmData->QryEmployee); });

    setHandler(QStringLiteral("SetMember"), [] { openList(FrmMember); });
    setHandler(QStringLiteral("AddMember"), [] {
        TFrmAddMember dlg(Commands::mainWindow());
        dlg.AddMode = true;
        if (dlg.exec() == QDialog::Accepted && FrmMember)
            FrmMember->reload();
    });
    setHandler(QStringLiteral("EditMember"), [] {
        DataSet& list = FrmData->QryMember;
        if (!list.isOpen() || list.isEmpty()) {
            MsgBox(QObject::tr("没有可进行编辑的会员记录！"), Msg::Ok | Msg::IconInformation,
                   QObject::tr("提示"));
            return;
        }
        TFrmAddMember dlg(Commands::mainWindow());
        dlg.AddMode = false;
        if (dlg.exec() == QDialog::Accepted && FrmMember)
            FrmMember->reload();
    });
    setHandler(QStringLiteral("DelMember"), [] { MasterRecords::DeleteCurrent(FrmData->QryMember); });
}
