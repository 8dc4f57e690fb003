#include "core/widgets/uFieldShow.h"

#include "core/DbError.h"
#include "core/MsgBox.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFrmFieldShow::TFrmFieldShow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmFieldShow"));
    setWindowTitle(QStringLiteral("FrmFieldShow"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* lblHidden = new QLabel(tr("未选择的字段"), this);
    lblHidden->setObjectName(QStringLiteral("lblHidden"));
    auto* lblShown = new QLabel(tr("已选择的字段"), this);
    lblShown->setObjectName(QStringLiteral("lblShown"));
    m_lstHidden = new QListWidget(this);
    m_lstHidden->setObjectName(QStringLiteral("lstHidden"));
    m_lstShown = new QListWidget(this);
    m_lstShown->setObjectName(QStringLiteral("lstShown"));
    m_btnAdd = button(QStringLiteral(">"), "btnAdd", this);
    m_btnAddAll = button(QStringLiteral(">>"), "btnAddAll", this);
    m_btnRemove = button(QStringLiteral("<"), "btnRemove", this);
    m_btnRemoveAll = button(QStringLiteral("<<"), "btnRemoveAll", this);
    m_btnOk = button(tr("确定(&Y)"), "btnOk", this);
    m_btnExit = button(tr("退出(&E)"), "btnExit", this);

    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    for (QPushButton* b : {m_btnAdd, m_btnAddAll, m_btnRemove, m_btnRemoveAll})
        moves->addWidget(b);
    moves->addStretch(1);
    auto* lists = new QGridLayout;
    lists->addWidget(lblHidden, 0, 0);
    lists->addWidget(lblShown, 0, 2);
    lists->addWidget(m_lstHidden, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_lstShown, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_btnOk);
    bottom->addWidget(m_btnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);
    resize(420, 360);

    connect(m_btnAdd, &QPushButton::clicked, this, &TFrmFieldShow::BtnAddClick);
    connect(m_btnAddAll, &QPushButton::clicked, this, &TFrmFieldShow::BtnAddAllClick);
    connect(m_btnRemove, &QPushButton::clicked, this, &TFrmFieldShow::BtnRemoveClick);
    connect(m_btnRemoveAll, &QPushButton::clicked, this, &TFrmFieldShow::BtnRemoveAllClick);
    connect(m_btnOk, &QPushButton::clicked, this, &TFrmFieldShow::BtnOkClick);
    connect(m_btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lstHidden, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_lstHidden->setCurrentItem(item);
        BtnAddClick();
    });
    connect(m_lstShown, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        m_lstShown->setCurrentItem(item);
        BtnRemoveClick();
    });
    refill();
}

void TFrmFieldShow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    if (!m_filled)
        FormShow();
}

void TFrmFieldShow::FormShow() {
    m_filled = true;
    try {
        m_choice = ReadColumnChoice(m_setName);
    } catch (const DbError& e) {
        m_choice = ColumnChoice();
        MsgError(e.message());
    }
    refill();
}

void TFrmFieldShow::refill() {
    m_lstHidden->clear();
    m_lstHidden->addItems(m_choice.hidden);
    m_lstShown->clear();
    m_lstShown->addItems(m_choice.shown);
    m_btnAdd->setEnabled(!m_choice.hidden.isEmpty());
    m_btnAddAll->setEnabled(!m_choice.hidden.isEmpty());
    m_btnRemove->setEnabled(!m_choice.shown.isEmpty());
    m_btnRemoveAll->setEnabled(!m_choice.shown.isEmpty());
}

void TFrmFieldShow::BtnAddClick() {
    const QListWidgetItem* item = m_lstHidden->currentItem();
    if (!item || !item->isSelected())
        return;
    MoveColumnEntry(m_choice.hidden, m_choice.shown, m_lstHidden->row(item));
    refill();
    if (m_lstHidden->count() > 0)
        m_lstHidden->setCurrentRow(0);
}

void TFrmFieldShow::BtnAddAllClick() {
    MoveAllColumnEntries(m_choice.hidden, m_choice.shown);
    refill();
}

void TFrmFieldShow::BtnRemoveClick() {
    const QListWidgetItem* item = m_lstShown->currentItem();
    if (!item || !item->isSelected())
        return;
    MoveColumnEntry(m_choice.shown, m_choice.hidden, m_lstShown->row(item));
    refill();
    if (m_lstShown->count() > 0)
        m_lstShown->setCurrentRow(0);
}

void TFrmFieldShow::BtnRemoveAllClick() {
    MoveAllColumnEntries(m_choice.shown, m_choice.hidden);
    refill();
}

void TFrmFieldShow::BtnOkClick() {
    try {
        StoreColumnChoice(m_setName, m_choice);
    } catch (const DbError& e) {
        MsgError(e.message());
        return;
    }
    MsgInfo(tr("修改完成！"));
    accept();
}
