#pragma once

#include <QMainWindow>

#include <memory>

class QAction;
class QStackedWidget;
class QTemporaryDir;
class QTranslator;
class HomePage;
class HotSpotPage;
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
    HotSpotPage *hotSpotPage() const { return m_hotSpotPage; }
    QStackedWidget *pages() const { return m_pages; }
    QTranslator *runtimeTranslator() const { return m_runtimeTranslator; }
    QTranslator *qtTranslator() const { return m_qtTranslator; } // null without Qt's catalogue
    OutputInfoWdg *exportDialog() const { return m_exportDialog; }

public slots:
    void onCmbSelLangChanged(QString langName);
    void slot_btn_homePage_clicked();
    void slot_btn_reportPage_clicked();

protected:
    // Quitting during an export asks first; confirmed, the export is cancelled and its current
    // file finished before anything is torn down.
    void closeEvent(QCloseEvent *event) override;

private:
    void makeSnapshotFolder();
    OutputInfoWdg *ensureExportDialog(); // builds it when it does not exist yet
    void retranslate();
    void installQtTranslator(int languageId); // replaces the one installed before
    void watchScreenDpi();
    // True when every measurement layout is written, or the user lets the unwritten go.
    bool layoutsWritten();

    MyTitleBar *m_titleBar;
    QStackedWidget *m_pages;
    HomePage *m_homePage;
    SettingPage *m_settingPage;
    HotSpotPage *m_hotSpotPage;
    QAction *m_findHotSpotsInList;
    QTranslator *m_runtimeTranslator = nullptr;
    QTranslator *m_qtTranslator = nullptr;
    OutputInfoWdg *m_exportDialog = nullptr;
    // This run's snapshots, private to it and removed with the window.
    std::unique_ptr<QTemporaryDir> m_snapshotDir;
};
