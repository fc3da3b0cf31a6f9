#pragma once

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QWidgetAction;
class MyActionWdg;

// The title bar doubles as the tool bar: window buttons, navigation, measurement tools,
// the "more" menu and the language switch.
class MyTitleBar : public QWidget
{
    Q_OBJECT
public:
    // Ids of the buttons in the three groups, as the analysis page receives them.
    enum ToolId {
        RotateQuarter = 0,
        RotateAny = 1,
        DrawNone = 0,
        DrawPoint = 2,
        DrawLine = 3,
        DrawRect = 4,
        DrawRound = 5,
        DrawPolygon = 6,
        ActionDelete = 7,
        DrawPointer = 8,
        ActionLowTemp = 9,
        ActionHighTemp = 10,
        ActionColor = 12,
        Action3d = 16,
    };
    enum FontSize { FontSmall = 2, FontDefault = 4, FontLarge = 6 };

    explicit MyTitleBar(QWidget *parent = nullptr);

    int currentDrawTool() const { return m_currentDrawTool; }
    QMenu *moreMenu() const { return m_moreMenu; }
    void retranslate();
    // Maximises the window, or gives it back its normal size when it is maximised.
    void toggleMaximised();

signals:
    void sig_homePage_clicked();
    void sig_reportPage_clicked();
    void sig_drawButtonClick(int btnId);
    void sig_buttonClick(int btnId);
    void sig_rotateButtonClick(int btnId);
    void sig_setFontSize(int size);
    void sig_saveBmp();
    void sig_cmbSelLangChanged(QString langName);
    void sig_allTemp(bool checked);
    void sig_itemVisible(bool flag);

public slots:
    void on_showButton();
    void OnUpdateBtnStatus(int btnId, bool pushed);
    void onClicked();
    void on_buttonClick(int btnId);
    void on_drawButtonClick(int btnId);
    void on_rotateButtonClick(int btnId);
    void on_btn_homePage_clicked();
    void on_btn_reportPage_clicked();
    void on_btn_allTemp_clicked(bool checked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QToolButton *addToolButton(const char *objectName, const QString &iconName, int column);
    QFrame *addSeparator(const char *objectName, int column);
    void buildMoreMenu();
    MyActionWdg *addMenuEntry(const QString &iconPath, bool checkable);
    void selectFontEntry(MyActionWdg *entry, int size);
    void setToolSelected(QAbstractButton *button, bool selected);
    QList<QWidget *> pageDependentWidgets() const;
    void showWindowState();

    QLabel *m_logo;
    QToolButton *m_home;
    QPushButton *m_save;
    QToolButton *m_report;
    QToolButton *m_rotate;
    QToolButton *m_any;
    QToolButton *m_arrow;
    QToolButton *m_point;
    QToolButton *m_line;
    QToolButton *m_rect;
    QToolButton *m_round;
    QToolButton *m_polygon;
    QToolButton *m_allTemp;
    QToolButton *m_color;
    QToolButton *m_lowTemp;
    QToolButton *m_highTemp;
    QToolButton *m_3d;
    QToolButton *m_delete;
    QToolButton *m_more;
    QFrame *m_line1;
    QFrame *m_line2;
    QFrame *m_line3;
    QLabel *m_languageLabel;
    QComboBox *m_language;
    QToolButton *m_minWindow;
    QToolButton *m_maxWindow;
    QToolButton *m_closeWindow;

    QButtonGroup *m_actionGroup;
    QButtonGroup *m_drawGroup;
    QButtonGroup *m_rotateGroup;
    int m_currentDrawTool = DrawNone;

    QMenu *m_moreMenu;
    MyActionWdg *m_bigFont = nullptr;
    MyActionWdg *m_defaultFont = nullptr;
    MyActionWdg *m_smallFont = nullptr;
    MyActionWdg *m_shielded = nullptr;

    // A drag on the bar moves the window: the window system's move when it offers one, else
    // the window follows the pointer.
    bool m_pressed = false;
    bool m_following = false;
    QPoint m_pressAt; // global
    QPoint m_windowAt; // the window's position at the press
};
