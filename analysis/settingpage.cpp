#include "settingpage.h"

SettingPage::SettingPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("SettingPage");
}

void SettingPage::setupView(int, int) {}
void SettingPage::cancelLoad() {}
void SettingPage::saveCurrentState() { on_saveBmpClicked(); }
void SettingPage::retranslate() {}
void SettingPage::slot_selectImg(QStringList, int) {}
void SettingPage::on_buttonClick(int) {}
void SettingPage::on_drawButtonClick(int) {}
void SettingPage::on_rotateButtonClick(int) {}
void SettingPage::on_allTempClicked(bool) {}
void SettingPage::on_saveBmpClicked() {}
void SettingPage::on_setFontSize(int) {}
void SettingPage::on_itemVisible(bool) {}
