// ranvel-sounds: the game's sounds as files, to listen to and to look at.
//
//   ranvel-sounds OUTDIR   writes OUTDIR/NAME.wav (16-bit mono) and
//                          OUTDIR/NAME.png (its waveform) for every sound,
//                          and prints each one's length and loudest sample
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "replay/page_png.h"
#include "sound/sounds.h"

namespace {

constexpr int32_t PLOT_WIDTH = 1200;
constexpr int32_t PLOT_HEIGHT = 300;
// The plot's colours: paper, the axis and the time marks, the guides at the
// loudness allowed (-5 and -7 dB below full scale), the wave.
constexpr std::uint8_t PAPER = 0, AXIS = 1, GUIDE = 2, WAVE = 3;

void put_le(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool write_wav(const std::string& path, std::span<const std::int16_t> samples) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto data_bytes = static_cast<std::uint32_t>(2 * samples.size());
  out.write("RIFF", 4);
  put_le(out, 36 + data_bytes, 4);
  out.write("WAVEfmt ", 8);
  put_le(out, 16, 4);                // the format chunk's size
  put_le(out, 1, 2);                 // plain PCM
  put_le(out, 1, 2);                 // one channel
  put_le(out, SOUND_RATE, 4);
  put_le(out, 2 * SOUND_RATE, 4);    // bytes a second
  put_le(out, 2, 2);                 // bytes a sample
  put_le(out, 16, 2);                // bits a sample
  out.write("data", 4);
  put_le(out, data_bytes, 4);
  for (const std::int16_t s : samples) put_le(out, static_cast<std::uint16_t>(s), 2);
  return static_cast<bool>(out);
}

int32_t row_of(double level) {
  return std::clamp(static_cast<int32_t>(std::lround((1.0 - level) * (PLOT_HEIGHT - 1) / 2.0)), 0, PLOT_HEIGHT - 1);
}

// The waveform: every column the lowest and the highest sample under it, full
// scale at the top and bottom edges, a mark every 10 ms along the middle.
bool write_plot(const std::string& path, std::span<const std::int16_t> samples, std::string& error) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(PLOT_WIDTH) * PLOT_HEIGHT, PAPER);
  const auto put = [&](int32_t x, int32_t y, std::uint8_t c) {
    pixels[static_cast<std::size_t>(y) * PLOT_WIDTH + static_cast<std::size_t>(x)] = c;
  };
  const double per_column = static_cast<double>(samples.size()) / PLOT_WIDTH;
  for (int32_t x = 0; x < PLOT_WIDTH; ++x) {
    put(x, row_of(0.0), AXIS);
    for (const double db : {-5.0, -7.0}) {
      const double level = std::pow(10.0, db / 20.0);
      if (x % 4 < 2) {
        put(x, row_of(level), GUIDE);
        put(x, row_of(-level), GUIDE);
      }
    }
    // From the last sample of the column before, so the line runs on.
    const auto first = static_cast<std::size_t>(std::max(0.0, x * per_column - 1.0));
    const auto last = std::max(first + 2, static_cast<std::size_t>((x + 1) * per_column));
    if (first >= samples.size()) continue;
    const auto span = samples.subspan(first, std::min(last, samples.size()) - first);
    const auto [low, high] = std::minmax_element(span.begin(), span.end());
    for (int32_t y = row_of(*high / 32768.0); y <= row_of(*low / 32768.0); ++y) put(x, y, WAVE);
  }
  for (int32_t ms = 0;; ms += 10) {
    const double at = ms * (SOUND_RATE / 1000.0);
    if (at >= static_cast<double>(samples.size())) break;
    const int32_t x = std::min(static_cast<int32_t>(at / per_column), PLOT_WIDTH - 1);
    for (int32_t y = row_of(0.0) - (ms % 100 == 0 ? 8 : 3); y <= row_of(0.0); ++y) put(x, y, AXIS);
  }
  std::vector<std::uint8_t> palette(768, 0);
  const std::uint8_t colours[4][3] = {{255, 255, 255}, {120, 120, 120}, {220, 60, 60}, {30, 70, 170}};
  for (int i = 0; i < 4; ++i) std::copy(colours[i], colours[i] + 3, palette.begin() + 3 * i);
  return write_page_png(path, pixels.data(), PLOT_WIDTH, PLOT_HEIGHT, palette.data(), error);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: ranvel-sounds OUTDIR\n";
    return 2;
  }
  for (int32_t id = 0; id < SOUND_COUNT; ++id) {
    const std::span<const std::int16_t> samples = sound_samples(static_cast<SoundId>(id));
    const std::string base = std::string(argv[1]) + "/" + std::string(sound_name(id));
    std::string error;
    if (!write_wav(base + ".wav", samples)) error = "cannot write the WAV file";
    if (error.empty()) write_plot(base + ".png", samples, error);
    if (!error.empty()) {
      std::cerr << "ranvel-sounds: " << base << ": " << error << "\n";
      return 1;
    }
    int32_t loudest = 0;
    for (const std::int16_t s : samples) loudest = std::max(loudest, std::abs(static_cast<int32_t>(s)));
    std::printf("%-6s %5.0f ms  peak %6.2f dBFS  first sample %d, last %d\n", std::string(sound_name(id)).c_str(),
                1000.0 * static_cast<double>(samples.size()) / SOUND_RATE, 20.0 * std::log10(loudest / 32768.0),
                samples.front(), samples.back());
  }
  return 0;
}
