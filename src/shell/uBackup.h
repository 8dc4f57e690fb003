#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTreeView;

// The backup window "数据库备份" (mode 1) and, on its other page, the restore window "数据恢复"
// (mode 2): a place list (the drives of this machine), a folder tree and the database files of
// the chosen folder. The chosen place and folder are remembered in Config.ini.
class TFrmBackup : public QDialog {
    Q_OBJECT
public:
    enum Mode { BackupMode = 1, RestoreMode = 2 };
    explicit TFrmBackup(int mode, QWidget* parent = nullptr);

    QString folder() const { return m_folder; }
    // Chooses a folder as the folder tree would (also from tests).
    void setFolder(const QString& path);

    void FormShow();
    void Btn_backupClick();
    void Btn_restoreClick();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

private:
    void DriveComboBox1Change(int index);
    void DirectoryListBox1Change();
    void refreshFiles();
    void saveSettings();

    int m_mode;
    bool m_shown = false;
    QString m_folder;
    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QFileSystemModel* m_dirs;
    QListWidget* FileListBox1;
    QLabel* lblFolder;
    QTabWidget* PageControl1;
    QPushButton* Btn_backup;
    QPushButton* Btn_restore;
    QLabel* lblNotice;
};
