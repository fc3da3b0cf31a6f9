#include "appsettings.h"
#include "homepage.h"
#include "mytitlebar.h"
#include "quorvicameratool.h"
#include "screenlayout.h"
#include "settingpage.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

class TestQuorviCameraTool : public QObject
{
    Q_OBJECT

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

    void windowSetup()
    {
        const QString tempDir = QCoreApplication::applicationDirPath() + "/tmpBmp";
        QDir(tempDir).removeRecursively();
        {
            QuorviCameraTool window;
            QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(window.windowState() & Qt::WindowMaximized);
            QVERIFY(QDir(tempDir).exists());
            QCOMPARE(shellValues().tempImageDir, tempDir);
            // The offscreen screen is 800 pixels high: the default row applies.
            QCOMPARE(shellValues().layout.viewWidth, 1000);
            QCOMPARE(shellValues().layout.minSide, 640);
            QCOMPARE(window.pages()->currentWidget(), window.homePage());
            QFile snapshot(tempDir + "/a.bmp");
            QVERIFY(snapshot.open(QIODevice::WriteOnly));
        }
        QVERIFY(!QDir(tempDir).exists());
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

        combo->setCurrentText(QString::fromUtf8("日本語"));
        QCOMPARE(home->text(), QString::fromUtf8("ホーム"));
        QCOMPARE(AppSettings::instance().languageId(), 59);
        QVERIFY(!english); // the previous run-time translator is gone
        QPointer<QTranslator> japanese = window.runtimeTranslator();

        combo->setCurrentText("English");
        QCOMPARE(home->text(), QString("Home"));
        QVERIFY(!japanese);
        QVERIFY(configText().contains("LangId=31\n"));

        combo->setCurrentText(QString::fromUtf8("中文"));
        QCOMPARE(home->text(), QString::fromUtf8("首页"));
        QCOMPARE(AppSettings::instance().languageId(), 25);
        QCOMPARE(window.windowTitle(), QString("QuorviCameraTool"));
    }
};

QTEST_MAIN(TestQuorviCameraTool)
#include "tst_quorvicameratool.moc"
