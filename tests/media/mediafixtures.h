// Small builders for MP3 test files: frame headers, audio runs, ID3 tags, temporary
// folders. Every file a test writes lives in its own temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fixtures {

// Four header bytes: version code, layer code, bit-rate index, sample-rate index, and
// the rest of byte 3 (mode, flags, emphasis).
std::string frameHeader(int version = 3, int layer = 1, int bitRate = 9, int sampleRate = 0,
                        bool padded = false, uint8_t byte3 = 0x40, bool crc = false);

// `count` frames of the given header, each `length` bytes, filled with 0x55 bytes.
std::string audio(const std::string& header, int length, int count);

// The usual test stream: MPEG 1 Layer III 128 kbit/s 44100 Hz, frames of 417 bytes.
std::string cbrAudio(int frames);

// An ID3v2 tag of the given major version from (ID, data) frames; `padding` zero bytes
// are added after the frames.
std::string id3v2Tag(int major, const std::vector<std::pair<std::string, std::string>>& frames,
                     int padding = 0, uint8_t flags = 0);

// A text frame body: encoding byte then the bytes as given.
std::string text(uint8_t encoding, const std::string& bytes);

// A 128-byte ID3v1 block with the given field bytes.
std::string id3v1Block(const std::string& title, const std::string& artist = {},
                       const std::string& comment = {}, int trackByte125 = -1,
                       int trackByte126 = -1, uint8_t genre = 255);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// Runs Debian's python3 with mutagen on a script that gets the file as sys.argv[1];
// returns its standard output, or nothing when mutagen is not there.
bool mutagenAvailable();
std::string runPython(const std::string& script, const std::string& file);

} // namespace fixtures
