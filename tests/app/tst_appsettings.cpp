#include "appsettings.h"
#include "language.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QtTest>

class TestAppSettings : public QObject
{
    Q_OBJECT

private:
    static QString configText()
    {
        QFile file(AppSettings::configPath());
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return QString();
        return QString::fromUtf8(file.readAll());
    }
    static void writeConfig(const QByteArray &text)
    {
        QFile file(AppSettings::configPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

private slots:
    void init() { QFile::remove(AppSettings::configPath()); }
    void cleanupTestCase() { QFile::remove(AppSettings::configPath()); }

    void singletonIsShared()
    {
        QCOMPARE(&AppSettings::instance(), &AppSettings::instance());
    }

    void firstStartOnEnglishSystem()
    {
        AppSettings &settings = AppSettings::instance();
        settings.load();
        QCOMPARE(settings.languageId(), 0);
        QCOMPARE(startupQmPath(settings, QLocale(QLocale::English, QLocale::UnitedStates)),
                 QString(":/res/language/english.qm"));
        QCOMPARE(settings.languageId(), 31);

        const QString text = configText();
        QVERIFY2(text.contains("[INFO]\nEquipmentType=\n"), qPrintable(text));
        QVERIFY2(text.contains("[Language]\nLangId=31\n"), qPrintable(text));

        QTranslator translator;
        QVERIFY(translator.load(":/res/language/english.qm"));
        QCoreApplication::installTranslator(&translator);
        QCOMPARE(QCoreApplication::translate("MyTitleBar", "首页"), QString("Home"));
        QCoreApplication::removeTranslator(&translator);

        // The second start finds the stored language and leaves the file as it is.
        settings.load();
        QCOMPARE(settings.languageId(), 31);
        QCOMPARE(startupQmPath(settings, QLocale(QLocale::German)), QString(":/res/language/english.qm"));
        QCOMPARE(configText(), text);
    }

    void firstStartOnGermanSystem()
    {
        AppSettings &settings = AppSettings::instance();
        settings.load();
        QCOMPARE(startupQmPath(settings, QLocale(QLocale::German, QLocale::Germany)),
                 QString(":/res/language/chinese.qm"));
        QCOMPARE(settings.languageId(), int(QLocale::German));
        QVERIFY(configText().contains(QString("LangId=%1\n").arg(int(QLocale::German))));
        QCOMPARE(languageDisplayName(settings.languageId()), QString::fromUtf8("中文"));

        // A stored id of a language without catalogue is kept and shown as Chinese.
        settings.load();
        QCOMPARE(settings.languageId(), int(QLocale::German));
        QCOMPARE(startupQmPath(settings, QLocale(QLocale::English)), QString(":/res/language/chinese.qm"));
    }

    void nonNumericLanguageIdActsAsUnset()
    {
        writeConfig("[Language]\nLangId=abc\n");
        AppSettings &settings = AppSettings::instance();
        settings.load();
        QCOMPARE(settings.languageId(), 0);
        // An existing file gets no [INFO] group.
        QVERIFY(!configText().contains("[INFO]"));
        QCOMPARE(startupQmPath(settings, QLocale(QLocale::Japanese)), QString(":/res/language/japanese.qm"));
        QCOMPARE(settings.languageId(), 59);
        QVERIFY(configText().contains("LangId=59\n"));
    }

    void languageHelpers()
    {
        QCOMPARE(qmPathForLanguage(31), QString(":/res/language/english.qm"));
        QCOMPARE(qmPathForLanguage(59), QString(":/res/language/japanese.qm"));
        for (int id : {0, 25, 42, -1})
            QCOMPARE(qmPathForLanguage(id), QString(":/res/language/chinese.qm"));

        QCOMPARE(languageDisplayName(31), QString("English"));
        QCOMPARE(languageDisplayName(59), QString::fromUtf8("日本語"));
        QCOMPARE(languageDisplayName(25), QString::fromUtf8("中文"));
        QCOMPARE(languageDisplayName(7), QString::fromUtf8("中文"));

        QCOMPARE(languageIdFromDisplayName("English"), 31);
        QCOMPARE(languageIdFromDisplayName(QString::fromUtf8("日本語")), 59);
        QCOMPARE(languageIdFromDisplayName(QString::fromUtf8("中文")), 25);
        QCOMPARE(languageIdFromDisplayName("english"), 25);
        QCOMPARE(languageIdFromDisplayName(QString()), 25);

        // Every catalogue is compiled in and loads.
        for (int id : {25, 31, 59}) {
            QTranslator translator;
            QVERIFY2(translator.load(qmPathForLanguage(id)), qPrintable(qmPathForLanguage(id)));
        }
    }

    void englishTextsSayWhatTheyDo()
    {
        QTranslator english;
        QVERIFY(english.load(qmPathForLanguage(31)));
        auto text = [&english](const char *context, const char *source) {
            return english.translate(context, source);
        };
        QCOMPARE(text("QGraphicsPaint", "粘贴红外样式至全部文件"), QString("Paste Style to All Files"));
        QCOMPARE(text("SettingPage", "图像宽高："), QString("Width x Height"));
        QCOMPARE(text("SettingPage", "焦平面温度："), QString("Focal Plane Temperature"));
        QCOMPARE(text("HomePage", "全部资源"), QString("All Resources"));
        QCOMPARE(text("HomePage", "选择目录"), QString("Choose a folder"));
    }

    void readValueDefaultsAndRemoval()
    {
        AppSettings &settings = AppSettings::instance();
        settings.load();
        QCOMPARE(settings.readValue("INFO", "EquipmentType", "fallback"), QString("fallback"));
        settings.writeValue("INFO", "EquipmentType", "PV245");
        QCOMPARE(settings.readValue("INFO", "EquipmentType", "fallback"), QString("PV245"));
        settings.removeKeyInGroup("INFO", "EquipmentType");
        QCOMPARE(settings.readValue("INFO", "EquipmentType", "none"), QString("none"));
        settings.setLanguageId(31);
        settings.removeKey("Language/LangId");
        QCOMPARE(settings.readValue("Language", "LangId", "0"), QString("0"));
    }
};

QTEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
