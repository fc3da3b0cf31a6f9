#pragma once

#include <QStringList>
#include <QWidget>

// The analysis page. Until the analysis road lands it is an empty page with the signals
// and slots the main window and the title bar are wired to.
class SettingPage : public QWidget
{
    Q_OBJECT
public:
    explicit SettingPage(QWidget *parent = nullptr);

    void setupView(int minSide, int maxWidth);
    void cancelLoad();
    void saveCurrentState();
    void retranslate();

signals:
    void sig_showSettingPage();
    void sig_drawOver();
    void sig_updateBtnStatus(int btnId, bool pushed);
    void sig_click_pre_next();

public slots:
    void slot_selectImg(QStringList imgList, int index);
    void on_buttonClick(int btnId);
    void on_drawButtonClick(int btnId);
    void on_rotateButtonClick(int btnId);
    void on_allTempClicked(bool checked);
    void on_saveBmpClicked();
    void on_setFontSize(int size);
    void on_itemVisible(bool flag);
};
