#include "oggFixture.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstring>

#include "media/oggLoader.h"

std::vector<int16_t> sineFrames(int channels, int rate, int64_t frames, double frequency,
                                double amplitude) {
    std::vector<int16_t> out(static_cast<size_t>(frames * channels));
    const double pi = 3.14159265358979323846;
    for (int64_t i = 0; i < frames; ++i) {
        const double v = amplitude * std::sin(2 * pi * frequency * static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c)
            out[static_cast<size_t>(i * channels + c)] =
                static_cast<int16_t>(std::lround(v * 32767));
    }
    return out;
}

Bytes encodeOgg(const std::vector<int16_t>& samples, int channels, int rate,
                const Comments& comments) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    vorbis_encode_init_vbr(&vi, channels, rate, 0.4f);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    for (const auto& c : comments) vorbis_comment_add_tag(&vc, c.first.c_str(), c.second.c_str());
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x4D6F7276);

    Bytes out;
    auto put = [&out](const ogg_page& page) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, commentPacket, codePacket;
    vorbis_analysis_headerout(&vd, &vc, &header, &commentPacket, &codePacket);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &commentPacket);
    ogg_stream_packetin(&os, &codePacket);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) put(page);

    const size_t frames = samples.size() / static_cast<size_t>(channels);
    const size_t step = 1024;
    for (size_t done = 0;; done += step) {
        const size_t n = done >= frames ? 0 : std::min(step, frames - done);
        if (n) {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = samples[(done + i) * channels + c] / 32768.0f;
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(n));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) put(page);
            }
        }
        if (!n) break;
    }
    while (ogg_stream_flush(&os, &page)) put(page);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

Bytes sweepPiece(double seconds, const Comments& comments) {
    const int rate = 44100;
    const int64_t frames = static_cast<int64_t>(seconds * rate);
    std::vector<int16_t> samples(static_cast<size_t>(frames * 2));
    const double pi = 3.14159265358979323846;
    double phase = 0;
    for (int64_t i = 0; i < frames; ++i) {
        phase +=
            2 * pi * (200.0 + 1800.0 * static_cast<double>(i) / static_cast<double>(frames)) / rate;
        samples[static_cast<size_t>(2 * i)] =
            static_cast<int16_t>(std::lround(12000 * std::sin(phase)));
        samples[static_cast<size_t>(2 * i + 1)] =
            static_cast<int16_t>(std::lround(9000 * std::cos(phase * 1.5)));
    }
    return encodeOgg(samples, 2, rate, comments);
}

Bytes linearDecode(const Bytes& file, int* channels, int* rate) {
    cOggStream stream;
    stream.allocation = std::malloc(file.size() + 1);
    stream.data = static_cast<uint8_t*>(stream.allocation);
    std::memcpy(stream.data, file.data(), file.size());
    stream.read = stream.data;
    stream.size = stream.left = file.size();
    OggVorbis_File vf;
    const ov_callbacks cb = {oggStreamRead, oggStreamSeek, oggStreamClose, oggStreamTell};
    Bytes pcm;
    if (ov_open_callbacks(&stream, &vf, nullptr, 0, cb) < 0) {
        std::free(stream.allocation);
        return pcm;
    }
    if (channels) *channels = ov_info(&vf, -1)->channels;
    if (rate) *rate = static_cast<int>(ov_info(&vf, -1)->rate);
    char buffer[4096];
    int bitstream = 0;
    for (;;) {
        long got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &bitstream);
        if (got == 0) break;
        if (got < 0) continue;
        pcm.insert(pcm.end(), buffer, buffer + got);
    }
    ov_clear(&vf);
    return pcm;
}
