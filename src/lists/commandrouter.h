// Routes the program's commands. A command is a name (the object name of its menu
// entry, or a name of its own for buttons, drops and the command line), flags and a
// handler that calls the core. The router enables the actions bound to commands and,
// while a command runs that changes a pane (or a long one, which holds the one progress
// window), disables every command that would change that pane (or start another long
// one), re-enabling them when it ends. Actions without a command stay disabled.
#pragma once

#include "lists/pane.h"

#include <QFlags>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QAction;
struct CommandEnv;

enum class CommandFlag : unsigned {
    None = 0,
    NeedsSelection = 1, // says "There are no items selected." instead of running
    NeedsChecked = 2,   // says "There are no items checked." instead of running
    ChangesPane = 4,    // changes the pane's rows: not while another such command runs on it
    LongRunning = 8,    // shows the progress window: one at a time
};
Q_DECLARE_FLAGS(CommandFlags, CommandFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(CommandFlags)

// How a command that reports it ended. A caller that acts on a command's result (the
// first-time organiser removes what "Find Dead File Locations" checked) acts only on
// Finished; a command that says nothing stays NotReported.
enum class CommandOutcome { NotReported, Finished, Cancelled, Failed };

// What a command is run with.
struct CommandContext {
    CommandEnv& env;
    PaneRef pane;          // the pane it works on: the active one for main-menu commands
    PaneRef other;         // the other pane
    QStringList arguments; // paths of a drop or the command line
    CommandOutcome outcome = CommandOutcome::NotReported; // set by the handler
};

// What a trigger of a command with these flags does in this state.
enum class CommandGate { Run, Disabled, NoSelection, NoChecked };
struct CommandState {
    bool paneBusy = false;    // a pane-changing command runs on the target pane
    bool longRunning = false; // a long command runs anywhere
    int selected = 0;
    int checked = 0;
};
CommandGate commandGate(CommandFlags flags, const CommandState& state);
// Whether an action of a command with these flags is enabled (selection and checks do
// not disable: the command says what is missing).
bool commandEnabled(CommandFlags flags, const CommandState& state);

class CommandRouter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(CommandContext&)>;
    using PaneSource = std::function<PaneRef()>;

    CommandRouter(CommandEnv& env, PaneSource activePane, PaneSource otherPane,
                  QObject* parent = nullptr);

    // Actions (the main menu's) that get their command by object name as it arrives.
    void offerActions(const QList<QAction*>& actions);
    // Registers a command; an offered action of the same name is bound to it.
    void add(const QString& name, CommandFlags flags, Handler handler);
    // Binds an action to a command, run on the pane `pane` gives (default: the active one)
    // with the given arguments (a menu entry per catalogue, say).
    void bind(QAction* action, const QString& name, PaneSource pane = {},
              const QStringList& arguments = {});
    bool has(const QString& name) const { return m_commands.contains(name); }
    CommandEnv& env() const { return m_env; }
    // Whether the command would run on that pane now (ignoring selection and checks).
    bool enabledOn(const QString& name, PaneRef pane) const;
    CommandFlags flags(const QString& name) const;

    // Runs a command on the active pane, or on `pane`. False when it did not run
    // (unknown, disabled, or it said what was missing). `outcome`, when given, receives
    // what the handler reported (NotReported when it did not run).
    bool run(const QString& name, const QStringList& arguments = {},
             CommandOutcome* outcome = nullptr);
    bool runOn(const QString& name, PaneRef pane, const QStringList& arguments = {},
               CommandOutcome* outcome = nullptr);
    // The pane main-menu commands work on.
    PaneRef activePane() const { return m_active(); }

    bool paneBusy(int paneNumber) const;
    bool longCommandRunning() const { return m_longRunning > 0; }
    // Enables and disables the bound actions for the current state and active pane.
    void refresh();

    // Marks a pane busy (and, when long, the progress window taken) for its lifetime.
    // run() holds one around every pane-changing or long command; work started outside
    // the router (the start-up's command line) holds its own. Nests.
    class BusyScope {
    public:
        BusyScope(CommandRouter& router, int paneNumber, bool changesPane, bool longRunning);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        CommandRouter& m_router;
        int m_pane;
        bool m_changes;
        bool m_long;
    };

signals:
    // A command arrived, or one started or ended that makes a pane or the progress
    // window busy: what is enabled may have changed.
    void stateChanged();

private:
    struct Command {
        CommandFlags flags;
        Handler handler;
    };
    struct Binding {
        QPointer<QAction> action;
        QString name;
        PaneSource pane;
        QStringList arguments;
    };
    CommandState stateFor(const Command& command, PaneRef pane) const;
    void bindNow(QAction* action, const QString& name, PaneSource pane,
                 const QStringList& arguments);

    CommandEnv& m_env;
    PaneSource m_active;
    PaneSource m_other;
    QHash<QString, Command> m_commands;
    QHash<QString, QPointer<QAction>> m_offered;
    QList<Binding> m_bindings;
    int m_busy[2] = {0, 0};
    int m_longRunning = 0;
};
