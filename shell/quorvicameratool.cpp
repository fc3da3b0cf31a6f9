#include "quorvicameratool.h"

#include "appsettings.h"
#include "homepage.h"
#include "hotspotpage.h"
#include "openedphotos.h"
#include "language.h"
#include "layouthistory.h"
#include "maskwidget.h"
#include "myitemtemp.h"
#include "mymsgboxdlg.h"
#include "mytitlebar.h"
#include "outputinfowdg.h"
#include "screenlayout.h"
#include "settingpage.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

QuorviCameraTool::QuorviCameraTool(QWidget *parent)
    : QMainWindow(parent)
{
    // The program's own catalogue is installed before the window is made; Qt's dialogs follow
    // the same language.
    installQtTranslator(AppSettings::instance().languageId());
    resize(1882, 710);
    QFont font("Microsoft YaHei");
    font.setWeight(QFont::Normal);
    setFont(font);
    setStyleSheet("QWidget{\n\tbackground-color: #222222;\n\tfont-size:12pt;\n\tfont-family:Microsoft YaHei;\n"
                  "\tfont-weight:400;\n}");
    auto *central = new QWidget(this);
    central->setObjectName("centralwidget");
    auto *grid = new QGridLayout(central);
    grid->setObjectName("gridLayout");
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    m_titleBar = new MyTitleBar(central);
    m_titleBar->setObjectName("titleWidget");
    m_pages = new QStackedWidget(central);
    m_pages->setObjectName("mainWidget");
    grid->addWidget(m_titleBar, 0, 0);
    grid->addWidget(m_pages, 1, 0);
    setCentralWidget(central);
    setWindowTitle(tr("QuorviCameraTool"));

    setWindowState(Qt::WindowMaximized);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);

    ShellValues &values = shellValues();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    values.primaryScreenHeight = screen.bottom() - screen.top() + 1;
    values.layout = screenLayoutForHeight(values.primaryScreenHeight);
    m_homePage = new HomePage;
    m_settingPage = new SettingPage;
    m_settingPage->setupView(values.layout.minSide, values.layout.maxWidth);

    makeSnapshotFolder();

    m_pages->addWidget(m_homePage);
    m_pages->addWidget(m_settingPage);
    m_hotSpotPage = new HotSpotPage;
    m_pages->addWidget(m_hotSpotPage);
    m_pages->setCurrentWidget(m_homePage);

    connect(m_homePage, &HomePage::sig_selectImg, m_settingPage, &SettingPage::slot_selectImg);
    connect(m_homePage, &HomePage::sig_findHotSpots, this, [this](const QStringList &photos) {
        m_pages->setCurrentWidget(m_hotSpotPage);
        m_hotSpotPage->showPhotos(photos);
    });
    connect(m_hotSpotPage, &HotSpotPage::sig_home, this, &QuorviCameraTool::slot_btn_homePage_clicked);
    connect(m_settingPage, &SettingPage::sig_photographChanged, m_hotSpotPage, &HotSpotPage::photographChanged);
    // An anomaly opens its photograph with a rectangle over it: an ordinary measurement.
    connect(m_hotSpotPage, &HotSpotPage::openAnomaly, this,
            [this](const QStringList &photos, int index, const QRect &bounds) {
                m_settingPage->slot_selectImg(photos, index);
                m_settingPage->markArea(photos.at(index), bounds);
            });
    connect(m_settingPage, &SettingPage::sig_showSettingPage, this, [this] {
        m_pages->setCurrentWidget(m_settingPage);
        m_titleBar->on_showButton();
    });
    connect(m_titleBar, &MyTitleBar::sig_homePage_clicked, this, &QuorviCameraTool::slot_btn_homePage_clicked);
    connect(m_titleBar, &MyTitleBar::sig_reportPage_clicked, this, &QuorviCameraTool::slot_btn_reportPage_clicked);
    connect(m_titleBar, &MyTitleBar::sig_drawButtonClick, m_settingPage, &SettingPage::on_drawButtonClick);
    connect(m_titleBar, &MyTitleBar::sig_buttonClick, m_settingPage, &SettingPage::on_buttonClick);
    connect(m_titleBar, &MyTitleBar::sig_rotateButtonClick, m_settingPage, &SettingPage::on_rotateButtonClick);
    connect(m_titleBar, &MyTitleBar::sig_setFontSize, m_settingPage, &SettingPage::on_setFontSize);
    // The rows of every photograph's list, not only those on show.
    connect(m_titleBar, &MyTitleBar::sig_setFontSize, this,
            [](int size) { MyItemTemp::setTextPixels(textPixelsForFontSize(size)); });
    connect(m_titleBar, &MyTitleBar::sig_saveBmp, m_settingPage, &SettingPage::on_saveBmpClicked);
    connect(m_titleBar, &MyTitleBar::sig_cmbSelLangChanged, this, &QuorviCameraTool::onCmbSelLangChanged);
    connect(m_titleBar, &MyTitleBar::sig_allTemp, m_settingPage, &SettingPage::on_allTempClicked);
    connect(m_titleBar, &MyTitleBar::sig_itemVisible, m_settingPage, &SettingPage::on_itemVisible);
    connect(m_settingPage, &SettingPage::sig_updateBtnStatus, m_titleBar, &MyTitleBar::OnUpdateBtnStatus);
    // The analysis page's keys, listed with the tool settings.
    m_titleBar->moreMenu()->addSeparator();
    m_titleBar->moreMenu()->addActions(m_settingPage->keyActions());
    // The hot-spot finder for the photographs opened here; the page is left as by Home, its
    // tools leaving the title bar with it.
    m_titleBar->moreMenu()->addSeparator();
    m_findHotSpotsInList = m_titleBar->moreMenu()->addAction(tr("在打开的照片中查找热点"), this, [this] {
        const QStringList photos = loadedPhotoPaths();
        m_titleBar->on_btn_homePage_clicked();
        m_pages->setCurrentWidget(m_hotSpotPage);
        m_hotSpotPage->showPhotos(photos);
    });

    watchScreenDpi();
    MaskWidget::instance().attachTo(this);
}

QuorviCameraTool::~QuorviCameraTool()
{
    // The export dialog goes first: it ends a running job, which reads the pages' tables.
    delete m_exportDialog;
    m_exportDialog = nullptr;
    delete m_homePage;
    delete m_settingPage;
    delete m_runtimeTranslator;
    delete m_qtTranslator;
    shellValues().tempImageDir.clear();
}

void QuorviCameraTool::makeSnapshotFolder()
{
    // A private folder per run in the system's temporary location: no other copy of the program
    // and no earlier run sees these snapshots, and nothing is written beside the executable.
    // Qt gives an empty temporary location when TMPDIR names no folder; the template would
    // then be a folder in the root.
    const QString base = QDir::tempPath();
    if (!base.isEmpty() && QFileInfo(base).isDir())
        m_snapshotDir = std::make_unique<QTemporaryDir>(base + "/QuorviCameraTool-XXXXXX");
    if (m_snapshotDir && m_snapshotDir->isValid()) {
        shellValues().tempImageDir = m_snapshotDir->path();
        return;
    }
    shellValues().tempImageDir.clear();
    // Told once, when the window is up: without the folder no photograph can be exported.
    QTimer::singleShot(0, this, [] {
        MyMsgBoxDlg box(tr("提示"), QPixmap(":/res/icon/warning.svg"),
                        tr("无法创建临时文件夹，分析的图片将无法导出。"), MyMsgBoxDlg::ConfirmOnly);
        box.exec();
    });
}

void QuorviCameraTool::closeEvent(QCloseEvent *event)
{
    if (m_exportDialog && m_exportDialog->exportRunning()) {
        MyMsgBoxDlg ask(tr("提示"), QPixmap(":/res/icon/warning.svg"),
                        tr("正在导出，退出将取消导出，其余图片不会导出。确定退出吗？"), MyMsgBoxDlg::BothButtons);
        if (ask.exec() != QDialog::Accepted) {
            event->ignore();
            return;
        }
        m_exportDialog->stopExport();
    }
    if (!layoutsWritten()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool QuorviCameraTool::layoutsWritten()
{
    // Layouts still waiting are written now; one that cannot be is not lost without a word.
    LayoutSaver *saver = m_settingPage->layoutHistory()->saver();
    while (!saver->flushAll()) {
        QStringList lines;
        for (const QString &path : saver->unsaved())
            lines << saver->lastError(path);
        QMessageBox ask(QMessageBox::Warning, tr("提示"),
                        tr("有测温标记未能保存到照片旁的设置文件。退出前再试一次吗？"), QMessageBox::NoButton, this);
        ask.setDetailedText(lines.join('\n'));
        QPushButton *again = ask.addButton(tr("再次保存"), QMessageBox::AcceptRole);
        QPushButton *discard = ask.addButton(tr("不保存"), QMessageBox::DestructiveRole);
        ask.addButton(tr("取消"), QMessageBox::RejectRole);
        ask.setDefaultButton(again);
        ask.exec();
        if (ask.clickedButton() == discard) {
            saver->discard();
            return true;
        }
        if (ask.clickedButton() != again)
            return false;
    }
    return true;
}

OutputInfoWdg *QuorviCameraTool::ensureExportDialog()
{
    if (!m_exportDialog)
        m_exportDialog = new OutputInfoWdg;
    return m_exportDialog;
}

void QuorviCameraTool::watchScreenDpi()
{
    // Qt lays out the whole interface for the DPI it started with; a change restarts the
    // program with the same arguments.
    for (QScreen *screen : QGuiApplication::screens()) {
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, [] {
            QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                    QCoreApplication::arguments().mid(1), QDir::currentPath());
            QCoreApplication::exit(0);
        });
    }
}

void QuorviCameraTool::onCmbSelLangChanged(QString langName)
{
    AppSettings &settings = AppSettings::instance();
    if (langName == languageDisplayName(settings.languageId()))
        return;
    const int id = languageIdFromDisplayName(langName);
    auto *translator = new QTranslator;
    if (translator->load(qmPathForLanguage(id)) && QCoreApplication::installTranslator(translator)) {
        installQtTranslator(id);
        retranslate();
        settings.setLanguageId(id);
    }
    delete m_runtimeTranslator;
    m_runtimeTranslator = translator;
}

void QuorviCameraTool::installQtTranslator(int languageId)
{
    delete m_qtTranslator;
    m_qtTranslator = new QTranslator;
    if (!m_qtTranslator->load(qtQmPathForLanguage(languageId)) || !QCoreApplication::installTranslator(m_qtTranslator)) {
        delete m_qtTranslator;
        m_qtTranslator = nullptr;
    }
}

void QuorviCameraTool::retranslate()
{
    setWindowTitle(tr("QuorviCameraTool"));
    m_titleBar->retranslate();
    m_homePage->retranslate();
    m_hotSpotPage->retranslate();
    m_findHotSpotsInList->setText(tr("在打开的照片中查找热点"));
    m_settingPage->retranslate();
    if (m_exportDialog)
        m_exportDialog->retranslate();
}

void QuorviCameraTool::slot_btn_homePage_clicked()
{
    m_settingPage->cancelLoad();
    m_pages->setCurrentWidget(m_homePage);
}

void QuorviCameraTool::slot_btn_reportPage_clicked()
{
    m_settingPage->saveCurrentState();
    MaskWidget::instance().setNames({"OutputInfoWdg"});
    MaskWidget::instance().attachTo(this);
    ensureExportDialog()->setHomeFolder(m_homePage->currentFolderPath());
    m_exportDialog->setHotSpotSettings(m_hotSpotPage->settings());
    m_exportDialog->refreshPhotoList();
    m_exportDialog->exec();
}
