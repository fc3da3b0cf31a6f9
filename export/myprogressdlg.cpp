#include "myprogressdlg.h"

#include "dropshadow.h"
#include "mymsgboxdlg.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

MyProgressDlg::MyProgressDlg(const QString &title, int minimum, int maximum, QWidget *parent)
    : QDialog(parent)
    , m_timer(new QTimer)
{
    setObjectName("MyProgressDlg");
    setWindowTitle(tr("导出进度"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowCloseButtonHint);
    m_shadow = setUpDropShadow(this);
    resize(620 + 2 * m_shadow, 198 + 2 * m_shadow);
    setStyleSheet("QWidget{font-family:Microsoft YaHei;color:#ffffff;}"
                  "QLabel#lab_msg{font-size:13pt;margin-top:10px;}"
                  "QProgressBar{background:rgba(216,216,216,0.1);border:none;border-radius:4px;min-width:520px;}"
                  "QProgressBar::chunk{background:#08A4FF;border-radius:4px;}"
                  "QPushButton{background:#555555;border:none;border-radius:4px;min-width:80px;min-height:32px;}"
                  "QPushButton:hover{background:#4C4C4C;}");

    auto *grid = new QGridLayout(this);
    grid->setObjectName("gridLayout");
    grid->setContentsMargins(30 + m_shadow, 14 + m_shadow, 30 + m_shadow, 20 + m_shadow);
    m_message = new QLabel(title, this);
    m_message->setObjectName("lab_msg");
    m_message->setTextFormat(Qt::PlainText); // it names photographs, which are never markup
    // A long name is elided rather than widening the dialog past the screen.
    m_message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(m_message, 2, 0, 1, 4);
    grid->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding), 3, 0);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName("progressBar");
    m_bar->setMaximumSize(620, 8);
    m_bar->setTextVisible(false);
    grid->addWidget(m_bar, 4, 0, 1, 3);
    m_value = new QLabel(this);
    m_value->setObjectName("lab_value");
    m_value->setMinimumWidth(60);
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_value, 4, 3);
    grid->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding), 5, 0);
    grid->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 7, 0);
    m_cancel = new QPushButton(tr("取消导出"), this);
    m_cancel->setObjectName("btn_cancel");
    grid->addWidget(m_cancel, 7, 2, 1, 2, Qt::AlignRight);

    m_timer->setTimerType(Qt::PreciseTimer); // a coarse timer may end the second 5 % early
    setRange(minimum, maximum);
    showValue(0);
    QMetaObject::connectSlotsByName(this);
}

MyProgressDlg::~MyProgressDlg()
{
    delete m_timer;
}

void MyProgressDlg::setCancelVisible(bool visible)
{
    m_cancel->setVisible(visible);
}

void MyProgressDlg::setProgressValue(int value)
{
    showValue(value);
}

void MyProgressDlg::setRange(int minimum, int maximum)
{
    m_bar->setRange(minimum, maximum);
}

int MyProgressDlg::minimum() const
{
    return m_bar->minimum();
}

int MyProgressDlg::maximum() const
{
    return m_bar->maximum();
}

int MyProgressDlg::value() const
{
    return m_bar->value();
}

QString MyProgressDlg::message() const
{
    return m_message->text();
}

void MyProgressDlg::showValue(int value)
{
    m_bar->setValue(value);
    m_value->setText(m_bar->text());
}

void MyProgressDlg::OnUpdateProgress(int progress)
{
    if (m_finished)
        return;
    if (m_bar->value() < progress)
        showValue(progress);
    if (progress >= 100 && m_timer && !m_timer->isActive() && !m_secondPassed) {
        m_message->setText(tr("导出完成!"));
        connect(m_timer, &QTimer::timeout, this, &MyProgressDlg::secondPassed, Qt::UniqueConnection);
        m_timer->start(1000);
    }
}

void MyProgressDlg::showPhoto(int index, int total, const QString &photoName)
{
    // Once cancelling or done, the message says so instead.
    if (m_finished || m_cancelRequested || m_bar->value() >= m_bar->maximum())
        return;
    const QString counter = tr("%1 / %2").arg(index).arg(total);
    // The name is user text: it is only ever the last argument of a single arg() call.
    const QString pattern = tr("%2 — %1");
    const QFontMetrics metrics = m_message->fontMetrics();
    const int width = m_message->width() > 100 ? m_message->width() : 560;
    const int room = std::max(80, width - metrics.horizontalAdvance(pattern.arg(counter, QString())));
    m_message->setText(pattern.arg(counter, metrics.elidedText(photoName, Qt::ElideMiddle, room)));
    m_message->setToolTip(photoName);
}

void MyProgressDlg::setSummary(const QString &folder, const QStringList &failures)
{
    m_folder = folder;
    m_failures = failures;
}

void MyProgressDlg::setFollowsJob(bool follows)
{
    m_followsJob = follows;
}

void MyProgressDlg::secondPassed()
{
    m_timer->stop();
    m_secondPassed = true;
    completeWhenDone();
}

void MyProgressDlg::jobEnded(const QString &folder)
{
    m_jobEnded = true;
    m_folder = folder;
    completeWhenDone();
}

void MyProgressDlg::completeWhenDone()
{
    if (m_finished)
        return;
    // A job's outcome is known only once it has ended; a complete one still shows its 100 % for
    // a second, a cancelled one reports at once.
    if (m_followsJob && !m_jobEnded)
        return;
    if (m_bar->value() >= m_bar->maximum() && !m_secondPassed)
        return;
    complete();
}

QString MyProgressDlg::outcomeText() const
{
    const bool partly = m_total >= 0 && m_written < m_total;
    if (!m_followsJob)
        return partly ? tr("已导出 %1 张图片，共 %2 张").arg(m_written).arg(m_total) : tr("导出成功！");
    if (m_total < 0) // ended without telling what it wrote
        return tr("导出失败");
    const QString written = QString::number(m_written);
    // The folder is user text: it is only ever the last argument of a single arg() call.
    if (m_cancelRequested && m_bar->value() < m_bar->maximum())
        return tr("导出已取消，已写入 %1 个文件，保存在：%2").arg(written, m_folder);
    if (partly)
        return tr("已导出 %1 张图片，共 %2 张，保存在：%3").arg(written, QString::number(m_total), m_folder);
    return tr("导出成功！文件保存在：%1").arg(m_folder);
}

void MyProgressDlg::complete()
{
    m_finished = true;
    if (m_timer) {
        m_timer->stop();
        m_timer->deleteLater();
        m_timer = nullptr;
    }
    closeQuietly();
    const bool cancelled = m_cancelRequested && m_bar->value() < m_bar->maximum();
    const bool success = m_total < 0 ? !m_followsJob : m_written >= m_total && !cancelled;
    MyMsgBoxDlg done(tr("提示"), QPixmap(success ? ":/res/icon/sucess.svg" : ":/res/icon/warning.svg"),
                     outcomeText(), MyMsgBoxDlg::ConfirmOnly);
    if (m_followsJob && m_total >= 0) {
        done.setDetails(tr("未能导出的图片及原因："), m_failures);
        if (!m_folder.isEmpty())
            done.setOpenFolder(m_folder);
    }
    done.exec();
}

void MyProgressDlg::setOutcome(int written, int total)
{
    m_written = written;
    m_total = total;
}

void MyProgressDlg::showFailure(const QString &reason)
{
    if (m_finished)
        return;
    m_finished = true;
    closeQuietly();
    MyMsgBoxDlg failed(tr("提示"), QPixmap(":/res/icon/warning.svg"), reason, MyMsgBoxDlg::ConfirmOnly);
    failed.exec();
}

void MyProgressDlg::dismiss()
{
    m_finished = true;
    if (m_timer)
        m_timer->stop();
    closeQuietly();
}

void MyProgressDlg::closeQuietly()
{
    // done() hides without a close event, so it also works from inside closeEvent().
    done(QDialog::Rejected);
}

void MyProgressDlg::on_btn_cancel_clicked()
{
    requestCancel();
}

void MyProgressDlg::requestCancel()
{
    // Without a cancel button there is nothing to cancel; at 100 the export is already done.
    if (m_finished || m_cancel->isHidden() || m_bar->value() == 100)
        return;
    if (!m_followsJob) {
        emit OnCancelExport();
        closeQuietly();
        return;
    }
    // The job stops after its current file; until it has, the dialog stays so the program's
    // state stays visible and the closing message can tell what was written.
    if (m_cancelRequested || m_jobEnded)
        return;
    m_cancelRequested = true;
    m_cancel->setEnabled(false);
    m_message->setText(tr("正在取消导出..."));
    emit OnCancelExport();
}

void MyProgressDlg::reject()
{
    // Esc lands here, and so does QDialog's own close handling.
    requestCancel();
}

void MyProgressDlg::closeEvent(QCloseEvent *event)
{
    if (!isVisible()) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    requestCancel();
}

void MyProgressDlg::paintEvent(QPaintEvent *)
{
    paintDropShadow(this, m_shadow);
}
