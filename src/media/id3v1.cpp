#include "media/id3v1.h"

#include "media/mediafile.h"
#include "media/textcodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

using namespace media;

const std::array<const char*, 148> GenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk",
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave",
    "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy",
    "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American",
    "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal",
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk",
    "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progessive Rock", "Psychedelic Rock",
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour",
    "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
    "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A capella",
    "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie",
    "BritPop",
    // Index 133 as the Winamp genre list published it.
    "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap", "Heavy Metal", "Black Metal",
    "Crossover", "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Trash Metal",
    "Anime", "JPop", "Synthpop"};

int GenreIndexOf(std::string_view name) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    for (size_t i = 0; i < GenreNames.size(); ++i) {
        const std::string_view g = GenreNames[i];
        if (g.size() == name.size() &&
            std::equal(g.begin(), g.end(), name.begin(),
                       [&](char a, char b) { return lower(a) == lower(b); }))
            return int(i);
    }
    return -1;
}

namespace {

constexpr int kTagBytes = 128;

std::string fieldText(const uint8_t* p, size_t n) {
    return trimControlRight(latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(p), n)));
}

std::string fitField(std::string_view value, size_t width) {
    return utf8Left(trimControlRight(value), width);
}

void putField(std::array<uint8_t, 128>& block, size_t at, const std::string& text, size_t width) {
    const std::string bytes = utf8ToLatin1(text);
    std::memcpy(block.data() + at, bytes.data(), std::min(bytes.size(), width));
}

// Reads the last 128 bytes; false when the file is shorter or cannot be read.
bool readLast128(ByteSource& file, uint8_t* block) {
    if (file.size() < kTagBytes)
        return false;
    return file.readFullyAt(file.size() - kTagBytes, block, kTagBytes);
}

bool isTag(const uint8_t* block) {
    return std::memcmp(block, "TAG", 3) == 0;
}

} // namespace

void TID3v1::Clear() {
    m_present = false;
    m_variant = 1;
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_year.clear();
    m_comment.clear();
    m_track = 0;
    m_genreIndex = NoGenre;
}

void TID3v1::Parse(const uint8_t* b) {
    Clear();
    if (!isTag(b))
        return;
    m_present = true;
    m_variant = ((b[125] == 0 && b[126] != 0) || (b[125] == 32 && b[126] != 32)) ? 2 : 1;
    m_title = fieldText(b + 3, 30);
    m_artist = fieldText(b + 33, 30);
    m_album = fieldText(b + 63, 30);
    m_year = fieldText(b + 93, 4);
    if (m_variant == 1) {
        m_comment = fieldText(b + 97, 30);
    } else {
        m_comment = fieldText(b + 97, 28);
        m_track = b[126];
    }
    m_genreIndex = b[127];
}

bool TID3v1::Load(ByteSource& file) {
    Clear();
    uint8_t block[kTagBytes];
    if (!readLast128(file, block))
        return false;
    Parse(block);
    return true;
}

bool TID3v1::Load(const std::string& fileName) {
    MediaFile file;
    if (!file.open(fileName)) {
        Clear();
        return false;
    }
    return Load(file);
}

std::array<uint8_t, 128> TID3v1::Render() const {
    std::array<uint8_t, 128> block{};
    std::memcpy(block.data(), "TAG", 3);
    putField(block, 3, m_title, 30);
    putField(block, 33, m_artist, 30);
    putField(block, 63, m_album, 30);
    putField(block, 93, m_year, 4);
    putField(block, 97, m_comment, 30);
    if (m_track != 0) {
        block[125] = 0;
        block[126] = m_track;
    }
    block[127] = m_genreIndex;
    return block;
}

bool TID3v1::Save(const std::string& fileName, SaveReport* report) const {
    std::string error;
    bool ok = false;
    try {
        ok = save(fileName, error);
    } catch (...) {
        RENDOLO_RETHROW_WHEN_FUZZING();
        error = "out of memory";
    }
    if (report) {
        report->error = ok ? std::string() : error;
        report->notes.clear();
    }
    return ok;
}

namespace {

bool writeAt(int fd, const uint8_t* data, size_t count, int64_t at) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd, data, count, off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        at += n;
        count -= size_t(n);
    }
    return true;
}

std::string withReason(const char* what) {
    return std::string(what) + " (" + std::strerror(errno) + ")";
}

} // namespace

bool TID3v1::save(const std::string& fileName, std::string& error) const {
    const auto block = Render();
    const int fd = openForUpdate(fileName, error);
    if (fd < 0)
        return false;
    struct stat st {};
    uint8_t old[kTagBytes];
    // As in removing a tag, a file whose last 128 bytes cannot be read is refused.
    if (::fstat(fd, &st) != 0 || st.st_size < kTagBytes ||
        ::pread(fd, old, kTagBytes, st.st_size - kTagBytes) != kTagBytes) {
        error = "cannot read the file's last 128 bytes (an ID3v1 tag needs at least 128)";
        ::close(fd);
        return false;
    }
    const int64_t size = int64_t(st.st_size);
    const bool hasTag = isTag(old);
    const int64_t at = hasTag ? size - kTagBytes : size;
    // Written in place: an existing tag is overwritten, a new one appended.
    bool ok = writeAt(fd, block.data(), kTagBytes, at);
    if (!ok) {
        error = withReason("cannot write the tag");
        // Put the file back as it was: the old tag bytes, or the old length (a write
        // cut short by a full disk or a file-size limit leaves part of a tag behind).
        if (hasTag)
            writeAt(fd, old, kTagBytes, at);
        else
            (void)::ftruncate(fd, off_t(size));
    }
    if (::close(fd) != 0 && ok) {
        error = withReason("cannot write the tag");
        ok = false;
    }
    return ok;
}

bool TID3v1::Strip(const std::string& fileName, SaveReport* report) const {
    std::string error;
    uint8_t last[kTagBytes];
    MediaFile file;
    if (!file.open(fileName) || !readLast128(file, last)) {
        if (report)
            *report = {"cannot read the file's last 128 bytes", {}};
        return false;
    }
    file.close();
    if (!isTag(last)) {
        if (report)
            *report = {};
        return true; // nothing to remove
    }
    const int fd = openForUpdate(fileName, error);
    bool ok = fd >= 0;
    if (ok) {
        struct stat st {};
        uint8_t block[kTagBytes];
        if (::fstat(fd, &st) != 0 || st.st_size < kTagBytes ||
            ::pread(fd, block, kTagBytes, st.st_size - kTagBytes) != kTagBytes) {
            error = "cannot read the file's last 128 bytes";
            ok = false;
        } else if (isTag(block) && ::ftruncate(fd, st.st_size - kTagBytes) != 0) {
            error = withReason("cannot cut the tag off");
            ok = false;
        }
        ::close(fd);
    }
    if (report) {
        report->error = ok ? std::string() : error;
        report->notes.clear();
    }
    return ok;
}

std::string TID3v1::GenreName() const {
    return m_genreIndex < GenreNames.size() ? GenreNames[m_genreIndex] : std::string();
}

void TID3v1::SetTitle(std::string_view value) {
    m_title = fitField(value, 30);
}
void TID3v1::SetArtist(std::string_view value) {
    m_artist = fitField(value, 30);
}
void TID3v1::SetAlbum(std::string_view value) {
    m_album = fitField(value, 30);
}
void TID3v1::SetYear(std::string_view value) {
    m_year = fitField(value, 4);
}
void TID3v1::SetComment(std::string_view value) {
    m_comment = fitField(value, 30);
}
