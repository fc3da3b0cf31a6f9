#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Whole-process runs for the benchmarks of the qct command.

// The qct program beside the benchmark; empty, and said on standard error, when it is not built.
inline QByteArray qctProgram()
{
    const QByteArray qct = QFile::encodeName(QCoreApplication::applicationDirPath() + "/qct");
    if (QFileInfo(QFile::decodeName(qct)).isExecutable())
        return qct;
    std::fprintf(stderr, "%s not found: build the qct target\n", qct.constData());
    return QByteArray();
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct ProcessRun
{
    double seconds;
    double peakMiB; // the child's resident peak (wait4's ru_maxrss)
};

// Runs program with the arguments, its standard output into stdoutFile; stops the benchmark
// when it fails.
inline ProcessRun runProcess(const QByteArray &program, const QStringList &arguments,
                             const char *stdoutFile = "/dev/null")
{
    std::vector<QByteArray> bytes{program};
    for (const QString &argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(stdoutFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    const bool waited = child > 0 && ::wait4(child, &status, 0, &usage) == child;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", program.constData(), status);
        std::exit(1);
    }
    return {seconds, usage.ru_maxrss / 1024.0};
}
