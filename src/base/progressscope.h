// Opens the progress window for one operation and closes it again, also when the
// command returns early. Opening clears the cancel flag.
#pragma once

#include "base/progress.h"

class ProgressScope {
public:
    ProgressScope(Progress& progress, const QString& operation) : m_progress(progress) {
        m_progress.startProgress(operation);
    }
    ~ProgressScope() { m_progress.endProgress(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    bool cancelled() const { return m_progress.cancelRequested(); }
    void item(const QString& text) { m_progress.showProgressItem(text); }

private:
    Progress& m_progress;
};
