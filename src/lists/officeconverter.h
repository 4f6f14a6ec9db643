// Spreadsheet and word-processor files through LibreOffice in headless mode: ".xls"
// written from a CSV file and read back as one, ".doc" written from an HTML table.
//
// The program is "soffice" (then "libreoffice") on PATH; RENDOLO_SOFFICE names another.
// It runs with a private profile (a running LibreOffice of the user would otherwise take
// the job), in a process group of its own so Cancel and the time limit stop all of it,
// and writes into a temporary folder: it exits with 0 also when it failed, so success
// is the output file being there.
#pragma once

#include <QString>
#include <QStringList>

class Progress;

class OfficeConverter {
public:
    struct Result {
        bool ok = false;
        bool cancelled = false;
        QString error; // why it failed, for the message
    };

    // The soffice program to run, or "" when none is installed.
    static QString findProgram();

    // progress: shows the time waited and is polled for Cancel (not opened or ended here).
    explicit OfficeConverter(Progress& progress);

    // Converts input (a file in any folder) by the filters into output, the file the
    // conversion makes, which replaces `output` only when it succeeded. timeLimitMs 0:
    // a limit from RENDOLO_SOFFICE_TIMEOUT (seconds), else five minutes.
    Result convert(const QString& input, const QString& inputFilter, const QString& convertTo,
                   const QString& outputExtension, QByteArray* output, int timeLimitMs = 0);

    // The command line of the last conversion (for messages and tests).
    const QStringList& lastArguments() const { return m_arguments; }

private:
    Progress& m_progress;
    QStringList m_arguments;
};
