#pragma once

#include "mymsgboxdlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <csignal>

// Files of this process may grow no larger than the limit while it lives: writes beyond
// it fail as they do on a full disk, also for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved;
};

// Confirms every message box that shows up while it lives and keeps their texts. It polls
// with a timer, so it also runs inside the modal loop of the box.
class MessageBoxCloser : public QObject
{
public:
    MessageBoxCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<MyMsgBoxDlg *>(QApplication::activeModalWidget())) {
                texts << box->findChild<QLabel *>("lab_text")->text();
                box->findChild<QPushButton *>("btn_confirm")->click();
            }
        });
        m_timer.start(20);
    }
    QStringList texts;

private:
    QTimer m_timer;
};
