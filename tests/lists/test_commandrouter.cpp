// The command router: what a command's flags allow in each state, which actions are
// enabled while commands run, and what a command is run on.
#include "lists/commandrouter.h"
#include "lists/songlistmodel.h"
#include "support/guiapp.h"
#include "support/testenv.h"

#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CommandGate, FlagsAgainstState) {
    using F = CommandFlag;
    using G = CommandGate;
    struct Case {
        CommandFlags flags;
        CommandState state; // paneBusy, longRunning, selected, checked
        G gate;
    };
    const Case cases[] = {
        {F::None, {true, true, 0, 0}, G::Run}, // window commands run whatever runs
        {F::ChangesPane, {false, false, 0, 0}, G::Run},
        {F::ChangesPane, {true, false, 0, 0}, G::Disabled},
        {F::ChangesPane, {false, true, 0, 0}, G::Run}, // another pane's long command
        {F::LongRunning, {false, true, 0, 0}, G::Disabled},
        {F::LongRunning, {true, false, 0, 0}, G::Run},
        {F::NeedsSelection, {false, false, 0, 5}, G::NoSelection},
        {F::NeedsSelection, {false, false, 1, 0}, G::Run},
        {F::NeedsChecked, {false, false, 5, 0}, G::NoChecked},
        {F::NeedsChecked | F::NeedsSelection, {false, false, 0, 0}, G::NoSelection},
        {F::NeedsChecked | F::ChangesPane, {true, false, 0, 0}, G::Disabled},
        {F::NeedsSelection | F::ChangesPane | F::LongRunning, {false, false, 2, 0}, G::Run},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(commandGate(c.flags, c.state), c.gate) << "case " << i;
        EXPECT_EQ(commandEnabled(c.flags, c.state), c.gate != G::Disabled) << "case " << i;
    }
}

namespace {
class RouterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
    PaneRef pane(int n) { return PaneRef{&models[n], nullptr, n}; }

    QTemporaryDir dir;
    TestEnv t{dir.path() + "/"};
    SongListModel models[2] = {SongListModel(&t.settings), SongListModel(&t.settings)};
    int active = 0;
    CommandRouter router{t.env, [this] { return pane(active); },
                         [this] { return pane(1 - active); }};
};
} // namespace

TEST_F(RouterTest, ActionsFollowTheBusyStateAndComeBackWhenItEnds) {
    QAction scan, remove, settings, unbuilt;
    scan.setObjectName("MScan");
    remove.setObjectName("MRemove");
    settings.setObjectName("MSettings");
    unbuilt.setObjectName("MLater");
    router.offerActions({&scan, &remove, &settings, &unbuilt});
    std::vector<std::pair<QString, int>> ran;
    bool enabledInside[3] = {};
    router.add("MScan", CommandFlag::ChangesPane | CommandFlag::LongRunning,
               [&](CommandContext& c) {
                   ran.emplace_back("MScan", c.pane.number);
                   enabledInside[0] = scan.isEnabled();
                   enabledInside[1] = remove.isEnabled();
                   enabledInside[2] = settings.isEnabled();
                   // Nested: the same pane stays busy; a triggered action does nothing.
                   EXPECT_FALSE(router.run("MRemove"));
                   EXPECT_TRUE(router.runOn("MRemove", pane(1)));
               });
    router.add("MRemove", CommandFlag::ChangesPane,
               [&](CommandContext& c) { ran.emplace_back("MRemove", c.pane.number); });
    router.add("MSettings", CommandFlag::None, [&](CommandContext&) {});
    EXPECT_TRUE(scan.isEnabled() && remove.isEnabled() && settings.isEnabled());
    EXPECT_FALSE(unbuilt.isEnabled()); // no command: stays disabled

    scan.trigger();
    EXPECT_FALSE(enabledInside[0]); // long commands wait for the progress window
    EXPECT_FALSE(enabledInside[1]); // the busy pane's changes wait
    EXPECT_TRUE(enabledInside[2]);
    EXPECT_TRUE(scan.isEnabled() && remove.isEnabled()); // back after the command
    EXPECT_FALSE(router.paneBusy(0) || router.longCommandRunning());
    const std::vector<std::pair<QString, int>> expected = {{"MScan", 0}, {"MRemove", 1}};
    EXPECT_EQ(ran, expected);

    // The active pane decides what main-menu actions do and whether they are enabled.
    CommandRouter::BusyScope busy(router, 1, true, false);
    EXPECT_TRUE(remove.isEnabled());
    active = 1;
    router.refresh();
    EXPECT_FALSE(remove.isEnabled());
    EXPECT_FALSE(scan.isEnabled());
    EXPECT_TRUE(settings.isEnabled());
}

TEST_F(RouterTest, MissingSelectionOrChecksAreSaidAndTheCommandDoesNotRun) {
    int runs = 0;
    router.add("MRate", CommandFlag::NeedsSelection, [&](CommandContext&) { ++runs; });
    router.add("MDelete", CommandFlag::NeedsChecked, [&](CommandContext& c) {
        ++runs;
        EXPECT_EQ(c.other.number, 1);
        EXPECT_EQ(c.arguments, QStringList{"x"});
    });
    EXPECT_FALSE(router.run("MRate"));
    EXPECT_FALSE(router.run("MDelete"));
    EXPECT_FALSE(router.run("MUnknown"));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(t.prompt.informed(),
              QStringList({"There are no items selected.", "There are no items checked."}));

    models[0].append(SongItem(QStringList{"a.mp3", "1.00", "/"}));
    models[0].setChecked(0, true);
    models[0].setSelectedCount(1);
    EXPECT_TRUE(router.run("MRate"));
    EXPECT_TRUE(router.run("MDelete", {"x"}));
    EXPECT_EQ(runs, 2);
}

TEST_F(RouterTest, BusyScopesNestAndACommandOnTheOtherPaneSeesTheActiveOneAsOther) {
    router.add("MCopy", CommandFlag::ChangesPane, [&](CommandContext& c) {
        EXPECT_EQ(c.pane.number, 1);
        EXPECT_EQ(c.other.number, 0);
    });
    {
        CommandRouter::BusyScope outer(router, 1, true, true);
        { CommandRouter::BusyScope inner(router, 1, true, true); }
        EXPECT_TRUE(router.paneBusy(1));
        EXPECT_TRUE(router.longCommandRunning());
        EXPECT_FALSE(router.runOn("MCopy", pane(1)));
    }
    EXPECT_FALSE(router.paneBusy(1));
    EXPECT_TRUE(router.runOn("MCopy", pane(1)));
}
