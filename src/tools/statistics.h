// "Statistics" and "Detailed Statistics": one pass over the selected songs of a pane
// counts files, size, playtime and the songs of each genre and, in the detailed form,
// each artist's songs, albums and years. The statistics window and `rendolo-cli stats`
// show the same result.
#pragma once

#include "lists/pane.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class QLocale;
struct CommandEnv;

struct StatisticsGenre {
    QString name; // the first spelling met names the row
    std::int64_t songs = 0;
};

struct StatisticsArtist {
    QString name; // the first spelling met names the row
    std::int64_t songs = 0;
    // Distinct texts in the order met; whole items compare, letter case counts.
    QStringList years;
    QStringList albums;
};

struct StatisticsYear {
    QString year; // the "Year" text as the songs carry it ("" for none)
    std::int64_t songs = 0;
};

struct StatisticsResult {
    bool detailed = false;
    std::int64_t files = 0; // "Num of files:": every selected row, counted or not
    double sizeKb = 0;      // the selected rows' sizes, as the status bar adds them
    std::int64_t songs = 0; // the songs counted: selected rows that carry a length column
    std::int64_t playtimeSeconds = 0;
    std::vector<StatisticsGenre> genres;   // in the order first met
    std::vector<StatisticsArtist> artists; // detailed form only, in the order first met
    std::vector<StatisticsYear> years;     // songs per "Year" text, in the order first met
    std::int64_t albumCount = 0;           // distinct artist and album pairs (detailed)
    bool cancelled = false;                // Cancel stopped the walk: figures so far

    // The status bar's text for the size.
    QString sizeText() const;
    // "1:02:05  (3725 sec)", the word "sec" in the interface language.
    QString playtimeText() const;
    // A genre's share of the songs counted, in percent.
    double share(const StatisticsGenre& genre) const;
};

// The share with one decimal: with the locale's decimal sign for the window, with a
// full stop for the command line (QLocale::c()).
QString shareText(double percent, const QLocale& locale);
// The texts the Part's lists hold: every item followed by ", ".
QString joinedText(const QStringList& items);
// "Copy all Artists": every artist name followed by ", ".
QString allArtistsText(const StatisticsResult& result);

// A "Length (sec)" text as whole seconds: 0 unless it is digits only that fit 64 bits.
std::int64_t lengthSeconds(QStringView text);

// The computation behind both menu entries: walks the pane's selected rows in list
// order under the progress window "stat", showing "(N%)" of the pane's rows, and stops
// at Cancel keeping the figures so far.
StatisticsResult computeStatistics(CommandEnv& env, const PaneRef& pane, bool detailed);
