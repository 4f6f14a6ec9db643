// File names as the file system stores them (bytes) and as the program shows them
// (text), converted without loss: bytes that are not UTF-8 become the code points
// U+DC80..U+DCFF and turn back into the same bytes, so every listed file opens again.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

QString fromNativePath(const QByteArray& bytes);
QString fromNativePath(const std::string& bytes);
QByteArray toNativePath(const QString& path);
std::string toNativePathString(const QString& path);
