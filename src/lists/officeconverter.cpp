#include "lists/officeconverter.h"

#include "base/progress.h"
#include "base/translator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace {
constexpr int kDefaultLimitMs = 5 * 60 * 1000;
constexpr int kPollMs = 100;

QString profileFolder() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        cache = QDir::tempPath();
    const QString folder = cache + QStringLiteral("/rendolo/lo-profile");
    QDir().mkpath(folder);
    return folder;
}

int timeLimit(int asked) {
    if (asked > 0)
        return asked;
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("RENDOLO_SOFFICE_TIMEOUT", &ok);
    return ok && seconds > 0 ? seconds * 1000 : kDefaultLimitMs;
}

// Stops soffice and everything it started (it runs in a process group of its own).
void stopGroup(QProcess& process, qint64 pid) {
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
    process.waitForFinished(3000);
}

// A plain base name for the files LibreOffice sees (it names sheets after them).
QString workName(const QString& path) {
    QString base = QFileInfo(path).completeBaseName();
    for (QChar& c : base)
        if (!c.isLetterOrNumber() && c != ' ' && c != '-' && c != '_')
            c = '_';
    return base.trimmed().isEmpty() ? QStringLiteral("list") : base.left(100);
}
} // namespace

QString OfficeConverter::findProgram() {
    const QString own = qEnvironmentVariable("RENDOLO_SOFFICE");
    if (!own.isEmpty())
        return QFileInfo(own).isExecutable() ? own : QString();
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

OfficeConverter::OfficeConverter(Progress& progress) : m_progress(progress) {}

OfficeConverter::Result OfficeConverter::convert(const QString& input, const QString& inputFilter,
                                                 const QString& convertTo,
                                                 const QString& outputExtension, QByteArray* output,
                                                 int timeLimitMs) {
    Result r;
    const QString program = findProgram();
    if (program.isEmpty()) {
        r.error = T("InfoOfficeNotFound", "LibreOffice was not found");
        return r;
    }
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/rendolo-office-XXXXXX"));
    if (!work.isValid()) {
        r.error = work.errorString();
        return r;
    }
    // LibreOffice works on a copy: it leaves lock files beside what it opens, and a
    // name that is not UTF-8 would not survive its command line.
    const QString name = workName(input);
    const QString copy =
        work.filePath(QStringLiteral("in/") + name + '.' + QFileInfo(input).suffix().toLower());
    const QString outDir = work.filePath(QStringLiteral("out"));
    QDir().mkpath(work.filePath(QStringLiteral("in")));
    QDir().mkpath(outDir);
    if (!QFile::copy(input, copy)) {
        QFile in(input);
        in.open(QIODevice::ReadOnly);
        r.error = in.errorString();
        return r;
    }

    m_arguments = {QStringLiteral("--headless"),
                   QStringLiteral("--norestore"),
                   QStringLiteral("--nologo"),
                   QStringLiteral("--nodefault"),
                   QStringLiteral("--nolockcheck"),
                   QStringLiteral("-env:UserInstallation=") +
                       QUrl::fromLocalFile(profileFolder()).toString(QUrl::FullyEncoded),
                   QStringLiteral("--infilter=") + inputFilter,
                   QStringLiteral("--convert-to"),
                   convertTo,
                   QStringLiteral("--outdir"),
                   outDir,
                   copy};
    QProcess process;
    process.setProgram(program);
    process.setArguments(m_arguments);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted(30000)) {
        r.error = process.errorString();
        stopGroup(process, process.processId());
        return r;
    }
    const qint64 pid = process.processId();
    const int limit = timeLimit(timeLimitMs);
    QElapsedTimer clock;
    clock.start();
    QByteArray said;
    while (!process.waitForFinished(kPollMs)) {
        said += process.readAll();
        if (m_progress.cancelRequested()) {
            stopGroup(process, pid);
            r.cancelled = true;
            return r;
        }
        if (clock.elapsed() > limit) {
            stopGroup(process, pid);
            r.error = T("InfoOfficeTimeOut", "LibreOffice did not finish within %1 seconds")
                          .arg(limit / 1000);
            return r;
        }
        if (process.state() == QProcess::NotRunning)
            break;
        m_progress.showProgressItem(QStringLiteral("(") + QString::number(clock.elapsed() / 1000) +
                                    QStringLiteral(" s)"));
    }
    said += process.readAll();
    if (m_progress.cancelRequested()) {
        r.cancelled = true;
        return r;
    }

    const QString made = outDir + '/' + name + '.' + outputExtension;
    QFile out(made);
    if (!out.open(QIODevice::ReadOnly) || out.size() == 0) {
        // What soffice said, without its warnings (Java, for one, is never needed here).
        QStringList lines;
        for (const QString& line : QString::fromLocal8Bit(said).split('\n', Qt::SkipEmptyParts))
            if (!line.trimmed().startsWith(QLatin1String("Warning:")))
                lines << line.trimmed();
        QString why = lines.join(' ');
        if (why.isEmpty())
            why = T("InfoOfficeNoOutput", "LibreOffice made no file (exit code %1)")
                      .arg(process.exitCode());
        r.error = why.left(500);
        return r;
    }
    *output = out.readAll();
    r.ok = true;
    return r;
}
