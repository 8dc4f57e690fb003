#include "shell/uBackup.h"

#include "core/DbError.h"
#include "core/IniFile.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "shell/DatabaseMaintenance.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString Section = QStringLiteral("config");

// The places of the drive list: the user's home folder, then every mounted file system.
QStringList drivePlaces() {
    QStringList places = {QDir::homePath()};
    QStringList mounts;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes())
        if (s.isValid() && s.isReady() && !places.contains(s.rootPath()))
            mounts << s.rootPath();
    std::sort(mounts.begin(), mounts.end());
    mounts.removeDuplicates();
    return places + mounts;
}

} // namespace

TFrmBackup::TFrmBackup(int mode, QWidget* parent) : QDialog(parent), m_mode(mode) {
    setObjectName(QStringLiteral("FrmBackup"));
    resize(640, 420);

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->addItems(drivePlaces());

    m_dirs = new QFileSystemModel(this);
    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_dirs->setRootPath(QDir::rootPath());
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setModel(m_dirs);
    for (int c = 1; c < m_dirs->columnCount(); ++c)
        DirectoryListBox1->hideColumn(c);
    DirectoryListBox1->header()->hide();

    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    lblFolder = new QLabel(this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->hide();
    auto* backupPage = new QWidget;
    backupPage->setObjectName(QStringLiteral("TabSheet1"));
    Btn_backup = new QPushButton(tr("数据备份(&B)"), backupPage);
    Btn_backup->setObjectName(QStringLiteral("Btn_backup"));
    (new QHBoxLayout(backupPage))->addWidget(Btn_backup);
    auto* restorePage = new QWidget;
    restorePage->setObjectName(QStringLiteral("TabSheet2"));
    Btn_restore = new QPushButton(tr("数据恢复(&R)"), restorePage);
    Btn_restore->setObjectName(QStringLiteral("Btn_restore"));
    (new QHBoxLayout(restorePage))->addWidget(Btn_restore);
    PageControl1->addTab(backupPage, tr("数据备份"));
    PageControl1->addTab(restorePage, tr("数据恢复"));

    lblNotice =
        new QLabel(tr("提醒：数据恢复功能只能对相同版本的软件使用,切勿用来进行数据库升") + QLatin1Char('\n') +
                       tr("级,正确的数据库升级方法是通过主程序中[实用工具]菜单下的[数据库升") +
                       QLatin1Char('\n') + tr("级工具]来实现的"),
                   this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));

    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DirectoryListBox1, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addWidget(FileListBox1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addWidget(lblFolder);
    layout->addLayout(lists, 1);
    layout->addWidget(lblNotice);

    connect(DriveComboBox1, qOverload<int>(&QComboBox::activated), this, &TFrmBackup::DriveComboBox1Change);
    connect(DirectoryListBox1, &QTreeView::clicked, this, &TFrmBackup::DirectoryListBox1Change);
    connect(Btn_backup, &QPushButton::clicked, this, &TFrmBackup::Btn_backupClick);
    connect(Btn_restore, &QPushButton::clicked, this, &TFrmBackup::Btn_restoreClick);
}

void TFrmBackup::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrmBackup::FormShow() {
    int drive = -1;
    QString dir;
    if (FrmData) {
        drive = FrmData->ini().readInteger(Section, QStringLiteral("drive"), -1);
        dir = FrmData->ini().readString(Section, QStringLiteral("DirectoryList"));
    }
    if (drive >= 0 && drive < DriveComboBox1->count())
        DriveComboBox1->setCurrentIndex(drive);
    else
        DriveComboBox1->setCurrentIndex(-1);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = drive >= 0 && drive < DriveComboBox1->count() ? DriveComboBox1->itemText(drive)
                                                            : QDir::homePath();
    setFolder(dir);

    const bool restoring = m_mode == RestoreMode;
    PageControl1->setCurrentIndex(restoring ? 1 : 0);
    setWindowTitle(restoring ? tr("数据恢复") : tr("数据库备份"));
    lblNotice->setVisible(restoring);
}

void TFrmBackup::setFolder(const QString& path) {
    m_folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QModelIndex index = m_dirs->index(m_folder);
    if (index.isValid()) {
        DirectoryListBox1->setCurrentIndex(index);
        DirectoryListBox1->scrollTo(index);
    }
    lblFolder->setText(m_folder);
    refreshFiles();
}

void TFrmBackup::DriveComboBox1Change(int index) {
    if (index >= 0)
        setFolder(DriveComboBox1->itemText(index));
}

void TFrmBackup::DirectoryListBox1Change() {
    const QModelIndex index = DirectoryListBox1->currentIndex();
    if (index.isValid())
        setFolder(m_dirs->filePath(index));
}

void TFrmBackup::refreshFiles() {
    FileListBox1->clear();
    const QStringList files = QDir(m_folder).entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Readable,
                                                       QDir::Name | QDir::IgnoreCase);
    FileListBox1->addItems(files);
}

void TFrmBackup::Btn_backupClick() {
    if (!FrmData)
        return;
    try {
        const QString file = DatabaseMaintenance::backup(FrmData->db(), m_folder);
        MsgBox(tr("备份成功,文件备份在:") + file, Msg::Ok | Msg::IconInformation, tr("成功"));
    } catch (const DbError&) {
        MsgBox(tr("备份失败!"), Msg::Ok | Msg::IconInformation, tr("警告"));
    }
    refreshFiles();
}

void TFrmBackup::Btn_restoreClick() {
    if (!FrmData)
        return;
    QListWidgetItem* item = FileListBox1->currentItem();
    if (!item) {
        MsgInfo(tr("请在右边的文件列表中选择要恢复的备份文件!"));
        return;
    }
    const QString file = QDir(m_folder).filePath(item->text());
    const QString reason = DatabaseMaintenance::checkBackupFile(file);
    if (!reason.isEmpty()) {
        MsgBox(reason, Msg::Ok | Msg::IconWarning, tr("警告"));
        return;
    }
    if (!MsgAsk(tr("当前数据库将被所选备份替换(原数据库另存一份副本),确定要恢复吗?")))
        return;
    // The open list windows read the database; they go before it is replaced.
    Commands::closeChildWindows();
    QString error, safety;
    if (DatabaseMaintenance::restore(*FrmData, file, &error, &safety))
        MsgBox(tr("数据恢复成功!原数据库已另存为:") + safety, Msg::Ok | Msg::IconInformation, tr("成功"));
    else
        MsgBox(error, Msg::Ok | Msg::IconWarning, tr("警告"));
    refreshFiles();
}

void TFrmBackup::saveSettings() {
    if (!FrmData)
        return;
    FrmData->ini().writeInteger(Section, QStringLiteral("Drive"), DriveComboBox1->currentIndex());
    FrmData->ini().writeString(Section, QStringLiteral("DirectoryList"), m_folder);
}

void TFrmBackup::done(int result) {
    saveSettings();
    QDialog::done(result);
}
