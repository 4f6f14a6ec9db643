// Synthetic rows as a folder scan fills a pane with them: one folder text per 300 songs,
// one artist and album per 12, short tag texts. Shared by the pane and list benchmarks.
#pragma once

#include "lists/songitem.h"

#include <QString>

#include <random>

class PaneRows {
public:
    // artists > 0: the artist of row i is one of that many names (i % artists).
    explicit PaneRows(int artists = 0) : m_artists(artists) {}

    SongItem next() {
        const int i = m_index++;
        if (i % 300 == 0)
            m_folder = "/home/someone/Music/Collection/" + word(12) + "/" + word(14) + "/";
        if (i % 12 == 0) {
            m_artist = word(9) + " " + word(10);
            m_album = word(8) + " " + word(11);
        }
        const QString artist =
            m_artists > 0 ? QStringLiteral("Artist %1").arg(i % m_artists) : m_artist;
        const QString title = word(8) + " " + word(11);
        SongItem it;
        it.append(artist + " - " + title + " (" + QString::number(i % 99) + ").mp3");
        it.append(QString::number(2000 + m_rng() % 9000) + "." +
                  QString::number(10 + m_rng() % 90));
        it.append(m_folder);
        it.append(title);
        it.append(artist);
        it.append(m_album);
        it.append(QString::number(1960 + m_rng() % 60));
        it.append(m_rock);
        it.append(QString::number(1 + i % 12));
        it.append(m_blank);
        it.append(QString::number(120 + m_rng() % 300));
        it.append(QString::number((m_rng() % 2) ? 128000 : 192000));
        it.append(m_freq);
        it.append(m_no);
        it.append(m_yes);
        it.append(m_no);
        it.append(m_blank);
        it.append(m_weight);
        return it;
    }

private:
    QString word(int length) {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
        QString w;
        w.reserve(length);
        for (int i = 0; i < length; ++i)
            w += QChar(i == 0 ? letters[m_rng() % 26] - 32 : letters[m_rng() % 26]);
        return w;
    }

    std::mt19937 m_rng{42};
    int m_index = 0;
    int m_artists;
    QString m_folder, m_artist, m_album;
    const QString m_yes = "Yes", m_no = "No", m_weight = "0", m_blank = "", m_freq = "44100",
                  m_rock = "Rock";
};
