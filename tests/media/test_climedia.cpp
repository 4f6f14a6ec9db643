// rendolo-cli on media files: what `tag` reports per tag and per frame left out, `tag`
// under a file-size limit, and `scan` lines for names and tags holding tabs or newlines.
#include "media/id3v1.h"
#include "media/id3v2.h"
#include "mediafixtures.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using namespace fixtures;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

// Runs a shell command line; RENDOLO_HOME points at a fresh folder.
CliRun run(const std::string& command, const TempDir& dir) {
    const std::string home = dir.file("home");
    std::filesystem::create_directories(home);
    const std::string line = "RENDOLO_HOME='" + home + "' " + command + " 2>&1";
    CliRun r;
    if (std::FILE* p = popen(line.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            r.out.append(buf, n);
        const int status = pclose(p);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return r;
}

std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

const std::string kCli = RENDOLO_CLI;

} // namespace

TEST(CliTag, SaysWhatHappenedToEachTag) {
    TempDir dir;
    // Under 128 bytes: the ID3v2 tag can be written, the ID3v1 tag cannot.
    const std::string small = dir.file("small.mp3");
    writeFile(small, std::string(100, 'x'));
    CliRun r = run(kCli + " tag title=New " + quoted(small), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("failed: " + small + ": ID3v2 tag written; ID3v1 tag not written ("),
              std::string::npos)
        << r.out;
    TID3v2 t;
    ASSERT_TRUE(t.Load(small));
    EXPECT_EQ(t.Title(), "New");

    // Frames the new ID3v2.3 tag cannot hold are named.
    const std::string old = dir.file("old.mp3");
    writeFile(old, id3v2Tag(2, {{"TT2", text(0, "Old")}, {"CRM", std::string("o\0d\0x", 5)}}) +
                       cbrAudio(4));
    r = run(kCli + " tag --v2 title=New " + quoted(old), dir);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("ok: " + old + ": ID3v2 tag written\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("note: " + old + ": left out CRM: "), std::string::npos) << r.out;
}

TEST(CliTag, AFileSizeLimitFailsTheSaveInsteadOfTearingTheTag) {
    TempDir dir;
    // 8 KiB allowed, 50 bytes of room: the 128-byte append is cut short.
    const std::string f = dir.file("limit.mp3");
    std::string original = cbrAudio(20);
    original.resize(8 * 1024 - 50, '\x55');
    writeFile(f, original);
    const CliRun r =
        run("bash -c 'ulimit -f 8; exec \"$0\" tag --v1 title=x \"$1\"' " + kCli + " " + quoted(f),
            dir);
    EXPECT_EQ(r.status, 1) << r.out; // not killed by SIGXFSZ
    EXPECT_NE(r.out.find("ID3v1 tag not written"), std::string::npos) << r.out;
    EXPECT_TRUE(readFile(f) == original);
}

TEST(CliScan, TabsNewlinesAndBackslashesStayInsideTheirField) {
    TempDir dir;
    const std::string folder = dir.file("music");
    std::filesystem::create_directories(folder);
    const std::vector<std::string> names = {"tab\there.mp3", "new\nline.mp3", "back\\slash.mp3",
                                            "carriage\rreturn.mp3", "plain.mp3"};
    for (const auto& n : names)
        writeFile(folder + "/" + n, cbrAudio(10) + id3v1Block("Ti\ttle", "Art\nist"));
    const CliRun r = run(kCli + " scan " + quoted(folder), dir);
    ASSERT_EQ(r.status, 0) << r.out;
    std::vector<std::string> lines;
    for (size_t from = 0, nl; (nl = r.out.find('\n', from)) != std::string::npos; from = nl + 1)
        lines.push_back(r.out.substr(from, nl - from));
    ASSERT_EQ(lines.size(), names.size()) << r.out;
    for (const auto& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 17) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    }
    for (const char* escaped : {"tab\\there", "new\\nline", "back\\\\slash", "carriage\\rreturn",
                                "Ti\\ttle", "Art\\nist"})
        EXPECT_NE(r.out.find(escaped), std::string::npos) << escaped << "\n" << r.out;
}
