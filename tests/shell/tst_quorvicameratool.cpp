#include "appsettings.h"
#include "exportfilethread.h"
#include "homepage.h"
#include "itemtables.h"
#include "layouthistory.h"
#include "measurementitems.h"
#include "myitemtemp.h"
#include "mymsgboxdlg.h"
#include "myprogressdlg.h"
#include "mytitlebar.h"
#include "outputinfowdg.h"
#include "snapshottables.h"
#include "photogenerator.h"
#include "photostore.h"
#include "quorvicameratool.h"
#include "screenlayout.h"
#include "settingpage.h"
#include "sidecar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

namespace {

// Answers every message box that shows up while it lives (confirm or cancel) and keeps their
// texts. It polls with a timer, so it also runs inside the modal loop of the box.
class MessageBoxAnswer : public QObject
{
public:
    explicit MessageBoxAnswer(bool confirm)
    {
        connect(&m_timer, &QTimer::timeout, this, [this, confirm] {
            if (auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget())) {
                texts << box->findChild<QLabel *>("lab_text")->text();
                box->findChild<QPushButton *>(confirm ? "btn_confirm" : "btn_cancel")->click();
            }
        });
        m_timer.start(20);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

} // namespace

class TestQuorviCameraTool : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Fills the window's snapshot folder with count snapshots of one large photograph, so
    // that their CSV export takes a while.
    void makeSnapshots(int count)
    {
        const QString photo = m_dir.filePath("big.jpg");
        if (!QFile::exists(photo)) {
            PhotoSpec shot;
            shot.temperatures.assign(size_t(shot.width) * shot.height, 30.5f);
            writePhoto(photo, shot);
            QCOMPARE(PhotoStore::program().load(photo), 0);
        }
        for (int i = 0; i < count; ++i) {
            const QString snapshot = shellValues().tempImageDir + QString("/big-%1.bmp").arg(i);
            QVERIFY(QImage(16, 12, QImage::Format_RGB32).save(snapshot));
            snapshotSources()[snapshot] = photo;
        }
    }

    // Opens the export dialog the way the title bar does and starts a CSV export of every row.
    static ExportFileThread *startExport(QuorviCameraTool &window, const QString &directory)
    {
        ExportFileThread *job = nullptr;
        QTimer::singleShot(0, &window, [&window, &job, directory] {
            OutputInfoWdg *dialog = window.exportDialog();
            dialog->findChild<QRadioButton *>("radio_csv")->setChecked(true);
            QCheckBox *all = dialog->findChild<QCheckBox *>("checkBox_all");
            all->setChecked(true);
            emit all->released();
            job = dialog->startExport(directory); // hides the dialog, which ends its exec()
        });
        window.slot_btn_reportPage_clicked();
        return job;
    }

    static QString configText()
    {
        QFile file(AppSettings::configPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void init()
    {
        QFile::remove(AppSettings::configPath());
        AppSettings::instance().load();
        AppSettings::instance().setLanguageId(25);
    }

    void cleanupTestCase() { QFile::remove(AppSettings::configPath()); }

    void closingWithLayoutsThatCannotBeWrittenAsks()
    {
        // A photograph whose sidecar cannot be written: a folder stands where the file would go.
        const QString photo = m_dir.filePath("unwritable.jpg");
        QVERIFY(QDir().mkpath(sidecarPath(photo)));
        Measurement point;
        point.name = "P1";
        point.points = {QPointF(5.5, 7.5)};
        itemTables()[photo] = {{"P1", itemFor(point, mappingFor(photo, QRectF(0, 0, 100, 100)))}};
        // Answers the question with the button of the given text, and counts the questions.
        int asked = 0;
        QString choice;
        std::function<void()> meanwhile = [] {};
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++asked;
                meanwhile();
                for (QAbstractButton *button : box->buttons())
                    if (button->text() == choice)
                        button->click();
            }
        });
        answer.start(20);
        {
            QuorviCameraTool window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            LayoutSaver *saver = window.settingPage()->layoutHistory()->saver();
            saver->schedule(photo);
            choice = QString::fromUtf8("取消"); // the program stays
            QVERIFY(!window.close());
            QCOMPARE(asked, 1);
            QVERIFY(window.isVisible());
            QCOMPARE(saver->unsaved(), QStringList{photo});
            // Made writable while the question is open, saving again writes it and closes.
            meanwhile = [&photo] { QDir(sidecarPath(photo)).removeRecursively(); };
            choice = QString::fromUtf8("再次保存");
            QVERIFY(window.close());
            QCOMPARE(asked, 2);
            meanwhile = [] {};
            QJsonArray saved;
            QVERIFY(readSidecarLayout(photo, saved, nullptr));
            QCOMPARE(layoutFromJson(saved, nullptr).size(), 1);
            // Everything written: closing asks nothing.
            window.show();
            saver->schedule(photo);
            QVERIFY(window.close());
            QCOMPARE(asked, 2);
        }
        {
            QVERIFY(QFile::remove(sidecarPath(photo)));
            QVERIFY(QDir().mkpath(sidecarPath(photo)));
            QuorviCameraTool window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.settingPage()->layoutHistory()->saver()->schedule(photo);
            choice = QString::fromUtf8("不保存"); // let go
            QVERIFY(window.close());
            QCOMPARE(asked, 3);
            QVERIFY(window.settingPage()->layoutHistory()->saver()->unsaved().isEmpty());
        }
        itemTables().remove(photo);
        QDir(sidecarPath(photo)).removeRecursively();
    }

    void windowSetup()
    {
        const QString besideProgram = QCoreApplication::applicationDirPath() + "/tmpBmp";
        QDir(besideProgram).removeRecursively();
        QString tempDir;
        {
            QuorviCameraTool window;
            QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(window.windowState() & Qt::WindowMaximized);
            tempDir = shellValues().tempImageDir;
            // Snapshots go into a folder of this run in the system's temporary location, none
            // beside the program.
            QVERIFY(!tempDir.isEmpty());
            QVERIFY(QDir(tempDir).exists());
            QVERIFY(tempDir.startsWith(QDir::tempPath() + "/"));
            QVERIFY(!QDir(besideProgram).exists());
            // The offscreen screen is 800 pixels high: the default row applies.
            QCOMPARE(shellValues().layout.viewWidth, 1000);
            QCOMPARE(shellValues().layout.minSide, 640);
            QCOMPARE(window.pages()->currentWidget(), window.homePage());
            QFile snapshot(tempDir + "/a.bmp");
            QVERIFY(snapshot.open(QIODevice::WriteOnly));
        }
        QVERIFY(!QDir(tempDir).exists());
    }

    void runsNeverShareSnapshots()
    {
        // A snapshot left by an earlier run (a crash) and one of another copy running now.
        QuorviCameraTool first;
        const QString firstDir = shellValues().tempImageDir;
        QVERIFY(QImage(16, 12, QImage::Format_RGB32).save(firstDir + "/old.bmp"));
        QuorviCameraTool second;
        const QString secondDir = shellValues().tempImageDir;
        QVERIFY(QDir(secondDir).exists());
        QVERIFY(secondDir != firstDir);
        QVERIFY(QDir(secondDir).entryList(QDir::Files).isEmpty());
        QTimer::singleShot(0, &second, [&second] {
            QCOMPARE(second.exportDialog()->findChild<QListWidget *>("listWidget")->count(), 0);
            second.exportDialog()->close();
        });
        second.slot_btn_reportPage_clicked();
    }

    void noSnapshotFolderIsSaid()
    {
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", m_dir.filePath("missing/deeper").toLocal8Bit());
        {
            MessageBoxAnswer answer(true);
            QuorviCameraTool window;
            QVERIFY(shellValues().tempImageDir.isEmpty());
            QTRY_COMPARE_WITH_TIMEOUT(answer.texts.size(), 1, 3000);
            QCOMPARE(answer.texts.first(), QString::fromUtf8("无法创建临时文件夹，分析的图片将无法导出。"));
            QTest::qWait(200);
            QCOMPARE(answer.texts.size(), 1); // once
            QVERIFY(!QDir(QCoreApplication::applicationDirPath() + "/tmpBmp").exists());
            // Nothing is listed, not even pictures of the working directory.
            const QString working = QDir::currentPath();
            QVERIFY(QDir().mkpath(m_dir.filePath("working")));
            QVERIFY(QDir::setCurrent(m_dir.filePath("working")));
            QVERIFY(QImage(16, 12, QImage::Format_RGB32).save("stray.bmp"));
            QTimer::singleShot(0, &window, [&window] {
                QCOMPARE(window.exportDialog()->findChild<QListWidget *>("listWidget")->count(), 0);
                window.exportDialog()->close();
            });
            window.slot_btn_reportPage_clicked();
            QDir::setCurrent(working);
        }
        if (saved.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", saved);
    }

    void quittingDuringAnExportAsks()
    {
        QuorviCameraTool window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int total = 300;
        makeSnapshots(total);
        ExportFileThread *job = startExport(window, m_dir.filePath("quit"));
        QVERIFY(job);
        QTRY_VERIFY(window.exportDialog()->progressDialog()->value() > 0);
        QVERIFY(job->isRunning());

        {
            // Declined: the program stays and the export goes on.
            MessageBoxAnswer no(false);
            QVERIFY(!window.close());
            QCOMPARE(no.texts, QStringList{QString::fromUtf8("正在导出，退出将取消导出，其余图片不会导出。确定退出吗？")});
        }
        QVERIFY(window.isVisible());
        QVERIFY(job->isRunning());
        QVERIFY(window.exportDialog()->progressDialog()->isVisible());

        {
            // Confirmed: the job is cancelled and has finished its file when the window closes.
            MessageBoxAnswer yes(true);
            QVERIFY(window.close());
            QCOMPARE(yes.texts.size(), 1);
            QVERIFY(job->isFinished());
            QVERIFY(!window.isVisible());
            QVERIFY(!window.exportDialog()->progressDialog()->isVisible());
            const int written = QDir(job->exportFolder()).entryList({"*.csv"}, QDir::Files).size();
            QVERIFY2(written < total, qPrintable(QString::number(written)));
            // What the job still reports afterwards shows no message.
            QTest::qWait(1500);
            QCOMPARE(yes.texts.size(), 1);
        }
    }

    void destroyedDuringAnExportEndsTheJobFirst()
    {
        QPointer<ExportFileThread> job;
        {
            QuorviCameraTool window;
            makeSnapshots(300);
            job = startExport(window, m_dir.filePath("destroyed"));
            QVERIFY(job);
            QTRY_VERIFY(window.exportDialog()->progressDialog()->value() > 0);
            QVERIFY(job->isRunning());
        }
        // The job ended and went with the window, before the pages it reads.
        QVERIFY(!job);
    }

    void exportDialogGetsTheHomeFolder()
    {
        const QString home = m_dir.filePath("library");
        QVERIFY(QDir().mkpath(home));
        PhotoSpec shot;
        shot.width = 16;
        shot.height = 12;
        shot.temperatures.assign(16 * 12, 22.0f);
        writePhoto(home + "/IR_0001.jpg", shot);
        QuorviCameraTool window;
        window.homePage()->importFolder(home);
        QCOMPARE(window.homePage()->currentFolderPath(), home);
        QString handed;
        bool choice = false;
        QTimer::singleShot(0, &window, [&] {
            handed = window.exportDialog()->homeFolder();
            choice = !window.exportDialog()->findChild<QCheckBox *>("checkBox_folder")->isHidden();
            window.exportDialog()->close();
        });
        window.slot_btn_reportPage_clicked();
        QCOMPARE(handed, home);
        QVERIFY(choice);

        // Every imported folder at once is no single folder.
        window.homePage()->on_btn_showAllPhoto_clicked();
        QVERIFY(window.homePage()->currentFolderPath().isEmpty());
        QTimer::singleShot(0, &window, [&] {
            handed = window.exportDialog()->homeFolder();
            window.exportDialog()->close();
        });
        window.slot_btn_reportPage_clicked();
        QVERIFY(handed.isEmpty());
    }

    void pageSwitching()
    {
        QuorviCameraTool window;
        QLabel *logo = window.titleBar()->findChild<QLabel *>("lab_logo");
        QToolButton *home = window.titleBar()->findChild<QToolButton *>("btn_homePage");
        emit window.settingPage()->sig_showSettingPage();
        QCOMPARE(window.pages()->currentWidget(), window.settingPage());
        QVERIFY(logo->isHidden());
        QVERIFY(!home->isHidden());

        home->click();
        QCOMPARE(window.pages()->currentWidget(), window.homePage());
        QVERIFY(!logo->isHidden());
        QVERIFY(home->isHidden());
    }

    void fontSizeReachesEveryRow()
    {
        QuorviCameraTool window;
        MyItemTemp otherPhotograph; // a row of a photograph not on show, detached from the list
        QLabel *name = otherPhotograph.findChild<QLabel *>("lab_name");
        emit window.titleBar()->sig_setFontSize(MyTitleBar::FontLarge);
        name->ensurePolished();
        QCOMPARE(name->font().pixelSize(), textPixelsForFontSize(MyTitleBar::FontLarge));
        emit window.titleBar()->sig_setFontSize(MyTitleBar::FontDefault);
        QCOMPARE(name->font().pixelSize(), textPixelsForFontSize(MyTitleBar::FontDefault));
    }

    void languageSwitching()
    {
        QuorviCameraTool window;
        QComboBox *combo = window.titleBar()->findChild<QComboBox *>("cmb_switchLang");
        QToolButton *home = window.titleBar()->findChild<QToolButton *>("btn_homePage");
        QCOMPARE(combo->currentText(), QString::fromUtf8("中文"));
        QCOMPARE(home->text(), QString::fromUtf8("首页"));

        combo->setCurrentText("English");
        QCOMPARE(home->text(), QString("Home"));
        QCOMPARE(window.titleBar()->findChild<QLabel *>("label")->text(), QString("Language"));
        // The pages follow: the home page's buttons and the analysis page's placeholder.
        QCOMPARE(window.homePage()->findChild<QPushButton *>("btn_inputPhotoDir")->text(), QString("Import"));
        bool placeholder = false;
        for (QLabel *label : window.settingPage()->findChildren<QLabel *>())
            placeholder = placeholder || label->text() == "No data available.";
        QVERIFY(placeholder);
        QCOMPARE(AppSettings::instance().languageId(), 31);
        QVERIFY(configText().contains("LangId=31\n"));
        QPointer<QTranslator> english = window.runtimeTranslator();
        QVERIFY(english);

        // The active language chosen again changes nothing, not even the file.
        QFile::remove(AppSettings::configPath());
        window.onCmbSelLangChanged("English");
        QCOMPARE(window.runtimeTranslator(), english.data());
        QVERIFY(!QFile::exists(AppSettings::configPath()));

        // Qt's own dialogs speak the language too (Debian's qttranslations5-l10n); English
        // is their source, and no Chinese is left behind.
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Choose"), QString("&Choose"));
        combo->setCurrentText(QString::fromUtf8("日本語"));
        QCOMPARE(home->text(), QString::fromUtf8("ホーム"));
        QVERIFY(window.qtTranslator());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Choose"), QString::fromUtf8("選択(&C)"));
        QFileDialog dialog(&window);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::Directory);
        QCOMPARE(dialog.findChild<QLabel *>("lookInLabel")->text(), QString::fromUtf8("アドレス:"));
        QCOMPARE(AppSettings::instance().languageId(), 59);
        QVERIFY(!english); // the previous run-time translator is gone
        QPointer<QTranslator> japanese = window.runtimeTranslator();

        combo->setCurrentText("English");
        QCOMPARE(home->text(), QString("Home"));
        QVERIFY(!japanese);
        QVERIFY(configText().contains("LangId=31\n"));

        combo->setCurrentText(QString::fromUtf8("中文"));
        QCOMPARE(home->text(), QString::fromUtf8("首页"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Choose"), QString::fromUtf8("选择(&C)"));
        QCOMPARE(AppSettings::instance().languageId(), 25);
        QCOMPARE(window.windowTitle(), QString("QuorviCameraTool"));
    }
};

QTEST_MAIN(TestQuorviCameraTool)
#include "tst_quorvicameratool.moc"
