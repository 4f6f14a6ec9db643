#include "lists/commandrouter.h"

#include "base/commandenv.h"
#include "base/prompt.h"
#include "base/translator.h"
#include "lists/songlistmodel.h"

#include <QAction>

CommandGate commandGate(CommandFlags flags, const CommandState& state) {
    if (!commandEnabled(flags, state))
        return CommandGate::Disabled;
    if (flags.testFlag(CommandFlag::NeedsSelection) && state.selected == 0)
        return CommandGate::NoSelection;
    if (flags.testFlag(CommandFlag::NeedsChecked) && state.checked == 0)
        return CommandGate::NoChecked;
    return CommandGate::Run;
}

bool commandEnabled(CommandFlags flags, const CommandState& state) {
    if (flags.testFlag(CommandFlag::ChangesPane) && state.paneBusy)
        return false;
    if (flags.testFlag(CommandFlag::LongRunning) && state.longRunning)
        return false;
    return true;
}

CommandRouter::CommandRouter(CommandEnv& env, PaneSource activePane, PaneSource otherPane,
                             QObject* parent)
    : QObject(parent), m_env(env), m_active(std::move(activePane)), m_other(std::move(otherPane)) {}

void CommandRouter::offerActions(const QList<QAction*>& actions) {
    for (QAction* a : actions) {
        if (a->objectName().isEmpty())
            continue;
        if (m_commands.contains(a->objectName())) {
            bindNow(a, a->objectName(), {}, {});
        } else {
            a->setEnabled(false); // until its command arrives
            m_offered.insert(a->objectName(), a);
        }
    }
}

void CommandRouter::add(const QString& name, CommandFlags flags, Handler handler) {
    m_commands.insert(name, Command{flags, std::move(handler)});
    if (const QPointer<QAction> a = m_offered.take(name))
        bindNow(a, name, {}, {});
    emit stateChanged();
}

void CommandRouter::bind(QAction* action, const QString& name, PaneSource pane,
                         const QStringList& arguments) {
    bindNow(action, name, std::move(pane), arguments);
}

void CommandRouter::bindNow(QAction* action, const QString& name, PaneSource pane,
                            const QStringList& arguments) {
    m_bindings.append({action, name, pane, arguments});
    connect(action, &QAction::triggered, this,
            [this, name, pane, arguments] { runOn(name, pane ? pane() : m_active(), arguments); });
    action->setEnabled(enabledOn(name, pane ? pane() : m_active()));
}

bool CommandRouter::enabledOn(const QString& name, PaneRef pane) const {
    const auto it = m_commands.constFind(name);
    return it != m_commands.constEnd() && commandEnabled(it->flags, stateFor(*it, pane));
}

CommandFlags CommandRouter::flags(const QString& name) const {
    return m_commands.value(name).flags;
}

CommandState CommandRouter::stateFor(const Command& command, PaneRef pane) const {
    CommandState s;
    s.paneBusy = pane && paneBusy(pane.number);
    s.longRunning = longCommandRunning();
    if (pane && (command.flags & (CommandFlag::NeedsSelection | CommandFlag::NeedsChecked))) {
        s.selected = pane.model->counter(SongListModel::Selected);
        s.checked = pane.model->counter(SongListModel::Checked);
    }
    return s;
}

bool CommandRouter::run(const QString& name, const QStringList& arguments,
                        CommandOutcome* outcome) {
    return runOn(name, m_active(), arguments, outcome);
}

bool CommandRouter::runOn(const QString& name, PaneRef pane, const QStringList& arguments,
                          CommandOutcome* outcome) {
    if (outcome)
        *outcome = CommandOutcome::NotReported;
    const auto it = m_commands.constFind(name);
    if (it == m_commands.constEnd())
        return false;
    const Command command = *it; // the handler may add commands
    switch (commandGate(command.flags, stateFor(command, pane))) {
    case CommandGate::Disabled:
        return false;
    case CommandGate::NoSelection:
        m_env.prompt.information(T("InfoNoSelected", "There are no items selected."));
        return false;
    case CommandGate::NoChecked:
        m_env.prompt.information(T("InfoNoChecked", "There are no items checked."));
        return false;
    case CommandGate::Run:
        break;
    }
    const PaneRef other = m_other();
    CommandContext context{m_env, pane, other.number == pane.number ? m_active() : other,
                           arguments};
    const bool changes = command.flags.testFlag(CommandFlag::ChangesPane);
    const bool isLong = command.flags.testFlag(CommandFlag::LongRunning);
    if (changes || isLong) {
        BusyScope busy(*this, pane ? pane.number : -1, changes, isLong);
        command.handler(context);
    } else {
        command.handler(context);
    }
    if (outcome)
        *outcome = context.outcome;
    return true;
}

bool CommandRouter::paneBusy(int paneNumber) const {
    return paneNumber >= 0 && paneNumber < 2 && m_busy[paneNumber] > 0;
}

void CommandRouter::refresh() {
    for (const Binding& b : std::as_const(m_bindings)) {
        if (!b.action)
            continue;
        b.action->setEnabled(enabledOn(b.name, b.pane ? b.pane() : m_active()));
    }
}

CommandRouter::BusyScope::BusyScope(CommandRouter& router, int paneNumber, bool changesPane,
                                    bool longRunning)
    : m_router(router), m_pane(paneNumber),
      m_changes(changesPane && paneNumber >= 0 && paneNumber < 2), m_long(longRunning) {
    if (m_changes)
        ++m_router.m_busy[m_pane];
    if (m_long)
        ++m_router.m_longRunning;
    m_router.refresh();
    emit m_router.stateChanged();
}

CommandRouter::BusyScope::~BusyScope() {
    if (m_changes)
        --m_router.m_busy[m_pane];
    if (m_long)
        --m_router.m_longRunning;
    m_router.refresh();
    emit m_router.stateChanged();
}
