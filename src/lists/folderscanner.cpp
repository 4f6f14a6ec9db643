#include "lists/folderscanner.h"

#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/progressscope.h"
#include "base/prompt.h"
#include "base/translator.h"
#include "lists/folderinput.h"
#include "lists/folderlisting.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include <QSet>
#include <QStorageInfo>

FolderScanner::FolderScanner(SongListModel& model, SongTags& reader, Progress& progress)
    : FolderScanner([&model](SongItem&& item) { model.append(std::move(item)); }, reader,
                    progress) {}

FolderScanner::FolderScanner(RowSink sink, SongTags& reader, Progress& progress)
    : m_sink(std::move(sink)), m_reader(reader), m_progress(progress) {}

int FolderScanner::scanFolder(const QString& folder, bool recursive) {
    // Location + FileName is the file's path: a relative folder would tie the rows to
    // the working folder of this process.
    return scan(absoluteFolder(folder), recursive, false);
}

int FolderScanner::scan(const QString& folder, bool recursive, bool oneFileSystem) {
    if (m_progress.cancelRequested())
        return 0;
    int added = 0;
    std::string folderBytes; // the folder of the last file, and
    QString location;        // its text, shared by all rows of that folder
    FolderScanCallbacks callbacks;
    callbacks.oneFileSystem = oneFileSystem;
    callbacks.enterFolder = [&](const std::string& f) {
        // Whole: the progress window shortens the line to its width, brackets kept.
        m_progress.showProgressItem("( " + fromNativePath(f) + " )");
        return !m_progress.cancelRequested();
    };
    callbacks.file = [&](const ScannedFile& file) {
        if (file.folder != folderBytes) {
            folderBytes = file.folder;
            location = fromNativePath(folderBytes);
        }
        const QString name = fromNativePath(file.fileName);
        const std::int64_t attributes = file.readOnly ? std::int64_t(AttrReadOnly) : 0;
        m_sink(m_reader.makeSongItem(name, location, attributes, std::int64_t(file.size)));
        ++added;
        if (file.audioCdTrack)
            m_audioCd = true;
        m_progress.showProgressItem("( " + name + " )");
        return !m_progress.cancelRequested();
    };
    // The folder text travels as bytes, so names that are not UTF-8 still open.
    ScanFolderFiles(toNativePathString(folder), recursive, callbacks);
    return added;
}

int FolderScanner::scanRoots(const QStringList& roots) {
    int added = 0;
    for (const QString& root : roots) {
        if (m_progress.cancelRequested())
            break;
        added += scan(root, true, true);
    }
    return added;
}

bool isLocalDiskFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> disks = {
        "ext2",    "ext3",    "ext4", "xfs",    "btrfs",    "f2fs", "jfs",   "reiserfs",
        "reiser4", "zfs",     "vfat", "msdos",  "exfat",    "ntfs", "ntfs3", "fuseblk",
        "hfs",     "hfsplus", "apfs", "nilfs2", "bcachefs", "ufs",
    };
    return disks.contains(type.toLower());
}

QStringList localDiskRoots() {
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && isLocalDiskFileSystem(v.fileSystemType()))
            roots << v.rootPath();
    return roots;
}

int addFolder(CommandEnv& env, SongListModel& model, const QString& folder, bool recursive,
              bool* audioCd) {
    if (audioCd)
        *audioCd = false;
    if (folder.trimmed().isEmpty()) {
        env.prompt.information(T("InfoNoAdd", "Please select directory from dropdown menu."));
        return 0;
    }
    const QString root = absoluteFolder(folder);
    if (!folderExists(root)) {
        env.prompt.information(T("InfoFolderNotFound", "This folder does not exist:") + "\n" +
                               root);
        return 0;
    }
    ProgressScope progress(env.progress, QStringLiteral("add"));
    SongListModel::BulkScope bulk(model);
    FolderScanner scanner(model, env.tags, env.progress);
    const int added = scanner.scanFolder(root, recursive);
    if (audioCd)
        *audioCd = scanner.audioCdFound();
    return added;
}

int addAllDisks(CommandEnv& env, SongListModel& model, const QStringList& roots) {
    ProgressScope progress(env.progress, QStringLiteral("add"));
    SongListModel::BulkScope bulk(model);
    return FolderScanner(model, env.tags, env.progress).scanRoots(roots);
}
