#include "lists/folderlisting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FolderScan : public testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("rendolo-scan-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(m_root / "locked", fs::perms::owner_all, ec);
        fs::remove_all(m_root, ec);
    }
    void file(const fs::path& relative, std::size_t size = 1) {
        fs::create_directories((m_root / relative).parent_path());
        std::ofstream(m_root / relative) << std::string(size, 'x');
    }
    // "folder-relative-to-root|name" per file, in scan order.
    std::vector<std::string> scan(bool recursive, const std::string& start = {}) {
        std::vector<std::string> out;
        const std::string rootText = m_root.string() + "/";
        ScanFolderFiles(start.empty() ? m_root.string() : start, recursive,
                        [&](const ScannedFile& f) {
                            EXPECT_EQ(f.folder.back(), '/');
                            out.push_back(f.folder.substr(rootText.size()) + "|" + f.fileName);
                            return true;
                        });
        return out;
    }
    fs::path m_root;
};

TEST_F(FolderScan, SubFoldersFirstThenMp3ThenCdaInNameOrder) {
    file("b.mp3");
    file("A.MP3");
    file("Track01.cda");
    file("notes.txt");
    file(".hidden.mp3");
    file(".hid/e.mp3");
    file("x/c.mp3");
    file("x/deeper/f.Mp3");
    file("Vol. 2/d.mp3");
    fs::create_directory(m_root / "folder.mp3");                 // a folder, not a file
    fs::create_directory_symlink(m_root, m_root / "loop");       // back into the scan
    fs::create_directory_symlink(m_root / "x", m_root / "link"); // elsewhere: followed
    fs::create_symlink(m_root / "missing.mp3", m_root / "dangling.mp3");

    EXPECT_EQ(scan(true), (std::vector<std::string>{"link/deeper/|f.Mp3", "link/|c.mp3",
                                                    "Vol. 2/|d.mp3", "x/deeper/|f.Mp3", "x/|c.mp3",
                                                    "|A.MP3", "|b.mp3", "|Track01.cda"}));
    EXPECT_EQ(scan(false), (std::vector<std::string>{"|A.MP3", "|b.mp3", "|Track01.cda"}));
}

TEST_F(FolderScan, ReportsSizeAndAttributesAndStopsOnRequest) {
    file("a.mp3", 3);
    file("b.mp3", 5);
    fs::permissions(m_root / "b.mp3", fs::perms::owner_read | fs::perms::group_read);
    std::vector<ScannedFile> seen;
    const bool completed = ScanFolderFiles(m_root.string() + "/", false, [&](const ScannedFile& f) {
        seen.push_back(f);
        return true;
    });
    EXPECT_TRUE(completed);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].folder, m_root.string() + "/");
    EXPECT_EQ(seen[0].size, 3u);
    EXPECT_FALSE(seen[0].readOnly);
    EXPECT_EQ(seen[1].size, 5u);
    EXPECT_TRUE(seen[1].readOnly);
    EXPECT_FALSE(seen[1].hidden);

    int calls = 0;
    EXPECT_FALSE(
        ScanFolderFiles(m_root.string(), false, [&](const ScannedFile&) { return ++calls < 1; }));
    EXPECT_EQ(calls, 1);

    file("sub/c.mp3");
    FolderScanCallbacks stopAtSub;
    std::vector<std::string> entered;
    stopAtSub.enterFolder = [&](const std::string& folder) {
        entered.push_back(folder);
        return entered.size() < 2;
    };
    stopAtSub.file = [&](const ScannedFile&) {
        ADD_FAILURE() << "no file after the stop";
        return true;
    };
    EXPECT_FALSE(ScanFolderFiles(m_root.string(), true, stopAtSub));
    EXPECT_EQ(entered.back(), m_root.string() + "/sub/");
}

TEST_F(FolderScan, MissingUnreadableAndOddNamesDoNoHarm) {
    EXPECT_TRUE(scan(true, (m_root / "nothing-here").string()).empty());
    EXPECT_TRUE(scan(true, "").empty());
    file("odd/\xff\xfe name.mp3");
    file("locked/z.mp3");
    file("k.mp3");
    fs::permissions(m_root / "locked", fs::perms::none);
    const auto files = scan(true);
    if (::geteuid() == 0) // root reads the locked folder anyway
        EXPECT_EQ(files.size(), 3u);
    else
        EXPECT_EQ(files, (std::vector<std::string>{"odd/|\xff\xfe name.mp3", "|k.mp3"}));
}

} // namespace
