#include "../pdftext.h"
#include "appsettings.h"
#include "combinedreport.h"
#include "exportfilethread.h"
#include "exporttesthelpers.h"
#include "itemtables.h"
#include "mycheckitemwidget.h"
#include "mygraphicpointitem.h"
#include "mymsgboxdlg.h"
#include "myprogressdlg.h"
#include "outputinfowdg.h"
#include "snapshottables.h"
#include "photogenerator.h"
#include "openedphotos.h"
#include "photostore.h"
#include "snapshotwriter.h"
#include "screenlayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

namespace {

// Every row of the dialog checked, CSV tables chosen.
void checkAllAsCsv(OutputInfoWdg &dialog)
{
    dialog.findChild<QRadioButton *>("radio_csv")->setChecked(true);
    QCheckBox *all = dialog.findChild<QCheckBox *>("checkBox_all");
    all->setChecked(true);
    emit all->released();
}

// The "one report" choice with the rows given checked.
void checkForOneReport(OutputInfoWdg &dialog, const QList<int> &checked)
{
    dialog.refreshPhotoList();
    dialog.findChild<QRadioButton *>("radio_report")->setChecked(true);
    QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
    for (int i : checked)
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i)))->setChecked(true);
}

} // namespace

class TestOutputInfoWdg : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        shellValues().tempImageDir = m_dir.filePath("tmpBmp");
        QDir().mkpath(shellValues().tempImageDir);
        for (const char *name : {"b", "A", "c-2"}) {
            const QString photo = m_dir.filePath(QString(name) + ".jpg");
            PhotoSpec shot;
            shot.width = 16;
            shot.height = 12;
            shot.temperatures.assign(16 * 12, 21.5f);
            writePhoto(photo, shot);
            QCOMPARE(PhotoStore::program().load(photo), 0);
            const QString snapshot = shellValues().tempImageDir + "/" + name + ".bmp";
            QImage(16, 12, QImage::Format_RGB32).save(snapshot);
            snapshotSources()[snapshot] = photo;
        }
    }

    void listAndChecks()
    {
        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        QCOMPARE(list->count(), 3);
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i)))->name();
        QCOMPARE(names, (QStringList{"A", "b", "c-2"})); // by name, ignoring case
        QCOMPARE(list->item(0)->sizeHint(), QSize(shellValues().layout.rowWidth, shellValues().layout.rowHeight));

        QCheckBox *all = dialog.findChild<QCheckBox *>("checkBox_all");
        auto row = [list](int i) { return static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i))); };
        emit list->itemClicked(list->item(0)); // a click on the row toggles its box
        emit list->itemClicked(list->item(1));
        QVERIFY(row(0)->isChecked() && !all->isChecked());
        row(2)->setChecked(true);
        QVERIFY(all->isChecked()); // the last unchecked row checks "select all"
        row(1)->setChecked(false);
        QVERIFY(!all->isChecked());
        all->setChecked(true);
        emit all->released();
        QVERIFY(row(0)->isChecked() && row(1)->isChecked() && row(2)->isChecked());
        QCOMPARE(dialog.checkedSnapshots().size(), 3);
        all->setChecked(false);
        emit all->released();
        QVERIFY(dialog.checkedSnapshots().isEmpty());
        QCOMPARE(dialog.startExport(m_dir.filePath("out")), nullptr);

        // Reopening forgets the checks.
        row(0)->setChecked(true);
        dialog.refreshPhotoList();
        QVERIFY(dialog.checkedSnapshots().isEmpty());
    }

    void listsEveryPhotographOfTheOpenedList()
    {
        // Two photographs of the opened list, never shown: no snapshot yet; one is measured.
        QStringList opened;
        for (const char *name : {"never1", "never2"}) {
            opened << m_dir.filePath(QString(name) + ".jpg");
            PhotoSpec shot;
            shot.width = 16;
            shot.height = 12;
            for (int i = 0; i < 16 * 12; ++i)
                shot.temperatures.push_back(20.0f + 0.1f * float(i));
            writePhoto(opened.last(), shot);
        }
        loadedPhotoPaths() = opened;
        QCOMPARE(PhotoStore::program().load(opened[1]), 0);
        auto point = std::make_shared<MyGraphicPointItem>();
        point->setName("P1");
        point->setMappingContext(QRectF(0, 0, 160, 120));
        point->setPoint(QPointF(55, 35));
        point->computeStatistics(QPointF(0, 0), opened[1]);
        itemTables()[opened[1]]["P1"] = point;

        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        auto row = [list](int i) { return static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i))); };
        QCOMPARE(list->count(), 2 + 3); // the opened list first, then this run's other snapshots
        QCOMPARE(row(0)->name(), QString("never1"));
        QCOMPARE(row(1)->name(), QString("never2"));
        QVERIFY(row(0)->mark().isEmpty());
        QCOMPARE(row(1)->mark(), QString::fromUtf8("1 处测温")); // marked, the name left whole
        row(0)->setChecked(true);
        row(1)->setChecked(true);
        dialog.findChild<QRadioButton *>("radio_csv")->setChecked(true);
        ExportFileThread *job = dialog.startExport(m_dir.filePath("opened"));
        QVERIFY(job);
        QVERIFY(job->wait(30000));
        QCOMPARE(QDir(job->exportFolder()).entryList(QDir::Files), (QStringList{"never1.csv", "never2.csv"}));
        // Each got a snapshot drawn off screen at its own size (its colour scale beside it), the
        // unloaded one loaded first.
        const QSize drawn = withColourScale(QImage(16, 12, QImage::Format_RGB32), PhotoRecord(), Palette()).size();
        for (const QString &photo : opened) {
            const QString snapshot = snapshotSources().key(photo);
            QVERIFY2(!snapshot.isEmpty(), qPrintable(photo));
            QCOMPARE(QImage(snapshot).size(), drawn);
        }
        MessageBoxCloser closer;
        QTRY_VERIFY_WITH_TIMEOUT(!closer.texts.isEmpty(), 5000);
        auto readAll = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray plain = readAll(job->exportFolder() + "/never1.csv");

        // The Excel choice: the same tables with a byte-order mark.
        dialog.show();
        dialog.findChild<QRadioButton *>("radio_excel")->setChecked(true);
        ExportFileThread *excel = dialog.startExport(m_dir.filePath("excel"));
        QVERIFY(excel);
        QVERIFY(excel->wait(30000));
        QCOMPARE(readAll(excel->exportFolder() + "/never1.csv"), QByteArray("\xEF\xBB\xBF") + plain);
        QTRY_VERIFY_WITH_TIMEOUT(closer.texts.size() >= 2, 5000);
        loadedPhotoPaths().clear();
        itemTables().remove(opened[1]);
        for (const QString &photo : opened) {
            const QString snapshot = snapshotSources().key(photo);
            snapshotSources().remove(snapshot);
            QVERIFY(QFile::remove(snapshot));
            QVERIFY(!QFile::exists(snapshot));
        }
    }

    void exportsTheCheckedRows()
    {
        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        dialog.findChild<QRadioButton *>("radio_csv")->setChecked(true);
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(0)))->setChecked(true);
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(2)))->setChecked(true);
        ExportFileThread *job = dialog.startExport(m_dir.filePath("out"));
        QVERIFY(job);
        QVERIFY(job->wait(30000));
        QCOMPARE(QDir(job->exportFolder()).entryList(QDir::Files), (QStringList{"A.csv", "c-2.csv"}));
        QTRY_COMPARE(dialog.progressDialog()->value(), 100);
        QVERIFY(!dialog.isVisible());
        // The closing message says where the files went.
        MessageBoxCloser closer;
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts, QStringList{QString::fromUtf8("导出成功！文件保存在：%1").arg(job->exportFolder())},
                                  5000);
        QVERIFY(!dialog.progressDialog()->isVisible());
    }

    void oneReportOfTheCheckedPhotographs()
    {
        OutputInfoWdg dialog;
        QWidget *options = dialog.findChild<QWidget *>("widget_report");
        QVERIFY(options->isHidden());
        checkForOneReport(dialog, {0, 2});
        QVERIFY(!options->isHidden());
        QCOMPARE(dialog.findChild<QComboBox *>("combo_format")->currentData().toInt(), int(ReportFormat::Pdf));
        // The site is the name of the photographs' folder until the user writes one.
        QLineEdit *site = dialog.findChild<QLineEdit *>("edit_site");
        QCOMPARE(site->text(), QFileInfo(m_dir.path()).fileName());
        site->clear();
        QTest::keyClicks(site, "Dach Nord 7");
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(1)))->setChecked(true);
        static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(1)))->setChecked(false);
        QCOMPARE(site->text(), QString("Dach Nord 7"));

        const QString path = m_dir.filePath("site report.pdf");
        const QMap<QString, QString> snapshots = snapshotSources();
        MessageBoxCloser closer;
        QVERIFY(dialog.writeReport(path));
        // The photographs keep their snapshots of this run.
        QCOMPARE(snapshotSources(), snapshots);
        QCOMPARE(closer.texts, QStringList{QString::fromUtf8("报告已保存：%1").arg(path)});
        QVERIFY(!dialog.progressDialog()->isVisible());
        const QString text = pdfText(path);
        QVERIFY2(text.contains("Dach Nord 7"), qPrintable(text.left(400)));
        // One summary row per checked photograph, none for the other.
        const QStringList lines = text.split('\n');
        for (const char *name : {"A.jpg", "c-2.jpg"}) {
            const QRegularExpression row("^\\s*" + QRegularExpression::escape(name) + "\\s");
            QCOMPARE(lines.filter(row).size(), 1);
        }
        QVERIFY(lines.filter(QRegularExpression("^\\s*b\\.jpg\\s")).isEmpty());

        // The Word choice writes a Word document.
        QComboBox *format = dialog.findChild<QComboBox *>("combo_format");
        format->setCurrentIndex(format->findData(int(ReportFormat::Word)));
        const QString docx = m_dir.filePath("site report.docx");
        QVERIFY2(dialog.writeReport(docx), qPrintable(closer.texts.join(" / ")));
        QuaZip zip(docx);
        QVERIFY(zip.open(QuaZip::mdUnzip));
        QVERIFY(zip.setCurrentFile("word/document.xml"));
        QuaZipFile body(&zip);
        QVERIFY(body.open(QIODevice::ReadOnly));
        const QByteArray xml = body.readAll();
        QVERIFY(xml.contains("Dach Nord 7"));
        QVERIFY(xml.contains("c-2.jpg") && !xml.contains(">b.jpg<"));
    }

    void enterInTheSiteFieldExports()
    {
        OutputInfoWdg dialog;
        checkForOneReport(dialog, {});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        MessageBoxCloser closer;
        QTest::keyClick(dialog.findChild<QLineEdit *>("edit_site"), Qt::Key_Return);
        // Nothing checked: the export says so, and the dialog stays.
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts, QStringList{QString::fromUtf8("请选择导出图片")}, 5000);
        QVERIFY(dialog.isVisible());
    }

    void oneReportAsksBeforeReplacingAndCancelLeavesNothing()
    {
        OutputInfoWdg dialog;
        checkForOneReport(dialog, {0, 1, 2});
        const QString existing = m_dir.filePath("existing.pdf");
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("before");
        file.close();
        {
            // "No" to replacing it: the file stays as it was.
            QStringList asked;
            QTimer refuse;
            connect(&refuse, &QTimer::timeout, &refuse, [&asked] {
                if (auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget())) {
                    asked << box->findChild<QLabel *>("lab_text")->text();
                    box->findChild<QPushButton *>("btn_cancel")->click();
                }
            });
            refuse.start(20);
            QVERIFY(!dialog.writeReport(existing));
            QCOMPARE(asked.size(), 1);
            QVERIFY(asked.first().endsWith(existing));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("before"));
            file.close();
        }

        // Cancelled while the pages are written (past the first half of the steps): nothing is left.
        const QString path = m_dir.filePath("cancelled.pdf");
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, &cancel, [&dialog] {
            MyProgressDlg *progress = dialog.progressDialog();
            if (progress && progress->isVisible() && progress->value() > 50 && progress->value() < 100)
                progress->findChild<QPushButton *>("btn_cancel")->click();
        });
        cancel.start(0);
        MessageBoxCloser closer;
        QVERIFY(!dialog.writeReport(path));
        QVERIFY(dialog.progressDialog()->cancelRequested());
        QCOMPARE(closer.texts, QStringList{QString::fromUtf8("报告已取消")});
        QCOMPARE(QDir(m_dir.path()).entryList({"cancelled*"}), QStringList());
        QVERIFY(!dialog.exportRunning());
    }

    void jobNamesEachPhotographBeforeWritingIt()
    {
        const QStringList snapshots{shellValues().tempImageDir + "/A.bmp", shellValues().tempImageDir + "/b.bmp",
                                    shellValues().tempImageDir + "/c-2.bmp"};
        ExportFileThread job(m_dir.filePath("named"), snapshots, ExportFileThread::CsvTables);
        QStringList events;
        connect(&job, &ExportFileThread::OnExportPhoto, &job,
                [&events](int index, int total, const QString &name) {
                    events << QString("photo %1/%2 %3").arg(index).arg(total).arg(name);
                },
                Qt::DirectConnection);
        connect(&job, &ExportFileThread::OnUpdateExportProgress, &job,
                [&events](int percent) { events << QString("progress %1").arg(percent); }, Qt::DirectConnection);
        job.start();
        QVERIFY(job.wait(30000));
        QCOMPARE(events, (QStringList{"photo 1/3 A.jpg", "progress 33", "photo 2/3 b.jpg", "progress 66",
                                      "photo 3/3 c-2.jpg", "progress 100"}));
    }

    void failedPhotographsReachTheClosingMessage()
    {
        // A snapshot whose photograph is gone.
        const QString gone = m_dir.filePath("gone.jpg");
        const QString snapshot = shellValues().tempImageDir + "/gone.bmp";
        QVERIFY(QImage(16, 12, QImage::Format_RGB32).save(snapshot));
        snapshotSources()[snapshot] = gone;
        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        checkAllAsCsv(dialog);
        QStringList details;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&details] {
            if (auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget())) {
                auto *field = box->findChild<QPlainTextEdit *>("text_details");
                details << (field ? field->toPlainText() : QString("(none)"));
                box->findChild<QPushButton *>("btn_confirm")->click();
            }
        });
        poll.start(20);
        ExportFileThread *job = dialog.startExport(m_dir.filePath("failing"));
        QVERIFY(job);
        QVERIFY(job->wait(30000));
        QTRY_COMPARE_WITH_TIMEOUT(details.size(), 1, 5000);
        QCOMPARE(job->failures().size(), 1);
        QCOMPARE(details.first(), QString("gone.jpg: ") + job->failures().first().reason);
        snapshotSources().remove(snapshot);
        QVERIFY(QFile::remove(snapshot));
    }

    void listsEveryPhotographOfTheHomeFolder()
    {
        // A folder of three photographs, one of them the opened list; two never opened.
        const QString home = m_dir.filePath("home");
        QVERIFY(QDir().mkpath(home));
        QStringList photos;
        for (const char *name : {"IR_0001", "IR_0002", "IR_0003"}) {
            photos << home + "/" + name + ".jpg";
            PhotoSpec shot;
            shot.width = 16;
            shot.height = 12;
            shot.temperatures.assign(16 * 12, 25.0f);
            writePhoto(photos.last(), shot);
        }
        QVERIFY(QImage(4, 4, QImage::Format_RGB32).save(home + "/notes.png")); // not a photograph
        loadedPhotoPaths() = QStringList{photos[1]};

        OutputInfoWdg dialog;
        QCheckBox *folder = dialog.findChild<QCheckBox *>("checkBox_folder");
        QVERIFY(folder);
        QVERIFY(folder->isHidden()); // no folder handed over: no choice
        dialog.setHomeFolder(home);
        QVERIFY(!folder->isHidden());
        QVERIFY(folder->toolTip().endsWith(home));
        dialog.refreshPhotoList();
        QListWidget *list = dialog.findChild<QListWidget *>("listWidget");
        auto names = [list] {
            QStringList out;
            for (int i = 0; i < list->count(); ++i)
                out << static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i)))->name();
            return out;
        };
        QCOMPARE(names().mid(0, 1), QStringList{"IR_0002"});
        QVERIFY(!names().contains("IR_0001"));
        folder->setChecked(true); // lists the folder at once
        QCOMPARE(names().mid(0, 3), (QStringList{"IR_0002", "IR_0001", "IR_0003"}));
        QCOMPARE(list->count(), 3 + 3); // and still this run's other snapshots

        auto row = [list](int i) { return static_cast<MyCheckItemWidget *>(list->itemWidget(list->item(i))); };
        row(1)->setChecked(true);
        row(2)->setChecked(true);
        dialog.findChild<QRadioButton *>("radio_csv")->setChecked(true);
        MessageBoxCloser closer;
        ExportFileThread *job = dialog.startExport(m_dir.filePath("folder-out"));
        QVERIFY(job);
        QVERIFY(job->wait(30000));
        QVERIFY(job->failures().isEmpty());
        const QStringList written = QDir(job->exportFolder()).entryList(QDir::Files);
        QCOMPARE(written.size(), 2);
        // Each never-opened photograph got a snapshot drawn off screen and its table.
        for (const QString &photo : {photos[0], photos[2]}) {
            const QString snapshot = snapshotSources().key(photo);
            QVERIFY2(!snapshot.isEmpty(), qPrintable(photo));
            QCOMPARE(QImage(snapshot).size(), withColourScale(QImage(16, 12, QImage::Format_RGB32), PhotoRecord(), Palette()).size());
            QFile csv(job->exportFolder() + "/" + QFileInfo(snapshot).baseName() + ".csv");
            QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(csv.fileName()));
            QVERIFY(csv.readAll().contains("25"));
        }
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 1, 5000);

        // The home page shows no single folder any more: the choice goes.
        dialog.setHomeFolder(QString());
        QVERIFY(folder->isHidden());
        QVERIFY(!folder->isChecked());
        loadedPhotoPaths().clear();
        for (const QString &photo : {photos[0], photos[2]}) {
            const QString snapshot = snapshotSources().key(photo);
            snapshotSources().remove(snapshot);
            QFile::remove(snapshot);
        }
    }

    void exportFolderDialogStartsOnAFolderThatExists()
    {
        AppSettings::instance().load();
        const auto forget = qScopeGuard([] { QFile::remove(AppSettings::configPath()); });
        AppSettings::instance().removeKeyInGroup("Export", "LastFolder");
        const QString photographs = m_dir.filePath("start-photos");
        const QString last = m_dir.filePath("start-last");
        QVERIFY(QDir().mkpath(photographs));
        QVERIFY(QDir().mkpath(last));
        loadedPhotoPaths() = QStringList{photographs + "/IR_0001.jpg"};
        const auto unload = qScopeGuard([] { loadedPhotoPaths().clear(); });

        OutputInfoWdg dialog;
        QCOMPARE(dialog.exportStartFolder(), photographs); // the opened list's folder
        dialog.setHomeFolder(last);
        QCOMPARE(dialog.exportStartFolder(), last); // the home page's folder
        dialog.setHomeFolder(QString());
        AppSettings::instance().writeValue("Export", "LastFolder", last);
        QCOMPARE(dialog.exportStartFolder(), last); // the last export's folder first
        QVERIFY(QDir(last).removeRecursively());
        QCOMPARE(dialog.exportStartFolder(), photographs); // it is gone: the photographs' folder
        QVERIFY(QDir(photographs).removeRecursively());
        QCOMPARE(dialog.exportStartFolder(), QDir::homePath()); // nothing left but home
    }

    void escapeCancelsTheJob()
    {
        // Many large tables, so that the job is still running when Esc comes.
        const QString photo = m_dir.filePath("big.jpg");
        PhotoSpec shot;
        shot.temperatures.assign(size_t(shot.width) * shot.height, 30.5f);
        writePhoto(photo, shot);
        QCOMPARE(PhotoStore::program().load(photo), 0);
        const int extra = 300;
        for (int i = 0; i < extra; ++i) {
            const QString snapshot = shellValues().tempImageDir + QString("/big-%1.bmp").arg(i);
            QImage(16, 12, QImage::Format_RGB32).save(snapshot);
            snapshotSources()[snapshot] = photo;
        }
        OutputInfoWdg dialog;
        dialog.refreshPhotoList();
        checkAllAsCsv(dialog);
        const int total = dialog.checkedSnapshots().size();
        QCOMPARE(total, extra + 3);
        ExportFileThread *job = dialog.startExport(m_dir.filePath("cancelled"));
        QVERIFY(job);
        MyProgressDlg *progress = dialog.progressDialog();
        QTRY_VERIFY(progress->value() > 0);
        QVERIFY(job->isRunning());
        QTest::keyClick(progress, Qt::Key_Escape);
        // Until the job has ended the dialog (and the mask under it) stays.
        QVERIFY(progress->isVisible());
        MessageBoxCloser closer;
        QVERIFY(job->wait(60000));
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 1, 5000);
        const int written = QDir(job->exportFolder()).entryList({"*.csv"}, QDir::Files).size();
        QVERIFY2(written < total, qPrintable(QString::number(written)));
        QCOMPARE(closer.texts.first(), QString::fromUtf8("导出已取消，已写入 %1 个文件，保存在：%2")
                                           .arg(QString::number(written), job->exportFolder()));
        QVERIFY(!progress->isVisible());
    }
};

QTEST_MAIN(TestOutputInfoWdg)
#include "tst_outputinfowdg.moc"
