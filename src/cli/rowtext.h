// The row lines of rendolo-cli: a row's texts separated by tabs; inside a text,
// backslash, tab, CR and LF are written as "\\", "\t", "\r" and "\n". Texts are the
// file system's bytes for names that are not UTF-8.
#pragma once

#include "lists/songitem.h"

#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

// One line, with its line feed.
std::string rowLine(const SongItem& item);
// The texts of a line (without its line feed); empty when the line holds more than
// SongItem::ColumnCount fields or a backslash that starts no escape.
std::optional<QStringList> parseRowLine(std::string_view line);
