// Long operations report through this interface: one operation at a time, one
// line per item, and a cancel flag that the loops poll between items.
#pragma once

#include <QString>

class Progress {
public:
    virtual ~Progress() = default;

    // Shows the progress window for an operation name ("add", "load", ...) and
    // clears the cancel flag.
    virtual void startProgress(const QString& operation) = 0;
    // Shows the item being handled and lets pending interface events run.
    virtual void showProgressItem(const QString& text) = 0;
    virtual void endProgress() = 0;

    bool cancelRequested() const { return m_cancelRequested; }
    void requestCancel() { m_cancelRequested = true; }
    // The user chose to go on after cancelling (an unfinished save): clears the flag and
    // shows the window again, so Cancel works once more.
    virtual void resumeAfterCancel() { clearCancel(); }

protected:
    void clearCancel() { m_cancelRequested = false; }

private:
    bool m_cancelRequested = false;
};
