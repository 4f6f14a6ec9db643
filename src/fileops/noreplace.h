// System-call helpers of the file operations, on native path bytes.
#pragma once

#include <QByteArray>
#include <QList>

// rename(2) that fails with EEXIST instead of replacing; returns 0 or an errno value.
int renameNoReplace(const char* from, const char* to);

// Renames `from` to `to` in the same folder when the two names differ only in letter
// case and the file system took them for one (a case-insensitive mount answers EEXIST).
// Refuses (EEXIST) when the exact new spelling is listed, or when its case twin is
// another entry than `from`; otherwise goes through a unique temporary name in the same
// folder (back again when the second step fails) and checks the new spelling is listed.
// Returns 0 or an errno value.
int renameCaseOnly(const QByteArray& folder, const QByteArray& from, const QByteArray& to);

// Whether two names (file-name bytes) differ only in letter case.
bool caseTwins(const QByteArray& a, const QByteArray& b);

// The entry names of a folder (without "." and ".."); false when it cannot be read.
bool listFolder(const QByteArray& folder, QList<QByteArray>& names);

// The folder part of a path ("/a/b" -> "/a", "/a" -> "/", "a" -> ".") and its last
// component ("/a/b/" -> "b").
QByteArray parentPath(const QByteArray& path);
QByteArray lastComponent(const QByteArray& path);
// Drops trailing "/" (except the root's).
QByteArray withoutTrailingSlash(QByteArray path);
// "folder" + "/" + "name" without doubling the separator.
QByteArray joinPath(const QByteArray& folder, const QByteArray& name);
