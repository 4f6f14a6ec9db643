// Saves that replace a whole file (ID3v2 through AtomicReplace): what survives a change
// made meanwhile, a kill, odd names, links, other owners and extended attributes.
// fsync and renameat are watched (this executable's definitions take the place of the C
// library's for the code linked into it), so that the order of the steps and a change
// made just before the rename can be tested.
#include "media/atomicreplace.h"
#include "media/id3v1.h"
#include "media/id3v2.h"
#include "media/mediafile.h"
#include "mediafixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace fixtures;
namespace fs = std::filesystem;

namespace {

struct Spy {
    std::vector<std::string> events; // "fsync file 0600", "fsync folder", "rename"
    std::function<void(const char* from, const char* to)> beforeRename;
    std::function<void()> afterFileSync; // the copy is written: the last step before the check
};
Spy g_spy;

} // namespace

extern "C" int fsync(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    if (fstat(fd, &st) == 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", unsigned(st.st_mode & 07777));
        g_spy.events.push_back(S_ISDIR(st.st_mode) ? std::string("fsync folder")
                                                   : std::string("fsync file ") + mode);
    }
    const int result = real(fd);
    if (S_ISREG(st.st_mode) && g_spy.afterFileSync)
        g_spy.afterFileSync();
    return result;
}

extern "C" int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static auto real =
        reinterpret_cast<int (*)(int, const char*, int, const char*)>(dlsym(RTLD_NEXT, "renameat"));
    g_spy.events.push_back("rename");
    if (g_spy.beforeRename)
        g_spy.beforeRename(from, to);
    return real(fromDir, from, toDir, to);
}

namespace {

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override { g_spy = Spy(); }
    void TearDown() override { g_spy = Spy(); }

    // A tagged song in the temporary folder.
    std::string song(const std::string& name = "song.mp3") {
        const std::string f = dir.file(name);
        writeFile(f, id3v2Tag(3, {{"TIT2", text(0, "Old")}}, 32) + cbrAudio(6));
        return f;
    }
    static bool saveTitle(const std::string& f, media::SaveReport* report = nullptr) {
        TID3v2 t;
        if (!t.Load(f))
            return false;
        t.SetTitle("New");
        return t.Save(f, report);
    }
    static std::string titleOf(const std::string& f) {
        TID3v2 t;
        t.Load(f);
        return t.Title();
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir.path()))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    TempDir dir;
};

// Runs `f` in a child process as user and group `id` (root only); returns its exit code.
int asUser(uid_t id, const std::function<int()>& f) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(id) != 0 || setuid(id) != 0)
            _exit(99);
        _exit(f());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr uid_t kNobody = 65534;

} // namespace

TEST_F(AtomicSave, StepsInOrderTempWithTheOriginalsModeFolderSyncedAfterTheRename) {
    const std::string f = song();
    fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write); // 0600
    ASSERT_TRUE(saveTitle(f));
    EXPECT_EQ(titleOf(f), "New");
    // The copy is 0600 while it is written (a kill leaves nothing world-readable), is on
    // the disk before it replaces the original, and the folder is synced afterwards.
    const std::vector<std::string> expected = {"fsync file 0600", "rename", "fsync folder"};
    EXPECT_EQ(g_spy.events, expected);
    EXPECT_EQ(fs::status(f).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(names(), std::vector<std::string>{"song.mp3"});
}

TEST_F(AtomicSave, AChangeMadeDuringTheSaveIsKeptAndTheSaveFails) {
    const std::string f = song();
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const std::string appended(1 << 20, 'A');
    const Case cases[] = {
        {"appended", [&] { std::ofstream(f, std::ios::app | std::ios::binary) << appended; }},
        {"replaced by another file",
         [&] {
             writeFile(dir.file("other"), "other");
             fs::rename(dir.file("other"), f);
         }},
        {"rewritten with the same size",
         [&] {
             std::string bytes = readFile(f);
             bytes[bytes.size() - 1] ^= 1;
             usleep(20000); // a later modification time
             std::fstream(f, std::ios::in | std::ios::out | std::ios::binary) << bytes;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        song();
        std::string expected;
        g_spy.afterFileSync = [&] {
            c.change();
            expected = readFile(f);
        };
        media::SaveReport report;
        EXPECT_FALSE(saveTitle(f, &report));
        EXPECT_NE(report.error.find("changed during the save"), std::string::npos) << report.error;
        g_spy.afterFileSync = nullptr;
        EXPECT_TRUE(readFile(f) == expected); // the other program's change is still there
        EXPECT_EQ(names(), std::vector<std::string>{"song.mp3"});
    }
}

TEST_F(AtomicSave, LeftoversOfAKilledSaveAreRemovedByTheNextSave) {
    const std::string f = song();
    writeFile(f + "~", "somebody's backup"); // "NAME~" is taken: a hidden name is used
    for (int n = 1; n < 100; ++n)
        writeFile(f + "~" + std::to_string(n), "x"); // once made every save fail
    const auto before = names();
    const pid_t pid = fork();
    if (pid == 0) {
        g_spy.beforeRename = [](const char*, const char*) { raise(SIGKILL); };
        saveTitle(f);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(names().size(), before.size() + 1); // the killed save's copy
    ASSERT_TRUE(saveTitle(f));
    EXPECT_EQ(titleOf(f), "New");
    EXPECT_EQ(names(), before);
    EXPECT_EQ(readFile(f + "~"), "somebody's backup");
}

TEST_F(AtomicSave, NamesAndLinks) {
    // The longest name a folder takes has no room for "~": a short hidden name is used.
    const std::string longName = std::string(251, 'n') + ".mp3";
    std::string f = song(longName);
    ASSERT_TRUE(saveTitle(f));
    EXPECT_EQ(titleOf(f), "New");
    EXPECT_EQ(names(), std::vector<std::string>{longName});
    fs::remove(f);

    // A symbolic link stays a link; its target gets the new tags (both of them).
    f = song("target.mp3");
    fs::create_directory(dir.file("sub"));
    const std::string link = dir.file("sub/link.mp3");
    fs::create_symlink("../target.mp3", link);
    ASSERT_TRUE(saveTitle(link));
    TID3v1 v1;
    v1.SetTitle("V1");
    ASSERT_TRUE(v1.Save(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(titleOf(f), "New");
    ASSERT_TRUE(v1.Load(f));
    EXPECT_EQ(v1.Title(), "V1");
    EXPECT_FALSE(fs::exists(dir.file("sub/link.mp3~")));

    // A file with another hard link: saved, and the result says the other name keeps
    // the old tag.
    fs::create_hard_link(f, dir.file("second.mp3"));
    media::SaveReport report;
    ASSERT_TRUE(saveTitle(f, &report));
    ASSERT_EQ(report.notes.size(), 1u);
    EXPECT_NE(report.notes[0].find("1 other name"), std::string::npos) << report.notes[0];
    EXPECT_EQ(titleOf(dir.file("second.mp3")), "New"); // saved as "New" once before
}

TEST_F(AtomicSave, RefusesWhatIsNotARegularFileWithoutBlocking) {
    const std::string fifo = dir.file("pipe.mp3");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    // In a child, so that a blocking open shows as a failure instead of a hang.
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(5);
        TID3v2 v2;
        TID3v1 v1;
        media::MediaFile m;
        media::SaveReport r2, r1;
        const bool any = v2.Load(fifo) || v1.Load(fifo) || m.open(fifo) || v2.Save(fifo, &r2) ||
                         v1.Save(fifo, &r1) || v1.Strip(fifo);
        const bool reasons = r2.error == "not a regular file" && r1.error == "not a regular file";
        _exit(any ? 1 : reasons ? 0 : 2);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "blocked on the FIFO";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(AtomicSave, KeepsOwnerGroupModeAndExtendedAttributes) {
    const std::string f = song();
    const bool xattrs = setxattr(f.c_str(), "user.rating", "5", 1, 0) == 0;
    if (geteuid() == 0) {
        ASSERT_EQ(chown(f.c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(chmod(f.c_str(), 0640), 0);
    struct stat before {};
    stat(f.c_str(), &before);
    ASSERT_TRUE(saveTitle(f));
    struct stat after {};
    stat(f.c_str(), &after);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    if (xattrs) {
        char value[8] = {};
        EXPECT_EQ(getxattr(f.c_str(), "user.rating", value, sizeof value), 1);
        EXPECT_STREQ(value, "5");
    }
    // Our own read-only file: saved, and no longer read-only.
    ASSERT_EQ(chown(f.c_str(), geteuid(), getegid()), 0);
    ASSERT_EQ(chmod(f.c_str(), 0444), 0);
    ASSERT_TRUE(saveTitle(f));
    EXPECT_EQ(fs::status(f).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                               fs::perms::group_read | fs::perms::others_read);
}

TEST_F(AtomicSave, AnotherUsersFileIsNotRewrittenByWhoMayNotWriteIt) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to make files of two users";
    // Root's 0644 file in a folder that "nobody" may write: the folder would allow the
    // rename, the file does not allow the change.
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string f = song("root.mp3");
    ASSERT_EQ(chmod(f.c_str(), 0644), 0);
    const std::string original = readFile(f);
    EXPECT_EQ(asUser(kNobody, [&] { return saveTitle(f) ? 1 : 0; }), 0);
    EXPECT_EQ(readFile(f), original);

    // Writable for nobody's group, but the new file could not keep root as its owner:
    // refused instead of handing the file to nobody.
    ASSERT_EQ(chown(f.c_str(), 0, kNobody), 0);
    ASSERT_EQ(chmod(f.c_str(), 0664), 0);
    EXPECT_EQ(asUser(kNobody,
                     [&] {
                         media::SaveReport r;
                         return !saveTitle(f, &r) && r.error.find("owner") != std::string::npos ? 0
                                                                                                : 1;
                     }),
              0);
    EXPECT_EQ(readFile(f), original);
    struct stat st {};
    stat(f.c_str(), &st);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(names(), std::vector<std::string>{"root.mp3"});
}

TEST_F(AtomicSave, ClassContractWithoutATag) {
    // The class on its own: a replacement abandoned half-way leaves the original alone
    // and no temporary file.
    const std::string f = dir.file("list.txt");
    writeFile(f, "old content");
    {
        media::AtomicReplace r;
        ASSERT_TRUE(r.begin(f));
        EXPECT_EQ(r.sourceSize(), 11);
        ASSERT_TRUE(r.write("new", 3));
    }
    EXPECT_EQ(readFile(f), "old content");
    EXPECT_EQ(names(), std::vector<std::string>{"list.txt"});
    media::AtomicReplace r;
    ASSERT_TRUE(r.begin(f));
    ASSERT_TRUE(r.write("new ", 4));
    ASSERT_TRUE(r.copyFromSource(4, 7));
    ASSERT_TRUE(r.commit());
    EXPECT_EQ(readFile(f), "new content");
    EXPECT_FALSE(r.begin(dir.file("missing")));
    EXPECT_FALSE(r.error().empty());
}
