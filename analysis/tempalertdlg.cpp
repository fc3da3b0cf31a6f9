#include "tempalertdlg.h"

#include "darkpalette.h"
#include "mymsgboxdlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

TempAlertDlg::TempAlertDlg(int kind, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint)
    , m_kind(kind)
{
    setObjectName("TempAlertDlg");
    setFixedSize(380, 190);
    // Made without a parent, it takes the program's dark colours itself.
    setPalette(darkPalette());
    setWindowTitle(kind == 1 ? tr("设置高温报警") : tr("设置低温报警"));
    auto *caption = new QLabel(tr("设置报警温度"), this);
    caption->setObjectName("label_set_temp");
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setGeometry(30, 60, 111, 20);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName("edit_temp");
    m_edit->setMinimumSize(50, 16);
    m_edit->setGeometry(150, 58, 101, 21);
    auto *unit = new QLabel(tr("°C"), this);
    unit->setObjectName("label");
    unit->setGeometry(260, 60, 31, 20);
    auto *ok = new QPushButton(tr("确定"), this);
    ok->setObjectName("btn_ok");
    ok->setGeometry(170, 150, 91, 31);
    auto *cancel = new QPushButton(tr("取消"), this);
    cancel->setObjectName("btn_cancel");
    cancel->setGeometry(280, 150, 91, 31);
    QMetaObject::connectSlotsByName(this);
}

void TempAlertDlg::on_btn_ok_clicked()
{
    if (m_edit->text().isEmpty()) {
        MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"), tr("温度不能为空"), MyMsgBoxDlg::ConfirmOnly);
        box.exec();
        return;
    }
    // Text that is no number is refused: read as 0 °C it would set an alarm nobody asked for.
    bool number = false;
    const float threshold = m_edit->text().trimmed().toFloat(&number);
    if (!number || !std::isfinite(threshold)) {
        MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"), tr("温度必须是数字"), MyMsgBoxDlg::ConfirmOnly);
        box.exec();
        return;
    }
    m_threshold = threshold;
    accept();
}

void TempAlertDlg::on_btn_cancel_clicked()
{
    reject();
}
