// The first-time organiser: which step comes next, the questions for done and skipped
// steps, the commands each step runs, steps whose commands the program does not have,
// and step 5 removing only after a dead-file search that finished.
#include "lists/commandrouter.h"
#include "lists/songlistmodel.h"
#include "support/guiapp.h"
#include "support/testenv.h"
#include "tools/firsttime.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
using Answer = Prompt::Answer;
using Result = FirstTimeOrganiser::Result;

const QString kDone = "You have allready done this step.\nDo you wish to do it again?";
const QString kSkip = "You have skipped some steps.\nDo you wish to continue anyway?";

class FirstTimeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
    void SetUp() override {
        model.append(SongItem(QStringList{"a.mp3"}));
        model.append(SongItem(QStringList{"b.mp3"}));
    }
    // Registers a command that records its name and arguments.
    void provide(const QString& name, CommandFlags flags = CommandFlag::None) {
        router.add(name, flags, [this, name](CommandContext& c) {
            ran << (c.arguments.isEmpty() ? name : name + ' ' + c.arguments.join(' '));
        });
    }
    void provideAll() {
        for (const char* n : {"MSettings", "MFindAll", "MCompare", "MMistakes", "MDeadFiles",
                              "MRemoveFromList", "MPlaylistWhole"})
            provide(n);
    }
    PaneRef pane() { return PaneRef{&model, nullptr, 0}; }

    QTemporaryDir dir;
    TestEnv t{dir.path() + "/"};
    SongListModel model{&t.settings};
    CommandRouter router{t.env, [this] { return pane(); }, [this] { return pane(); }};
    FirstTimeOrganiser organiser{router, t.prompt};
    QStringList ran;
};
} // namespace

TEST_F(FirstTimeTest, StepTableQuestionsAndNextStep) {
    provideAll();
    enum Question { None, Done, Skip };
    struct Click {
        int step;
        Question question;
        Answer answer;
        Result result;
        int next;
        const char* ran; // the commands run by this click
    };
    const Click clicks[] = {
        {2, Skip, Answer::Yes, Result::Ran, 3, "MCompare"}, // skipped steps: continue
        {6, Skip, Answer::No, Result::Declined, 3, ""},     // FINISH too early: stay open
        {2, Done, Answer::Yes, Result::Ran, 3, "MCompare"}, // again: the next step stays
        {1, Done, Answer::No, Result::Declined, 3, ""},
        {3, None, Answer::Ok, Result::Ran, 4, "MMistakes"}, // the next step asks nothing
        {0, Done, Answer::Yes, Result::Ran, 4, "MSettings Global CBMp3Format_skip_"},
        {5, Skip, Answer::Yes, Result::Ran, 6, "MPlaylistWhole"},
        {6, None, Answer::Ok, Result::Finished, 6, ""},
    };
    for (size_t i = 0; i < std::size(clicks); ++i) {
        const Click& c = clicks[i];
        const qsizetype askedBefore = t.prompt.asked().size();
        if (c.question != None)
            t.prompt.push(c.answer);
        ran.clear();
        EXPECT_EQ(organiser.click(c.step), c.result) << "click " << i;
        EXPECT_EQ(organiser.nextStep(), c.next) << "click " << i;
        EXPECT_EQ(ran.join(','), QString::fromLatin1(c.ran)) << "click " << i;
        const QStringList asked = t.prompt.asked().mid(askedBefore);
        const QStringList expected = c.question == None   ? QStringList{}
                                     : c.question == Done ? QStringList{kDone}
                                                          : QStringList{kSkip};
        EXPECT_EQ(asked, expected) << "click " << i;
    }
    EXPECT_TRUE(organiser.taken(2) && organiser.taken(3) && organiser.taken(6));
    EXPECT_FALSE(organiser.taken(1) || organiser.taken(4));
}

TEST_F(FirstTimeTest, WalkingEveryStepInOrderAsksNothing) {
    provideAll();
    for (int k = 0; k < FirstTimeOrganiser::Finish; ++k)
        EXPECT_EQ(organiser.click(k), Result::Ran) << k;
    EXPECT_EQ(organiser.click(FirstTimeOrganiser::Finish), Result::Finished);
    EXPECT_TRUE(t.prompt.asked().isEmpty());
    // The dead-file command here reports nothing: nothing is removed.
    EXPECT_EQ(ran, (QStringList{"MSettings Global CBMp3Format_skip_", "MFindAll", "MCompare",
                                "MMistakes", "MDeadFiles", "MPlaylistWhole"}));
}

TEST_F(FirstTimeTest, StepsWhoseCommandsAreMissingOrBusyAreNotAvailable) {
    provide("MSettings");
    provide("MFindAll", CommandFlag::ChangesPane | CommandFlag::LongRunning);
    provide("MDeadFiles");
    EXPECT_TRUE(organiser.available(0));
    EXPECT_TRUE(organiser.available(1));
    EXPECT_FALSE(organiser.available(2));
    EXPECT_FALSE(organiser.available(4)) << "needs \"Remove From List\" too";
    EXPECT_TRUE(organiser.available(FirstTimeOrganiser::Finish));
    EXPECT_EQ(organiser.click(2), Result::Unavailable);
    EXPECT_TRUE(t.prompt.asked().isEmpty());
    EXPECT_EQ(organiser.nextStep(), 0);
    // A step becomes available as soon as its command arrives, and not while a long
    // command holds the pane.
    provide("MCompare");
    EXPECT_TRUE(organiser.available(2));
    {
        CommandRouter::BusyScope busy(router, 0, true, true);
        EXPECT_FALSE(organiser.available(1));
        EXPECT_TRUE(organiser.available(0));
    }
    EXPECT_TRUE(organiser.available(1));
}

TEST_F(FirstTimeTest, StepFiveRemovesOnlyAfterASearchThatFinished) {
    provide("MRemoveFromList");
    struct Case {
        CommandOutcome outcome;
        bool checkRow;
        bool removes;
    } cases[] = {
        {CommandOutcome::Finished, true, true},
        {CommandOutcome::Finished, false, false}, // nothing checked: nothing to remove
        {CommandOutcome::Cancelled, true, false},
        {CommandOutcome::Failed, true, false},
        {CommandOutcome::NotReported, true, false},
    };
    CommandOutcome reported = CommandOutcome::NotReported;
    bool check = false;
    router.add("MDeadFiles", CommandFlag::ChangesPane | CommandFlag::LongRunning,
               [&](CommandContext& c) {
                   ran << "MDeadFiles";
                   c.pane.model->setChecked(1, check);
                   c.outcome = reported;
               });
    for (size_t i = 0; i < std::size(cases); ++i) {
        reported = cases[i].outcome;
        check = cases[i].checkRow;
        ran.clear();
        t.prompt.push(Answer::Yes); // skipped steps (then done again)
        EXPECT_EQ(organiser.click(4), Result::Ran) << i;
        const QStringList expected = cases[i].removes ? QStringList{"MDeadFiles", "MRemoveFromList"}
                                                      : QStringList{"MDeadFiles"};
        EXPECT_EQ(ran, expected) << i;
    }
}
