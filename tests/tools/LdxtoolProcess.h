#pragma once

// Runs ldxtool as users do, as a process, and reads and writes the files it works on.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Run ldxtool(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(LDXTOOL_PATH), args);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
