// The first-time organiser: six steps that each run an existing command, then FINISH.
// It remembers only which step comes next (0 when the program starts, never stored).
// A step whose command the program does not have (or that cannot run now) is not
// available; the organiser never stands in for it.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

class CommandRouter;
class Prompt;

class FirstTimeOrganiser {
public:
    static constexpr int StepCount = 7;
    static constexpr int Finish = 6;

    // The step table: caption (English; the window translates it) and the commands
    // that must exist for the step to be offered.
    struct Step {
        const char* caption;
        std::array<const char*, 2> commands; // the second is empty for one-command steps
    };
    static const Step& step(int k);

    // What a click on a step did.
    enum class Result {
        Declined,    // a question was answered No
        Unavailable, // its command is not there or cannot run now
        Ran,         // its command ran (or was refused by the command itself)
        Finished     // FINISH: the window closes
    };

    FirstTimeOrganiser(CommandRouter& router, Prompt& prompt);

    int nextStep() const { return m_next; }
    // Taken steps show bold.
    bool taken(int k) const { return k >= 0 && k < StepCount && m_taken[std::size_t(k)]; }
    // Whether the step's commands exist and could run on the active pane now.
    bool available(int k) const;

    // Clicking step k: a step already done or one past skipped steps asks first; going
    // on marks it taken, moves the next step on (never back) and runs the command.
    Result click(int k);

private:
    void runStep(int k);

    CommandRouter& m_router;
    Prompt& m_prompt;
    int m_next = 0;
    std::array<bool, StepCount> m_taken{};
};
