#include "tools/firsttime.h"

#include "base/prompt.h"
#include "base/translator.h"
#include "lists/commandrouter.h"
#include "lists/songlistmodel.h"

namespace {
const FirstTimeOrganiser::Step kSteps[FirstTimeOrganiser::StepCount] = {
    {"1. Set Prefered Mp3 File Format", {"MSettings", ""}},
    {"2. Find All Mp3 Files", {"MFindAll", ""}},
    {"3. Check For Duplicates", {"MCompare", ""}},
    {"4. Find Mistakes", {"MMistakes", ""}},
    {"5. Remove All Nonexisting Files", {"MDeadFiles", "MRemoveFromList"}},
    {"6. Save Play List", {"MPlaylistWhole", ""}},
    {"FINISH", {"", ""}},
};
} // namespace

const FirstTimeOrganiser::Step& FirstTimeOrganiser::step(int k) {
    return kSteps[k];
}

FirstTimeOrganiser::FirstTimeOrganiser(CommandRouter& router, Prompt& prompt)
    : m_router(router), m_prompt(prompt) {}

bool FirstTimeOrganiser::available(int k) const {
    if (k < 0 || k >= StepCount)
        return false;
    const PaneRef pane = m_router.activePane();
    for (const char* name : kSteps[k].commands)
        if (*name && !m_router.enabledOn(QString::fromLatin1(name), pane))
            return false;
    return true;
}

FirstTimeOrganiser::Result FirstTimeOrganiser::click(int k) {
    if (!available(k))
        return Result::Unavailable;
    if (k < m_next &&
        !m_prompt.askYesNo(
            T("InfoActionDone", "You have allready done this step.~~Do you wish to do it again?")))
        return Result::Declined;
    if (k > m_next &&
        !m_prompt.askYesNo(
            T("InfoActionSkip", "You have skipped some steps.~~Do you wish to continue anyway?")))
        return Result::Declined;
    m_taken[std::size_t(k)] = true;
    if (k >= m_next && k != Finish)
        m_next = k + 1;
    if (k == Finish)
        return Result::Finished;
    runStep(k);
    return Result::Ran;
}

void FirstTimeOrganiser::runStep(int k) {
    switch (k) {
    case 0:
        // The settings window on its first page, the file-name conversion type in focus.
        m_router.run("MSettings", {"Global", "CBMp3Format_skip_"});
        break;
    case 4: {
        // Remove only what a search that ran to its end checked: after a cancelled or
        // failed search the checks are not the dead files.
        CommandOutcome outcome = CommandOutcome::NotReported;
        if (!m_router.run("MDeadFiles", {}, &outcome) || outcome != CommandOutcome::Finished)
            break;
        const PaneRef pane = m_router.activePane();
        if (pane && pane.model->counter(SongListModel::Checked) > 0)
            m_router.run("MRemoveFromList");
        break;
    }
    default:
        m_router.run(QString::fromLatin1(kSteps[k].commands[0]));
        break;
    }
}
