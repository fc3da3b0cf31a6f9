#pragma once

#include <QMainWindow>

class QStackedWidget;
class QTranslator;
class HomePage;
class OutputInfoWdg;
class MyTitleBar;
class SettingPage;

// The frameless, maximised main window: title bar on top, home and analysis pages below.
class QuorviCameraTool : public QMainWindow
{
    Q_OBJECT
public:
    explicit QuorviCameraTool(QWidget *parent = nullptr);
    ~QuorviCameraTool() override;

    MyTitleBar *titleBar() const { return m_titleBar; }
    HomePage *homePage() const { return m_homePage; }
    SettingPage *settingPage() const { return m_settingPage; }
    QStackedWidget *pages() const { return m_pages; }
    QTranslator *runtimeTranslator() const { return m_runtimeTranslator; }
    OutputInfoWdg *exportDialog() const { return m_exportDialog; }

public slots:
    void onCmbSelLangChanged(QString langName);
    void slot_btn_homePage_clicked();
    void slot_btn_reportPage_clicked();

private:
    void retranslate();
    void watchScreenDpi();

    MyTitleBar *m_titleBar;
    QStackedWidget *m_pages;
    HomePage *m_homePage;
    SettingPage *m_settingPage;
    QTranslator *m_runtimeTranslator = nullptr;
    OutputInfoWdg *m_exportDialog = nullptr;
};
