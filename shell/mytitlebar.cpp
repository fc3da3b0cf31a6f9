#include "mytitlebar.h"

#include "appsettings.h"
#include "language.h"
#include "myactionwdg.h"
#include "translucentwindows.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QToolButton>
#include <QWidgetAction>
#include <QWindow>

#include <algorithm>

namespace {
const char *const kSelectedStyle = "color: #08A4FF;";
const char *const kNormalStyle = "color: rgba(255,255,255,0.55);";
const char *const kIconNameProperty = "iconName";

QString iconPath(const QString &iconName, bool selected)
{
    return ":/res/icon/" + iconName + (selected ? "-selected.svg" : "-defult.svg");
}
}

MyTitleBar::MyTitleBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("MyTitleBar");
    setStyleSheet("QWidget{background-color:#222222;color:rgba(255,255,255,0.85);}"
                  "QToolButton{border:none;color:rgba(255,255,255,0.55);font-size:10pt;padding:2px 4px;}"
                  "QToolButton:hover{background-color:rgba(255,255,255,0.06);border-radius:4px;}"
                  "QToolButton::menu-indicator{image:none;}"
                  "QPushButton{border:none;color:rgba(255,255,255,0.85);background-color:#333333;border-radius:4px;}"
                  "QPushButton:hover{background-color:#444444;}"
                  "QFrame#line,QFrame#line_2,QFrame#line_3{color:rgba(255,255,255,0.1);}"
                  "QComboBox{background-color:#333333;border:1px solid rgba(255,255,255,0.1);border-radius:4px;"
                  "padding:2px 8px;min-width:90px;}"
                  "QComboBox QAbstractItemView{background-color:#333333;color:#ffffff;"
                  "selection-background-color:#08A4FF;outline:0px;}");
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(10, 4, 6, 4);
    layout->setHorizontalSpacing(4);

    m_logo = new QLabel(this);
    m_logo->setObjectName("lab_logo");
    m_logo->setPixmap(QIcon(":/res/icon/logo.svg").pixmap(132, 28));
    layout->addWidget(m_logo, 0, 0);

    m_home = addToolButton("btn_homePage", "home", 1);
    m_save = new QPushButton(this);
    m_save->setObjectName("btn_savePage");
    m_save->setIcon(QIcon(":/res/icon/save-defult.svg"));
    m_save->setIconSize(QSize(22, 22));
    m_save->setMinimumSize(75, 32);
    layout->addWidget(m_save, 0, 3);
    m_report = addToolButton("btn_reportPage", "export", 4);
    layout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 5);
    m_rotate = addToolButton("btn_rorate", "rotate", 6);
    m_any = addToolButton("btn_any", "any", 7);
    m_line1 = addSeparator("line", 9);
    m_arrow = addToolButton("btn_arrow", "arrow", 10);
    m_point = addToolButton("btn_point", "point", 11);
    m_line = addToolButton("btn_line", "line", 12);
    m_rect = addToolButton("btn_rect", "rect", 13);
    m_round = addToolButton("btn_round", "round", 14);
    m_polygon = addToolButton("btn_polygon", "polygon", 15);
    m_allTemp = addToolButton("btn_allTemp", "alltemp", 19);
    m_allTemp->setCheckable(true);
    m_line2 = addSeparator("line_2", 21);
    m_color = addToolButton("btn_color", "color", 23);
    m_lowTemp = addToolButton("btn_lowTemp", "lowTemp", 24);
    m_highTemp = addToolButton("btn_highTemp", "highTemp", 25);
    m_3d = addToolButton("btn_3d", "3d", 28);
    m_delete = addToolButton("btn_delete", "delete", 29);
    m_line3 = addSeparator("line_3", 30);
    m_more = addToolButton("btn_more", "more", 31);
    layout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 32);

    m_languageLabel = new QLabel(this);
    m_languageLabel->setObjectName("label");
    layout->addWidget(m_languageLabel, 0, 33);
    m_language = new QComboBox(this);
    m_language->setObjectName("cmb_switchLang");
    layout->addWidget(m_language, 0, 34);

    m_minWindow = new QToolButton(this);
    m_minWindow->setObjectName("btn_minWindow");
    m_minWindow->setIcon(QIcon(":/res/icon/min-size.svg"));
    m_minWindow->setIconSize(QSize(20, 20));
    layout->addWidget(m_minWindow, 0, 35);
    m_maxWindow = new QToolButton(this);
    m_maxWindow->setObjectName("btn_maxWindow");
    m_maxWindow->setIconSize(QSize(20, 20));
    layout->addWidget(m_maxWindow, 0, 36);
    m_closeWindow = new QToolButton(this);
    m_closeWindow->setObjectName("btn_closeWindow");
    m_closeWindow->setIcon(QIcon(":/res/icon/close.svg"));
    m_closeWindow->setIconSize(QSize(20, 20));
    layout->addWidget(m_closeWindow, 0, 37);

    for (QToolButton *button : {m_arrow, m_point, m_line, m_rect, m_round, m_polygon})
        button->setCheckable(true);

    m_actionGroup = new QButtonGroup(this);
    m_actionGroup->addButton(m_lowTemp, ActionLowTemp);
    m_actionGroup->addButton(m_highTemp, ActionHighTemp);
    m_actionGroup->addButton(m_color, ActionColor);
    m_actionGroup->addButton(m_3d, Action3d);
    m_actionGroup->addButton(m_delete, ActionDelete);
    m_drawGroup = new QButtonGroup(this);
    m_drawGroup->addButton(m_point, DrawPoint);
    m_drawGroup->addButton(m_line, DrawLine);
    m_drawGroup->addButton(m_rect, DrawRect);
    m_drawGroup->addButton(m_round, DrawRound);
    m_drawGroup->addButton(m_polygon, DrawPolygon);
    m_drawGroup->addButton(m_arrow, DrawPointer);
    m_rotateGroup = new QButtonGroup(this);
    m_rotateGroup->addButton(m_rotate, RotateQuarter);
    m_rotateGroup->addButton(m_any, RotateAny);
    connect(m_actionGroup, &QButtonGroup::idClicked, this, &MyTitleBar::on_buttonClick);
    connect(m_drawGroup, &QButtonGroup::idClicked, this, &MyTitleBar::on_drawButtonClick);
    connect(m_rotateGroup, &QButtonGroup::idClicked, this, &MyTitleBar::on_rotateButtonClick);
    connect(m_save, &QPushButton::clicked, this, &MyTitleBar::sig_saveBmp);

    buildMoreMenu();

    m_language->setView(new QListView(m_language));
    m_language->addItems({languageDisplayName(LanguageId::Chinese), languageDisplayName(LanguageId::English),
                          languageDisplayName(LanguageId::Japanese)});
    m_language->setCurrentText(languageDisplayName(AppSettings::instance().languageId()));
    connect(m_language, &QComboBox::currentTextChanged, this, &MyTitleBar::sig_cmbSelLangChanged);
    connect(m_minWindow, &QToolButton::clicked, this, &MyTitleBar::onClicked);
    connect(m_maxWindow, &QToolButton::clicked, this, &MyTitleBar::toggleMaximised);
    // The maximise button shows what a click will do as the window's state changes.
    if (window() != this)
        window()->installEventFilter(this);
    connect(m_closeWindow, &QToolButton::clicked, this, &MyTitleBar::onClicked);

    retranslate();
    QMetaObject::connectSlotsByName(this);
    on_btn_homePage_clicked();
}

QToolButton *MyTitleBar::addToolButton(const char *objectName, const QString &iconName, int column)
{
    auto *button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setProperty(kIconNameProperty, iconName);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(26, 26));
    button->setIcon(QIcon(iconPath(iconName, false)));
    button->setStyleSheet(kNormalStyle);
    static_cast<QGridLayout *>(layout())->addWidget(button, 0, column);
    return button;
}

QFrame *MyTitleBar::addSeparator(const char *objectName, int column)
{
    auto *line = new QFrame(this);
    line->setObjectName(objectName);
    line->setFrameShape(QFrame::VLine);
    line->setFixedHeight(36);
    static_cast<QGridLayout *>(layout())->addWidget(line, 0, column);
    return line;
}

void MyTitleBar::buildMoreMenu()
{
    m_moreMenu = new QMenu(this);
    m_moreMenu->setObjectName("menu_more");
    m_moreMenu->setWindowFlags(m_moreMenu->windowFlags() | Qt::FramelessWindowHint);
    m_moreMenu->setStyleSheet(
        " QMenu {background:#444444;border-radius: 6px;border: 1px solid rgba(255,255,255,0.1);font-size:12pt;"
        "color:#ffffff;padding:5px 0px;margin-top:5px;} QMenu::separator{height:1px;min-width:100px;margin:5px;"
        "background-color: rgba(255, 255, 255, 0.1);color:rgba(255,255,255,0.1);}");
    fitMenuCorners(m_moreMenu);

    m_bigFont = addMenuEntry(":/res/icon/bigfont-defult.svg", false);
    m_bigFont->setStyleSheet(m_bigFont->styleSheet() + "MyActionWdg{margin-top:5px;}");
    m_defaultFont = addMenuEntry(":/res/icon/font-defult.svg", false);
    m_smallFont = addMenuEntry(":/res/icon/littlefont-defult.svg", false);
    m_moreMenu->addSeparator();
    m_shielded = addMenuEntry(":/res/icon/area-defult.svg", true);
    m_defaultFont->setSelected(true);

    const QList<QAction *> actions = m_moreMenu->actions();
    connect(actions.at(0), &QAction::triggered, this, [this] { selectFontEntry(m_bigFont, FontLarge); });
    connect(actions.at(1), &QAction::triggered, this, [this] { selectFontEntry(m_defaultFont, FontDefault); });
    connect(actions.at(2), &QAction::triggered, this, [this] { selectFontEntry(m_smallFont, FontSmall); });
    connect(actions.at(4), &QAction::triggered, this, [this](bool checked) {
        emit sig_itemVisible(!checked);
        m_shielded->setSelected(checked);
    });

    m_more->setMenu(m_moreMenu);
    m_more->setPopupMode(QToolButton::InstantPopup);
}

MyActionWdg *MyTitleBar::addMenuEntry(const QString &iconPath, bool checkable)
{
    auto *entry = new MyActionWdg(iconPath, QString(), m_moreMenu);
    auto *action = new QWidgetAction(m_moreMenu);
    action->setDefaultWidget(entry);
    action->setCheckable(checkable);
    m_moreMenu->addAction(action);
    // A widget action is not triggered by clicks on its widget; the entry reports them.
    connect(entry, &MyActionWdg::sig_clicked, this, [this, action] {
        action->trigger();
        m_moreMenu->hide();
    });
    return entry;
}

void MyTitleBar::selectFontEntry(MyActionWdg *entry, int size)
{
    emit sig_setFontSize(size);
    for (MyActionWdg *fontEntry : {m_bigFont, m_defaultFont, m_smallFont})
        fontEntry->setSelected(fontEntry == entry);
}

void MyTitleBar::retranslate()
{
    m_home->setText(tr("首页"));
    m_save->setText(tr("保存"));
    m_report->setText(tr("导出"));
    m_rotate->setText(tr("旋转"));
    m_any->setText(tr("任意"));
    m_arrow->setText(tr("指针"));
    m_point->setText(tr("测量点"));
    m_line->setText(tr("直线"));
    m_rect->setText(tr("矩形"));
    m_round->setText(tr("圆形"));
    m_polygon->setText(tr("多边形"));
    m_polygon->setToolTip(tr("单击添加顶点，双击或右键完成"));
    m_allTemp->setText(tr("整帧测温"));
    m_color->setText(tr("颜色"));
    m_lowTemp->setText(tr("低温报警"));
    m_highTemp->setText(tr("高温报警"));
    m_3d->setText(tr("3D热图"));
    m_delete->setText(tr("删除"));
    m_more->setText(tr("更多"));
    m_languageLabel->setText(tr("语言："));
    m_bigFont->setText(tr("大字体"));
    m_defaultFont->setText(tr("默认字体"));
    m_smallFont->setText(tr("小字体"));
    m_shielded->setText(tr("屏蔽区域"));
    showWindowState();
}

void MyTitleBar::setToolSelected(QAbstractButton *button, bool selected)
{
    button->setStyleSheet(selected ? kSelectedStyle : kNormalStyle);
    button->setIcon(QIcon(iconPath(button->property(kIconNameProperty).toString(), selected)));
}

void MyTitleBar::on_drawButtonClick(int btnId)
{
    if (btnId == m_currentDrawTool) {
        QAbstractButton *button = m_drawGroup->button(btnId);
        m_drawGroup->setExclusive(false);
        button->setChecked(false);
        setToolSelected(button, false);
        m_currentDrawTool = DrawNone;
    } else {
        if (QAbstractButton *previous = m_drawGroup->button(m_currentDrawTool))
            setToolSelected(previous, false);
        m_currentDrawTool = btnId;
        setToolSelected(m_drawGroup->button(btnId), true);
    }
    m_drawGroup->setExclusive(true);
    emit sig_drawButtonClick(m_currentDrawTool);
}

void MyTitleBar::on_buttonClick(int btnId)
{
    emit sig_buttonClick(btnId);
}

void MyTitleBar::on_rotateButtonClick(int btnId)
{
    emit sig_rotateButtonClick(btnId);
}

void MyTitleBar::on_btn_allTemp_clicked(bool checked)
{
    setToolSelected(m_allTemp, checked);
    emit sig_allTemp(checked);
}

void MyTitleBar::OnUpdateBtnStatus(int btnId, bool pushed)
{
    if (btnId != ActionLowTemp && btnId != ActionHighTemp)
        return;
    setToolSelected(m_actionGroup->button(btnId), pushed);
}

QList<QWidget *> MyTitleBar::pageDependentWidgets() const
{
    QList<QWidget *> widgets = {m_home, m_save, m_report, m_allTemp, m_more, m_line1, m_line2, m_line3};
    for (QButtonGroup *group : {m_actionGroup, m_drawGroup, m_rotateGroup}) {
        for (QAbstractButton *button : group->buttons())
            widgets << button;
    }
    return widgets;
}

void MyTitleBar::on_btn_homePage_clicked()
{
    m_logo->show();
    for (QWidget *widget : pageDependentWidgets())
        widget->hide();
    emit sig_homePage_clicked();
}

void MyTitleBar::on_showButton()
{
    m_logo->hide();
    for (QWidget *widget : pageDependentWidgets())
        widget->show();
    // Turning by any angle is not made yet: its button stays out of sight.
    m_any->hide();
}

void MyTitleBar::on_btn_reportPage_clicked()
{
    emit sig_reportPage_clicked();
}

void MyTitleBar::onClicked()
{
    QWidget *top = window();
    if (sender() == m_minWindow)
        top->showMinimized();
    else if (sender() == m_closeWindow)
        top->close();
}

void MyTitleBar::toggleMaximised()
{
    QWidget *top = window();
    if (top == this)
        return;
    if (top->isMaximized())
        top->showNormal();
    else
        top->showMaximized();
    showWindowState();
}

void MyTitleBar::showWindowState()
{
    const bool maximised = window() != this && window()->isMaximized();
    m_maxWindow->setIcon(QIcon(maximised ? ":/res/icon/restore-size.svg" : ":/res/icon/max-size.svg"));
    m_maxWindow->setToolTip(maximised ? tr("还原") : tr("最大化"));
}

bool MyTitleBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window() && event->type() == QEvent::WindowStateChange)
        showWindowState();
    return QWidget::eventFilter(watched, event);
}

void MyTitleBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || window() == this) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    m_following = false;
    m_pressAt = event->globalPos();
    m_windowAt = window()->pos();
    event->accept();
}

void MyTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    QWidget *top = window();
    if (!m_following) {
        if ((event->globalPos() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
            return;
        if (top->isMaximized()) {
            // A maximised window is given its normal size under the pointer, which keeps its
            // place across the bar.
            const double across = double(m_pressAt.x() - top->x()) / std::max(1, top->width());
            top->showNormal();
            const QRect normal = top->normalGeometry();
            m_windowAt = QPoint(m_pressAt.x() - int(across * normal.width()), top->y());
            top->move(m_windowAt + event->globalPos() - m_pressAt);
        }
        if (top->windowHandle() && top->windowHandle()->startSystemMove()) {
            m_pressed = false; // the window system moves the window until the button is let go
            return;
        }
        m_following = true;
    }
    top->move(m_windowAt + event->globalPos() - m_pressAt);
}

void MyTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressed = false;
    m_following = false;
    QWidget::mouseReleaseEvent(event);
}

void MyTitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        toggleMaximised();
    event->accept();
}

void MyTitleBar::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
