// Ogg Vorbis files made by the tests themselves (libvorbisenc), with the comments they need.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;
using Comments = std::vector<std::pair<std::string, std::string>>;

// Interleaved 16-bit samples of a sum of sines (one frequency per channel), amplitude 0..1.
std::vector<int16_t> sineFrames(int channels, int rate, int64_t frames, double frequency,
                                double amplitude = 0.5);
// Encodes interleaved samples at a fixed quality; the same input gives the same bytes.
Bytes encodeOgg(const std::vector<int16_t>& samples, int channels, int rate,
                const Comments& comments = {});
// A stereo 44.1 kHz piece of the given length whose frames all differ (a slow sweep), so a
// misplaced loop shows in the bytes.
Bytes sweepPiece(double seconds, const Comments& comments = {});
// The whole file decoded linearly with ov_read (16-bit little-endian), as the reference.
Bytes linearDecode(const Bytes& file, int* channels = nullptr, int* rate = nullptr);
