#include "mediafixtures.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace fixtures {

std::string frameHeader(int version, int layer, int bitRate, int sampleRate, bool padded,
                        uint8_t byte3, bool crc) {
    std::string h(4, '\0');
    h[0] = char(0xFF);
    h[1] = char(0xE0 | (version << 3) | (layer << 1) | (crc ? 0 : 1));
    h[2] = char((bitRate << 4) | (sampleRate << 2) | (padded ? 2 : 0));
    h[3] = char(byte3);
    return h;
}

std::string audio(const std::string& header, int length, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::string f(size_t(length), char(0x55));
        f.replace(0, 4, header);
        out += f;
    }
    return out;
}

std::string cbrAudio(int frames) {
    return audio(frameHeader(), 417, frames);
}

static void putSize(std::string& out, uint32_t n, bool syncSafe) {
    if (syncSafe) {
        out += char((n >> 21) & 0x7F);
        out += char((n >> 14) & 0x7F);
        out += char((n >> 7) & 0x7F);
        out += char(n & 0x7F);
    } else {
        out += char(n >> 24);
        out += char(n >> 16);
        out += char(n >> 8);
        out += char(n);
    }
}

std::string id3v2Tag(int major, const std::vector<std::pair<std::string, std::string>>& frames,
                     int padding, uint8_t flags) {
    std::string body;
    for (const auto& [id, data] : frames) {
        body += id;
        if (major == 2) {
            const auto n = uint32_t(data.size());
            body += char(n >> 16);
            body += char(n >> 8);
            body += char(n);
        } else {
            putSize(body, uint32_t(data.size()), major == 4);
            body += std::string(2, '\0');
        }
        body += data;
    }
    body += std::string(size_t(padding), '\0');
    std::string tag = "ID3";
    tag += char(major);
    tag += '\0';
    tag += char(flags);
    putSize(tag, uint32_t(body.size()), true);
    return tag + body;
}

std::string text(uint8_t encoding, const std::string& bytes) {
    return std::string(1, char(encoding)) + bytes;
}

std::string id3v1Block(const std::string& title, const std::string& artist,
                       const std::string& comment, int b125, int b126, uint8_t genre) {
    std::string b(128, '\0');
    b.replace(0, 3, "TAG");
    b.replace(3, std::min<size_t>(30, title.size()), title.substr(0, 30));
    b.replace(33, std::min<size_t>(30, artist.size()), artist.substr(0, 30));
    b.replace(97, std::min<size_t>(30, comment.size()), comment.substr(0, 30));
    if (b125 >= 0)
        b[125] = char(b125);
    if (b126 >= 0)
        b[126] = char(b126);
    b[127] = char(genre);
    return b;
}

TempDir::TempDir() {
    std::random_device rd;
    m_path = std::filesystem::temp_directory_path() /
             ("rendolo-media-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool mutagenAvailable() {
    return std::system("/usr/bin/python3 -c 'import mutagen' >/dev/null 2>&1") == 0;
}

std::string runPython(const std::string& script, const std::string& file) {
    TempDir dir;
    const std::string scriptFile = dir.file("check.py");
    writeFile(scriptFile, script);
    const std::string cmd = "/usr/bin/python3 '" + scriptFile + "' '" + file + "'";
    std::string out;
    if (std::FILE* p = popen(cmd.c_str(), "r")) {
        std::array<char, 4096> buf;
        size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
            out.append(buf.data(), n);
        pclose(p);
    }
    return out;
}

} // namespace fixtures
