#include "exporttesthelpers.h"
#include "mymsgboxdlg.h"
#include "myprogressdlg.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QUrl>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void progressNeverGoesBack()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        QCOMPARE(dialog.value(), 0);
        QCOMPARE(dialog.findChild<QLabel *>("lab_value")->text(), QString("0%"));
        QCOMPARE(dialog.message(), QString("Exporting"));
        dialog.OnUpdateProgress(33);
        QCOMPARE(dialog.value(), 33);
        QCOMPARE(dialog.findChild<QLabel *>("lab_value")->text(), QString("33%"));
        dialog.OnUpdateProgress(20);
        QCOMPARE(dialog.value(), 33);
        QCOMPARE(dialog.findChild<QLabel *>("lab_value")->text(), QString("33%"));
        // The import sets values directly, backwards too.
        dialog.setProgressValue(10);
        QCOMPARE(dialog.value(), 10);
        QCOMPARE(dialog.findChild<QLabel *>("lab_value")->text(), QString("10%"));
    }

    void cancelling()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        QSignalSpy cancelled(&dialog, &MyProgressDlg::OnCancelExport);
        dialog.show();
        dialog.OnUpdateProgress(50);
        dialog.findChild<QPushButton *>("btn_cancel")->click();
        QCOMPARE(cancelled.count(), 1);
        QVERIFY(!dialog.isVisible());

        dialog.setCancelVisible(false);
        QVERIFY(dialog.findChild<QPushButton *>("btn_cancel")->isHidden());
    }

    void escapeAndCloseButtonMeanCancel()
    {
        {
            MyProgressDlg dialog("Exporting", 0, 100);
            QSignalSpy cancelled(&dialog, &MyProgressDlg::OnCancelExport);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.OnUpdateProgress(50);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(cancelled.count(), 1);
            QVERIFY(!dialog.isVisible());
        }
        {
            MyProgressDlg dialog("Exporting", 0, 100);
            QSignalSpy cancelled(&dialog, &MyProgressDlg::OnCancelExport);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            dialog.OnUpdateProgress(50);
            dialog.windowHandle()->close(); // what the window's close button does
            QCOMPARE(cancelled.count(), 1);
            QVERIFY(!dialog.isVisible());
        }
        {
            // Without a cancel button (the import) there is nothing to cancel: Esc does nothing.
            MyProgressDlg dialog("Importing", 0, 100);
            dialog.setCancelVisible(false);
            QSignalSpy cancelled(&dialog, &MyProgressDlg::OnCancelExport);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(cancelled.count(), 0);
            QVERIFY(dialog.isVisible());
        }
    }

    void followedJobCancelStaysUntilTheEnd()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        dialog.setFollowsJob(true);
        QSignalSpy cancelled(&dialog, &MyProgressDlg::OnCancelExport);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.OnUpdateProgress(20);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(cancelled.count(), 1);
        QVERIFY(dialog.isVisible()); // the job has not ended yet
        QVERIFY(dialog.cancelRequested());
        dialog.windowHandle()->close();
        dialog.findChild<QPushButton *>("btn_cancel")->click();
        QCOMPARE(cancelled.count(), 1); // asked once
        QVERIFY(dialog.isVisible());
        dialog.OnUpdateProgress(40);
        dialog.setOutcome(2, 2);
        MessageBoxCloser closer;
        // A folder with a place marker stays as it is.
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.jobEnded("/out/vexlo%1"); });
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts,
                                  QStringList{QString::fromUtf8("导出已取消，已写入 2 个文件，保存在：/out/vexlo%1")}, 3000);
        QVERIFY(!dialog.isVisible());
    }

    void followedJobNamesTheFolder()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        dialog.setFollowsJob(true);
        dialog.show();
        MessageBoxCloser closer;
        dialog.OnUpdateProgress(100);
        dialog.setOutcome(3, 3);
        QTest::qWait(1300);
        // The second has passed, but the job has not ended: no message yet.
        QVERIFY(closer.texts.isEmpty());
        QVERIFY(dialog.isVisible());
        dialog.jobEnded("/out/a b");
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts, QStringList{QString::fromUtf8("导出成功！文件保存在：/out/a b")}, 3000);

        MyProgressDlg partly("Exporting", 0, 100);
        partly.setFollowsJob(true);
        partly.show();
        partly.OnUpdateProgress(100);
        partly.setOutcome(1, 3);
        partly.jobEnded("/out/%2");
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 2, 3000);
        QCOMPARE(closer.texts.last(), QString::fromUtf8("已导出 1 张图片，共 3 张，保存在：/out/%2"));

        // Dismissed (the program quits): what the job still reports shows nothing.
        MyProgressDlg dismissed("Exporting", 0, 100);
        dismissed.setFollowsJob(true);
        dismissed.show();
        dismissed.OnUpdateProgress(100);
        dismissed.dismiss();
        QVERIFY(!dismissed.isVisible());
        dismissed.setOutcome(1, 1);
        dismissed.jobEnded("/out");
        QTest::qWait(1300);
        QCOMPARE(closer.texts.size(), 2);
    }

    void completionAfterOneSecond()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        QSignalSpy cancelled(&dialog, &MyProgressDlg::OnCancelExport);
        dialog.show();
        QElapsedTimer clock;
        clock.start();
        dialog.OnUpdateProgress(100);
        QCOMPARE(dialog.value(), 100);
        QCOMPARE(dialog.message(), QString::fromUtf8("导出完成!"));
        // Cancel at 100 neither cancels nor closes.
        dialog.findChild<QPushButton *>("btn_cancel")->click();
        QCOMPARE(cancelled.count(), 0);
        QVERIFY(dialog.isVisible());
        dialog.OnUpdateProgress(100); // a repeated 100 does not restart the second
        MessageBoxCloser closer;
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 3000);
        QVERIFY(clock.elapsed() >= 990);
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts, QStringList{QString::fromUtf8("导出成功！")}, 3000);
        dialog.OnUpdateProgress(100); // after completion: nothing more happens
        QTest::qWait(1200);
        QCOMPARE(closer.texts.size(), 1);
    }

    void partlyFailedExportSaysSo()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        dialog.show();
        dialog.OnUpdateProgress(100);
        dialog.setOutcome(1, 3);
        {
            MessageBoxCloser closer;
            QTRY_COMPARE_WITH_TIMEOUT(closer.texts, QStringList{QString::fromUtf8("已导出 1 张图片，共 3 张")}, 3000);
        }

        MyProgressDlg failing("Exporting", 0, 100);
        failing.show();
        MessageBoxCloser reasons;
        QTimer::singleShot(0, &failing, [&failing] { failing.showFailure("no template"); });
        QTRY_COMPARE_WITH_TIMEOUT(reasons.texts, QStringList{"no template"}, 3000);
        QVERIFY(!failing.isVisible());
    }

    void messageBoxButtons()
    {
        const QPixmap icon(":/res/icon/warning.svg");
        const struct
        {
            int mode;
            bool cancel;
            bool confirm;
        } modes[] = {{0, true, true}, {1, false, true}, {2, true, false}, {3, false, false}, {7, true, true}};
        for (const auto &m : modes) {
            MyMsgBoxDlg box("Info", icon, "text", m.mode);
            QCOMPARE(!box.findChild<QPushButton *>("btn_cancel")->isHidden(), m.cancel);
            QCOMPARE(!box.findChild<QPushButton *>("btn_confirm")->isHidden(), m.confirm);
        }
        MyMsgBoxDlg box("Info", icon, "Temperature threshold required.", 0);
        QCOMPARE(box.findChild<QLabel *>("lab_title")->text(), QString("Info"));
        QCOMPARE(box.findChild<QLabel *>("lab_text")->text(), QString("Temperature threshold required."));
        QTimer::singleShot(0, &box, [&box] { box.findChild<QPushButton *>("btn_confirm")->click(); });
        QCOMPARE(box.exec(), 1);
        QTimer::singleShot(0, &box, [&box] { box.findChild<QPushButton *>("btn_cancel")->click(); });
        QCOMPARE(box.exec(), 0);
    }

    void messageBoxDrags()
    {
        MyMsgBoxDlg box("Info", QPixmap(), "text", 1);
        box.move(100, 100);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QPoint start = box.pos();
        QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), box.mapToGlobal(QPoint(20, 20)) + QPoint(30, 40),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &move);
        QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(box.pos(), start + QPoint(30, 40));
    }

    void progressNamesEachPhotograph()
    {
        MyProgressDlg dialog("Exporting", 0, 100);
        dialog.setFollowsJob(true);
        dialog.show();
        dialog.showPhoto(2, 400, "IR_0002.jpg");
        QCOMPARE(dialog.message(), QString::fromUtf8("IR_0002.jpg — 2 / 400"));
        // A name that looks like markup or holds arg() markers shows as it is.
        const QString odd = "<b>%1</b>.jpg";
        dialog.showPhoto(3, 400, odd);
        QCOMPARE(dialog.message(), QString::fromUtf8("<b>%1</b>.jpg — 3 / 400"));
        QCOMPARE(dialog.findChild<QLabel *>("lab_msg")->textFormat(), Qt::PlainText);
        // A very long name is shortened and does not widen the dialog.
        const int width = dialog.width();
        dialog.showPhoto(4, 400, QString(400, 'x') + ".jpg");
        QVERIFY(dialog.message().endsWith(QString::fromUtf8(" — 4 / 400")));
        QVERIFY(dialog.message().contains(QChar(0x2026)));
        QCOMPARE(dialog.width(), width);
        // Once cancelling, the message says so and stays.
        dialog.OnUpdateProgress(10);
        dialog.findChild<QPushButton *>("btn_cancel")->click();
        const QString cancelling = dialog.message();
        dialog.showPhoto(5, 400, "IR_0005.jpg");
        QCOMPARE(dialog.message(), cancelling);
    }

    void closingMessageListsFailuresAndOpensTheFolder()
    {
        QList<QUrl> opened;
        const auto saved = MyMsgBoxDlg::openUrlHook();
        MyMsgBoxDlg::openUrlHook() = [&opened](const QUrl &url) {
            opened << url;
            return true;
        };
        QStringList failures;
        for (int i = 0; i < 40; ++i)
            failures << QString::fromUtf8("IR_%1.jpg: 无法读取照片：/photos/IR_%1.jpg").arg(i, 4, 10, QChar('0'));
        MyProgressDlg dialog("Exporting", 0, 100);
        dialog.setFollowsJob(true);
        dialog.show();
        dialog.OnUpdateProgress(100);
        dialog.setSummary("/out/vexlo 1", failures);
        dialog.setOutcome(60, 100);
        QString details, text;
        QSize size;
        bool clicked = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&] {
            auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget());
            if (!box || clicked)
                return;
            text = box->findChild<QLabel *>("lab_text")->text();
            auto *field = box->findChild<QPlainTextEdit *>("text_details");
            details = field ? field->toPlainText() : QString();
            size = box->size();
            const QString png = qEnvironmentVariable("QCT_SCREENSHOT_DIR");
            if (!png.isEmpty())
                box->grab().save(png + "/failures.png");
            auto *open = box->findChild<QPushButton *>("btn_openFolder");
            QVERIFY(open);
            QCOMPARE(open->text(), QString::fromUtf8("打开文件夹"));
            QVERIFY(!open->isHidden());
            QVERIFY(box->rect().contains(open->geometry()));
            clicked = true;
            open->click(); // opens and closes the box
        });
        poll.start(20);
        dialog.jobEnded("/out/vexlo 1");
        QTRY_VERIFY_WITH_TIMEOUT(clicked, 4000);
        QTRY_VERIFY(!QApplication::activeModalWidget());
        MyMsgBoxDlg::openUrlHook() = saved;
        QCOMPARE(text, QString::fromUtf8("已导出 60 张图片，共 100 张，保存在：/out/vexlo 1"));
        QCOMPARE(details, failures.join('\n'));
        QVERIFY(size.height() > 210); // room for the list, which scrolls
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile("/out/vexlo 1")});
    }

    void openFolderFailureIsSaid()
    {
        const auto saved = MyMsgBoxDlg::openUrlHook();
        int calls = 0;
        MyMsgBoxDlg::openUrlHook() = [&calls](const QUrl &) {
            ++calls;
            return false;
        };
        MyMsgBoxDlg box("Title", QPixmap(), "Done", MyMsgBoxDlg::ConfirmOnly);
        box.setOpenFolder("/nowhere");
        box.show();
        auto *open = box.findChild<QPushButton *>("btn_openFolder");
        open->click();
        MyMsgBoxDlg::openUrlHook() = saved;
        QCOMPARE(calls, 1);
        QVERIFY(box.isVisible()); // it stays, saying the folder did not open
        QVERIFY(!open->isEnabled());
        QCOMPARE(open->text(), QString::fromUtf8("无法打开文件夹"));
        // Without failures the box keeps its size; the buttons do not overlap.
        QCOMPARE(box.size(), QSize(420, 210));
        QVERIFY(!open->geometry().intersects(box.findChild<QPushButton *>("btn_confirm")->geometry()));
    }

    void messageTextIsNeverMarkup()
    {
        MyMsgBoxDlg box("Title", QPixmap(), QString::fromUtf8("保存在：/out/<i>x</i>"), MyMsgBoxDlg::ConfirmOnly);
        QCOMPARE(box.findChild<QLabel *>("lab_text")->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
