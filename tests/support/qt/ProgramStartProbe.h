// Starts a built program and waits, within a bound, for the line on its error stream that says it is
// up; then notes how long that took and the program's peak memory, and ends it. The process tests
// use it to show that a start is not held up or bloated by a damaged file.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

struct ProgramStartProbe {
    bool up = false;        // the line came within the bound
    qint64 tookMs = 0;      // from the start of the process to the line
    qint64 peakKb = -1;     // the program's peak resident memory when the line came (VmHWM)
    QByteArray said;        // its error stream until it was ended

    static ProgramStartProbe Run(const QString& program, const QProcessEnvironment& env, const QByteArray& line,
                                 int boundMs = 30000)
    {
        return Run(program, env, QList<QByteArray>{line}, boundMs);
    }

    // Up once every one of the lines has come, in any order.
    static ProgramStartProbe Run(const QString& program, const QProcessEnvironment& env,
                                 const QList<QByteArray>& lines, int boundMs = 30000)
    {
        const auto allSaid = [&lines](const QByteArray& said) {
            for (const QByteArray& line : lines)
                if (!said.contains(line)) return false;
            return true;
        };
        ProgramStartProbe probe;
        QProcess process;
        process.setProcessEnvironment(env);
        process.setReadChannel(QProcess::StandardError);
        QElapsedTimer clock;
        clock.start();
        process.start(program, {});
        if (!process.waitForStarted(boundMs)) return probe;
        while (!allSaid(probe.said) && clock.elapsed() < boundMs) {
            if (!process.waitForReadyRead(static_cast<int>(boundMs - clock.elapsed()))) break;
            probe.said += process.readAllStandardError();
        }
        probe.up = allSaid(probe.said);
        probe.tookMs = clock.elapsed();
        probe.peakKb = PeakKb(process.processId());
        process.kill();
        process.waitForFinished(boundMs);
        probe.said += process.readAllStandardError();
        return probe;
    }

    static qint64 PeakKb(qint64 pid)
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(pid));
        if (!status.open(QIODevice::ReadOnly)) return -1;
        for (const QByteArray& l : status.readAll().split('\n')) {
            if (l.startsWith("VmHWM:")) return l.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }
};
