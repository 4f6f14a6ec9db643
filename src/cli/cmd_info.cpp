// rendolo-cli info FILE...: the analyser's result for each file as one JSON line.
#include "cli/clicommand.h"
#include "cli/jsonwriter.h"

#include "media/mpegaudio.h"

#include <cstdio>

static std::string hexBytes(const std::array<uint8_t, 4>& bytes) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X%02X", bytes[0], bytes[1], bytes[2], bytes[3]);
    return buf;
}

static std::string describe(const std::string& path, TMPEGaudio& a, bool& analysed) {
    analysed = a.Analyse(path);
    const FrameInfo& f = a.Frame();
    const VbrInfo& v = a.Vbr();
    const TID3v1& t1 = a.Tag1();
    const TID3v2& t2 = a.Tag2();
    JsonWriter j;
    j.beginObject();
    j.field("path", path);
    j.field("analysed", analysed);
    j.field("file_size", a.FileSize());
    j.beginObject("frame");
    j.field("found", f.Found);
    j.field("offset", int64_t(f.Offset));
    j.field("frame_length", int64_t(f.FrameLength));
    j.field("zero_side_info", f.ZeroSideInfo);
    j.field("header_bytes", hexBytes(f.HeaderBytes));
    j.field("version_code", int64_t(f.VersionCode));
    j.field("layer_code", int64_t(f.LayerCode));
    j.field("crc_protected", f.CrcProtected);
    j.field("bit_rate_index", int64_t(f.BitRateIndex));
    j.field("sample_rate_index", int64_t(f.SampleRateIndex));
    j.field("padded", f.Padded);
    j.field("private_bit", f.PrivateBit);
    j.field("mode_code", int64_t(f.ModeCode));
    j.field("mode_extension", int64_t(f.ModeExtension));
    j.field("copyright_bit", f.CopyrightBit);
    j.field("original_bit", f.OriginalBit);
    j.field("emphasis_code", int64_t(f.EmphasisCode));
    j.endObject();
    j.beginObject("vbr");
    j.field("found", v.Found);
    j.field("signature", v.Signature);
    j.field("frame_count", int64_t(v.FrameCount));
    j.field("byte_count", int64_t(v.ByteCount));
    j.field("quality", int64_t(v.Quality));
    j.field("encoder_tag", v.EncoderTag);
    j.endObject();
    j.field("tail_encoder_tag", a.TailEncoderTag());
    j.field("bit_rate_kbps", int64_t(a.BitRateKbps()));
    j.field("sample_rate_hz", int64_t(a.SampleRateHz()));
    j.field("duration_seconds", a.DurationSeconds());
    j.field("version_text", a.VersionText());
    j.field("layer", int64_t(a.Layer()));
    j.field("channel_mode_text", a.ChannelModeText());
    j.field("emphasis_text", a.EmphasisText());
    j.field("encoder_index", int64_t(a.EncoderIndex()));
    j.field("encoder_text", a.EncoderText());
    j.beginObject("id3v1");
    j.field("present", t1.Present());
    j.field("variant", int64_t(t1.Variant()));
    j.field("title", t1.Title());
    j.field("artist", t1.Artist());
    j.field("album", t1.Album());
    j.field("year", t1.Year());
    j.field("comment", t1.Comment());
    j.field("track", int64_t(t1.Track()));
    j.field("genre_index", int64_t(t1.GenreIndex()));
    j.field("genre_name", t1.GenreName());
    j.endObject();
    j.beginObject("id3v2");
    j.field("present", t2.Present());
    j.field("major_version", int64_t(t2.MajorVersion()));
    j.field("tag_size", t2.TagSize());
    j.field("title", t2.Title());
    j.field("artist", t2.Artist());
    j.field("album", t2.Album());
    j.field("track", int64_t(t2.Track()));
    j.field("year", t2.Year());
    j.field("genre", t2.Genre());
    j.field("comment", t2.Comment());
    j.field("composer", t2.Composer());
    j.field("encoder", t2.Encoder());
    j.field("copyright", t2.Copyright());
    j.field("language", t2.Language());
    j.field("link", t2.Link());
    j.endObject();
    j.endObject();
    return j.text();
}

static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "usage: rendolo-cli info FILE...\n";
        return 2;
    }
    TMPEGaudio analyser;
    int status = 0;
    for (const auto& path : args) {
        bool analysed = false;
        out << describe(path, analyser, analysed) << '\n';
        if (!analysed)
            status = 1; // the file could not be read as far as the analysis goes
    }
    return status;
}

static CliRegistrar reg({"info", "info FILE...  analyse MP3 files, one JSON line each", &run});
