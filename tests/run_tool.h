#pragma once

// Runs a program, one of the teacher's tools as a rule, to its end.

#include <QProcess>
#include <QStringList>

#include <functional>

struct Run {
    int exitCode = -1; // -1: it crashed or did not end within a minute
    QByteArray bytes; // standard output as written
    QString out, err;
};

inline Run runTool(const QString& program, const QStringList& args, const QString& folder = {},
    const std::function<void()>& inChild = {}, const QString& outputFile = {})
{
    QProcess tool;
    tool.setWorkingDirectory(folder);
    if (inChild)
        tool.setChildProcessModifier(inChild);
    if (!outputFile.isEmpty())
        tool.setStandardOutputFile(outputFile);
    tool.start(program, args);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    const QByteArray out = tool.readAllStandardOutput();
    return {tool.exitCode(), out, QString::fromUtf8(out), QString::fromUtf8(tool.readAllStandardError())};
}
