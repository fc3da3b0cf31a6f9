#include "outputinfowdg.h"

#include "combinedreport.h"
#include "appsettings.h"
#include "dropshadow.h"
#include "exportfilethread.h"
#include "filedialogs.h"
#include "maskwidget.h"
#include "naturalorder.h"
#include "mycheckitemwidget.h"
#include "myprogressdlg.h"
#include "mymsgboxdlg.h"
#include "itemtables.h"
#include "snapshottables.h"
#include "openedphotos.h"
#include "picturereader.h"
#include "screenlayout.h"
#include "snapshotwriter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalBlocker>

#include <algorithm>

OutputInfoWdg::OutputInfoWdg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("OutputInfoWdg");
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    m_shadow = setUpDropShadow(this);
    resize(1020 + 2 * m_shadow, 720 + 2 * m_shadow);
    setMinimumWidth(605 + 2 * m_shadow);
    setStyleSheet(
        "QWidget{font-family:Microsoft YaHei;font-size:12pt;color:rgba(255,255,255,0.85);}"
        "QWidget#title_widget{background:#444444;}"
        "QGroupBox{border:none;}"
        "QPushButton#btn_close{border:none;background:transparent;}"
        "QPushButton#btn_comfirm,QPushButton#btn_cancel{border:none;border-radius:4px;min-width:80px;min-height:32px;}"
        "QPushButton#btn_comfirm{background:#08A4FF;}QPushButton#btn_comfirm:hover{background:#0793E5;}"
        "QPushButton#btn_comfirm:pressed{background:#21ADFF;}"
        "QPushButton#btn_cancel{background:#555555;}QPushButton#btn_cancel:hover{background:#4C4C4C;}"
        "QPushButton#btn_cancel:pressed{background:#666666;}"
        "QRadioButton::indicator,QCheckBox::indicator{width:16px;height:16px;}"
        "QRadioButton::indicator:unchecked{image:url(:/res/icon/radio-defult.svg);}"
        "QRadioButton::indicator:checked{image:url(:/res/icon/radio-selected.svg);}"
        "QCheckBox::indicator:unchecked{image:url(:/res/icon/check-defult.svg);}"
        "QCheckBox::indicator:checked{image:url(:/res/icon/check-selected.svg);}"
        "QLineEdit,QComboBox{background:#333333;border:1px solid #555555;border-radius:4px;padding:2px 8px;min-height:28px;}"
        "QLineEdit:focus,QComboBox:focus{border-color:#08A4FF;}"
        "QComboBox QAbstractItemView{background:#333333;selection-background-color:#08A4FF;}"
        "QListWidget{border:none;background:transparent;outline:0px;}"
        "QListWidget::item{border-radius:6px;}QListWidget::item:hover{background:rgba(255,255,255,0.06);}"
        "QListWidget::item:selected{background:transparent;}"
        "QScrollBar:vertical{width:6px;background:#333333;}"
        "QScrollBar::handle:vertical{background:rgba(255,255,255,0.3);border-radius:3px;}");

    auto *outer = new QGridLayout(this);
    outer->setObjectName("gridLayout_4");
    outer->setContentsMargins(9 + m_shadow, 9 + m_shadow, 9 + m_shadow, 9 + m_shadow);
    auto *titleWidget = new QWidget(this);
    titleWidget->setObjectName("title_widget");
    auto *titleLayout = new QGridLayout(titleWidget);
    titleLayout->setObjectName("gridLayout_2");
    m_title = new QLabel(titleWidget);
    m_title->setObjectName("label");
    m_close = new QPushButton(titleWidget);
    m_close->setObjectName("btn_close");
    m_close->setIcon(QIcon(":/res/icon/close.svg"));
    m_close->setIconSize(QSize(20, 20));
    titleLayout->addWidget(m_title, 0, 0);
    titleLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 1);
    titleLayout->addWidget(m_close, 0, 2);
    outer->addWidget(titleWidget, 0, 0, 1, 5);

    auto *modes = new QGroupBox(this);
    modes->setObjectName("groupBox");
    auto *modeLayout = new QGridLayout(modes);
    modeLayout->setObjectName("gridLayout_3");
    m_word = new QRadioButton(modes);
    m_word->setObjectName("radio_word");
    m_word->setChecked(true);
    m_csv = new QRadioButton(modes);
    m_csv->setObjectName("radio_csv");
    m_csv->setStyleSheet("margin-left:20px;");
    m_excel = new QRadioButton(modes);
    m_excel->setObjectName("radio_excel");
    m_excel->setStyleSheet("margin-left:20px;");
    m_report = new QRadioButton(modes);
    m_report->setObjectName("radio_report");
    m_report->setStyleSheet("margin-left:20px;");
    modeLayout->addWidget(m_word, 0, 0);
    modeLayout->addWidget(m_csv, 0, 1);
    modeLayout->addWidget(m_excel, 0, 2);
    modeLayout->addWidget(m_report, 0, 3);
    modeLayout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 4);
    m_reportOptions = new QWidget(modes);
    m_reportOptions->setObjectName("widget_report");
    auto *reportLayout = new QHBoxLayout(m_reportOptions);
    reportLayout->setContentsMargins(0, 6, 0, 0);
    m_siteLabel = new QLabel(m_reportOptions);
    m_site = new QLineEdit(m_reportOptions);
    m_site->setObjectName("edit_site");
    // Dimmer than what is written: the style sheet's colour would make the hint read as a site.
    // Set once the style sheet has polished the field, which would set it back.
    m_site->ensurePolished();
    QPalette hint = m_site->palette();
    hint.setColor(QPalette::PlaceholderText, QColor(255, 255, 255, 90));
    m_site->setPalette(hint);
    m_siteLabel->setBuddy(m_site);
    m_formatLabel = new QLabel(m_reportOptions);
    m_format = new QComboBox(m_reportOptions);
    m_format->setObjectName("combo_format");
    m_format->addItem("PDF", int(ReportFormat::Pdf));
    m_format->addItem("Word", int(ReportFormat::Word));
    m_formatLabel->setBuddy(m_format);
    reportLayout->addWidget(m_siteLabel);
    reportLayout->addWidget(m_site, 1);
    reportLayout->addSpacing(20);
    reportLayout->addWidget(m_formatLabel);
    reportLayout->addWidget(m_format);
    modeLayout->addWidget(m_reportOptions, 1, 0, 1, 5);
    m_reportOptions->setVisible(false);
    outer->addWidget(modes, 1, 0, 1, 5);

    auto *show = new QGroupBox(this);
    show->setObjectName("groupBox_show");
    show->setStyleSheet("border:none;");
    auto *showLayout = new QGridLayout(show);
    showLayout->setObjectName("gridLayout");
    m_all = new QCheckBox(show);
    m_all->setObjectName("checkBox_all");
    m_folder = new QCheckBox(show);
    m_folder->setObjectName("checkBox_folder");
    m_folder->setVisible(false);
    m_list = new QListWidget(show);
    m_list->setObjectName("listWidget");
    m_list->setViewMode(QListView::IconMode);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMovement(QListView::Static);
    m_list->setSpacing(10);
    showLayout->addWidget(m_all, 0, 0);
    showLayout->addWidget(m_folder, 0, 1, Qt::AlignRight);
    showLayout->addWidget(m_list, 1, 0, 1, 2);
    outer->addWidget(show, 2, 0, 1, 5);

    outer->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 3, 1, 1, 2);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("btn_cancel");
    m_confirm = new QPushButton(this);
    m_confirm->setObjectName("btn_comfirm");
    outer->addWidget(m_cancel, 3, 3);
    outer->addWidget(m_confirm, 3, 4);
    // Enter (in the site field, say) exports; otherwise the dialog would make the first button
    // of its focus chain the default, the title bar's close button.
    m_close->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    m_confirm->setDefault(true);

    connect(m_all, &QCheckBox::released, this, &OutputInfoWdg::selectAll);
    connect(m_folder, &QCheckBox::toggled, this, &OutputInfoWdg::refreshPhotoList);
    connect(m_report, &QRadioButton::toggled, this, &OutputInfoWdg::showReportChoice);
    // Emptied, the field follows the photographs' folder again.
    connect(m_site, &QLineEdit::textEdited, this, [this](const QString &text) { m_siteWritten = !text.trimmed().isEmpty(); });
    retranslate();
    QMetaObject::connectSlotsByName(this);
}

OutputInfoWdg::~OutputInfoWdg()
{
    stopExport();
    delete m_job;
    delete m_progress;
}

bool OutputInfoWdg::exportRunning() const
{
    return (m_job && m_job->isRunning()) || m_reportRunning;
}

void OutputInfoWdg::stopExport()
{
    if (m_reportRunning)
        m_reportCancelled = m_reportQuiet = true;
    if (m_job && m_job->isRunning()) {
        m_job->cancelExport();
        m_job->wait();
    }
    if (m_progress)
        m_progress->dismiss();
}

void OutputInfoWdg::retranslate()
{
    setWindowTitle(tr("导出报告"));
    m_title->setText(tr("导出"));
    m_word->setText(tr("导出Word"));
    m_csv->setText(tr("导出CSV"));
    m_excel->setText(tr("导出CSV（Excel）"));
    m_excel->setToolTip(tr("带字节顺序标记的 UTF-8 表格，没有读数的像素留空，Excel 可直接打开。"));
    m_report->setText(tr("一份报告"));
    m_report->setToolTip(tr("所选照片合为一份报告：封面、按最高温度排列的汇总，以及每张照片的图像和测量。"));
    m_siteLabel->setText(tr("现场："));
    m_site->setPlaceholderText(tr("照片所在文件夹的名称"));
    m_formatLabel->setText(tr("格式："));
    m_all->setText(tr("全选"));
    m_folder->setText(tr("列出文件夹中的全部照片"));
    // The folder is user text: the last argument of a single arg() call.
    m_folder->setToolTip(tr("列出此文件夹中的每一张照片（.jpg）：%1").arg(m_homeFolder));
    m_cancel->setText(tr("取消"));
    m_confirm->setText(tr("导出"));
}

QList<MyCheckItemWidget *> OutputInfoWdg::rows() const
{
    QList<MyCheckItemWidget *> list;
    for (int i = 0; i < m_list->count(); ++i)
        list << static_cast<MyCheckItemWidget *>(m_list->itemWidget(m_list->item(i)));
    return list;
}

MyCheckItemWidget *OutputInfoWdg::addRow(const Entry &entry, const QPixmap &picture, const QString &name)
{
    auto *item = new QListWidgetItem;
    const ScreenLayout &layout = shellValues().layout;
    item->setSizeHint(QSize(layout.rowWidth, layout.rowHeight));
    m_list->addItem(item);
    auto *row = new MyCheckItemWidget(picture, name);
    m_list->setItemWidget(item, row);
    connect(row, &MyCheckItemWidget::sig_checkChange, this, &OutputInfoWdg::slot_StateChanged);
    m_entries.append(entry);
    return row;
}

void OutputInfoWdg::setHomeFolder(const QString &folder)
{
    m_homeFolder = folder;
    m_folder->setVisible(!folder.isEmpty());
    retranslate();
    if (folder.isEmpty()) {
        const QSignalBlocker quiet(m_folder);
        m_folder->setChecked(false);
    }
}

void OutputInfoWdg::refreshPhotoList()
{
    m_all->setCheckState(Qt::Unchecked);
    m_list->clear();
    m_entries.clear();
    // Without a snapshot folder nothing can be exported (QDir("") would be the working directory).
    if (shellValues().tempImageDir.isEmpty())
        return;
    QSet<QString> listed;
    for (const QString &photo : loadedPhotoPaths()) {
        const QString snapshot = snapshotSources().key(photo);
        listed.insert(snapshot);
        const int measured = itemTables().value(photo).size();
        const QString name = QFileInfo(photo).completeBaseName();
        const QPixmap picture = snapshot.isEmpty() ? QPixmap::fromImage(readBoundedPicture(photo)) : QPixmap(snapshot);
        MyCheckItemWidget *row = addRow({photo, snapshot, true}, picture, name);
        if (measured)
            row->setMark(tr("%1 处测温").arg(measured));
    }
    // Photographs of the folder that are not in the opened list have no measurements (their
    // temperatures are only read for the opened list); their snapshot is drawn when exported.
    if (m_folder->isChecked() && !m_homeFolder.isEmpty()) {
        const QSet<QString> opened(loadedPhotoPaths().begin(), loadedPhotoPaths().end());
        const QDir home(m_homeFolder);
        QStringList names = home.entryList({"*.jpg"}, QDir::Files | QDir::Readable);
        std::sort(names.begin(), names.end(), naturalFileNameLess); // as the home page lists them
        for (const QString &name : names) {
            const QString photo = home.filePath(name);
            if (opened.contains(photo))
                continue;
            const QString snapshot = snapshotSources().key(photo);
            listed.insert(snapshot);
            const QPixmap picture =
                snapshot.isEmpty() ? QPixmap::fromImage(readBoundedPicture(photo)) : QPixmap(snapshot);
            addRow({photo, snapshot, true}, picture, QFileInfo(photo).completeBaseName());
        }
    }
    const QDir folder(shellValues().tempImageDir);
    for (const QString &name : folder.entryList({"*.jpg", "*.bmp", "*.png", "*.jpeg"})) {
        const QString path = folder.filePath(name);
        if (!listed.contains(path))
            addRow({snapshotSources().value(path), path, false}, QPixmap(path), name.section('.', 0, 0));
    }
    followSite();
}

void OutputInfoWdg::selectAll()
{
    const bool checked = m_all->isChecked();
    for (MyCheckItemWidget *row : rows())
        row->setChecked(checked);
    followSite();
}

void OutputInfoWdg::slot_StateChanged(int state)
{
    if (state == Qt::Unchecked) {
        m_all->setChecked(false);
    } else if (state == Qt::Checked) {
        bool every = true;
        for (MyCheckItemWidget *row : rows())
            every = every && row->isChecked();
        m_all->setChecked(every);
    }
    followSite();
}

void OutputInfoWdg::showReportChoice()
{
    m_reportOptions->setVisible(m_report->isChecked());
    followSite();
}

void OutputInfoWdg::followSite()
{
    if (m_siteWritten)
        return;
    const QStringList photos = checkedPhotos();
    m_site->setText(photos.isEmpty() ? QString() : QFileInfo(photos.first()).absoluteDir().dirName());
}

QString OutputInfoWdg::reportSite() const
{
    const QString site = m_site->text().trimmed();
    if (!site.isEmpty())
        return site;
    const QStringList photos = checkedPhotos();
    return photos.isEmpty() ? QString() : QFileInfo(photos.first()).absoluteDir().dirName();
}

void OutputInfoWdg::on_listWidget_itemClicked(QListWidgetItem *item)
{
    auto *row = static_cast<MyCheckItemWidget *>(m_list->itemWidget(item));
    row->setChecked(!row->isChecked());
}

QStringList OutputInfoWdg::checkedPhotos() const
{
    QStringList photos;
    const QList<MyCheckItemWidget *> list = rows();
    for (int i = 0; i < list.size() && i < m_entries.size(); ++i) {
        if (list[i]->isChecked() && !m_entries[i].photo.isEmpty() && !photos.contains(m_entries[i].photo))
            photos << m_entries[i].photo;
    }
    return photos;
}

QStringList OutputInfoWdg::checkedSnapshots() const
{
    QStringList paths;
    const QList<MyCheckItemWidget *> list = rows();
    for (int i = 0; i < list.size() && i < m_entries.size(); ++i) {
        if (!list[i]->isChecked())
            continue;
        const Entry &entry = m_entries[i];
        // The photograph on show has the snapshot the export button just saved; any other
        // one of the list is drawn off screen as the page would draw it.
        QString snapshot = entry.snapshot;
        if (entry.opened && (snapshot.isEmpty() || entry.photo != currentPhotoPath()))
            snapshot = renderSnapshot(entry.photo, shellValues().tempImageDir, false);
        if (!snapshot.isEmpty())
            paths << snapshot;
    }
    return paths;
}

void OutputInfoWdg::on_btn_comfirm_clicked()
{
    const QList<MyCheckItemWidget *> list = rows();
    // A report needs the photographs themselves, which a snapshot of this run may no longer name.
    const bool none = m_report->isChecked()
                          ? checkedPhotos().isEmpty()
                          : std::none_of(list.begin(), list.end(), [](MyCheckItemWidget *row) { return row->isChecked(); });
    if (none) {
        MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"), tr("请选择导出图片"), MyMsgBoxDlg::ConfirmOnly);
        box.exec();
        return;
    }
    if (m_report->isChecked()) {
        exportReport();
        return;
    }
    const QString directory = chooseFolder(this, tr("选择保存目录"), exportStartFolder());
    if (directory.isEmpty())
        return;
    AppSettings::instance().writeValue("Export", "LastFolder", directory);
    startExport(directory);
}

QString OutputInfoWdg::exportStartFolder() const
{
    QString photographs = m_homeFolder;
    if (photographs.isEmpty() && !loadedPhotoPaths().isEmpty())
        photographs = QFileInfo(loadedPhotoPaths().first()).absolutePath();
    return firstExistingFolder({AppSettings::instance().readValue("Export", "LastFolder", QString()), photographs});
}

ExportFileThread *OutputInfoWdg::startExport(const QString &directory)
{
    const QStringList snapshots = checkedSnapshots();
    if (snapshots.isEmpty() || exportRunning())
        return nullptr;
    // The previous job has ended; its dialog may still be in its closing message, so it goes later.
    delete m_job;
    if (m_progress)
        m_progress->deleteLater();
    const bool word = m_word->isChecked();
    m_progress = new MyProgressDlg(word ? tr("导出Word") : tr("导出CSV"), 0, 100);
    m_progress->setFollowsJob(true);
    const int mode = word ? ExportFileThread::WordReports
                          : m_excel->isChecked() ? ExportFileThread::SpreadsheetTables : ExportFileThread::CsvTables;
    m_job = new ExportFileThread(directory, snapshots, mode);
    const QPointer<ExportFileThread> job(m_job);
    MyProgressDlg *progress = m_progress;
    connect(m_job, &QThread::finished, m_progress, [job, progress] {
        progress->jobEnded(job ? job->exportFolder() : QString());
    });
    connect(m_job, &ExportFileThread::OnUpdateExportProgress, m_progress, &MyProgressDlg::OnUpdateProgress);
    connect(m_job, &ExportFileThread::OnExportPhoto, m_progress, &MyProgressDlg::showPhoto);
    connect(m_job, &ExportFileThread::OnExportSummary, m_progress, &MyProgressDlg::setSummary);
    connect(m_job, &ExportFileThread::OnExportFinished, m_progress, &MyProgressDlg::setOutcome);
    connect(m_job, &ExportFileThread::OnExportFailed, m_progress, &MyProgressDlg::showFailure);
    connect(m_progress, &MyProgressDlg::OnCancelExport, m_job, &ExportFileThread::cancelExport, Qt::DirectConnection);
    hide();
    MaskWidget::instance().setNames({"MyProgressDlg"});
    m_progress->show();
    m_job->start(QThread::InheritPriority);
    return m_job;
}

void OutputInfoWdg::exportReport()
{
    const bool word = m_format->currentData().toInt() == int(ReportFormat::Word);
    const QString suffix = word ? "docx" : "pdf";
    // Proposed under the site's name; what a file name cannot hold becomes "_".
    QString name = reportSite();
    name.replace(QRegularExpression(R"([\\/:*?"<>|\x00-\x1f])"), "_");
    if (name.isEmpty() || name.startsWith('.'))
        name.prepend(tr("报告"));
    const QString proposed = QDir(exportStartFolder()).filePath(name + "." + suffix);
    QFileDialog dialog(nullptr, tr("保存报告"), proposed, word ? tr("Word 文档 (*.docx)") : tr("PDF 文件 (*.pdf)"));
    dialog.setObjectName("reportFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The replacement question comes from writeReport, also for a name the suffix was added to.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QString path = execFileDialog(dialog, this);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += "." + suffix;
    AppSettings::instance().writeValue("Export", "LastFolder", QFileInfo(path).absolutePath());
    writeReport(path);
}

bool OutputInfoWdg::writeReport(const QString &path)
{
    CombinedReport report;
    report.photos = checkedPhotos();
    if (report.photos.isEmpty() || exportRunning())
        return false;
    if (QFileInfo::exists(path)) {
        // The path is user text: the last argument of a single arg() call.
        MyMsgBoxDlg ask(tr("提示"), QPixmap(":/res/icon/warning.svg"), tr("文件已存在，要替换它吗？\n%1").arg(path),
                        MyMsgBoxDlg::BothButtons);
        if (ask.exec() != QDialog::Accepted)
            return false;
    }
    report.site = reportSite();
    report.format = ReportFormat(m_format->currentData().toInt());
    report.hotSpots = m_hotSpots;

    // An earlier job has ended; its dialog may still be in its closing message, so it goes later.
    if (m_progress)
        m_progress->deleteLater();
    m_progress = new MyProgressDlg(tr("正在写入报告..."), 0, 100);
    // Cancelling only asks; the report stops at its next photograph and then closes the dialog.
    m_progress->setFollowsJob(true);
    // Only the dialog answers while the report draws its pictures with the program's widgets.
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_reportCancelled = m_reportQuiet = false;
    connect(m_progress, &MyProgressDlg::OnCancelExport, this, [this] { m_reportCancelled = true; });
    const QPointer<MyProgressDlg> progress(m_progress);
    report.progress = [this, progress](int done, int total) {
        if (progress)
            progress->setProgressValue(ExportFileThread::progressValue(done, total));
        QCoreApplication::processEvents();
        return !m_reportCancelled;
    };
    hide();
    MaskWidget::instance().setNames({"MyProgressDlg"});
    m_progress->show();
    QCoreApplication::processEvents();

    m_reportRunning = true;
    QString error;
    const bool written = !m_reportCancelled && writeCombinedReport(report, path, &error);
    m_reportRunning = false;
    if (!written && error.isEmpty())
        error = QCoreApplication::translate("ReportModel", "报告已取消");
    if (progress)
        progress->dismiss();
    if (m_reportQuiet)
        return written;
    // The path is user text: the last argument of a single arg() call.
    MyMsgBoxDlg done(tr("提示"), QPixmap(written ? ":/res/icon/sucess.svg" : ":/res/icon/warning.svg"),
                     written ? tr("报告已保存：%1").arg(path) : error, MyMsgBoxDlg::ConfirmOnly);
    if (written)
        done.setOpenFolder(QFileInfo(path).absolutePath());
    done.exec();
    return written;
}

void OutputInfoWdg::on_btn_cancel_clicked()
{
    close();
}

void OutputInfoWdg::on_btn_close_clicked()
{
    close();
}

void OutputInfoWdg::paintEvent(QPaintEvent *)
{
    paintDropShadow(this, m_shadow);
}
