// Reads raw signed 16-bit little-endian samples (as parec records them) and
// prints how many are not silent and the peak in dBFS:
//   pcm_peak FILE [FROM_BYTE [TO_BYTE]]
// Exit 0 when some sample rose above the noise floor, 1 when all was silent.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: pcm_peak FILE [FROM_BYTE [TO_BYTE]]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "pcm_peak: cannot read %s\n", argv[1]);
        return 2;
    }
    const long long from = argc > 2 ? std::atoll(argv[2]) : 0;
    const long long to = argc > 3 ? std::atoll(argv[3]) : -1;
    in.seekg(from - from % 2);
    long long position = from - from % 2;
    int peak = 0;
    long long loud = 0;
    long long samples = 0;
    unsigned char pair[2];
    while ((to < 0 || position + 2 <= to) && in.read(reinterpret_cast<char*>(pair), 2)) {
        const auto sample = static_cast<std::int16_t>(pair[0] | (pair[1] << 8));
        const int magnitude = std::abs(static_cast<int>(sample));
        peak = std::max(peak, magnitude);
        if (magnitude > 64) // about -54 dBFS: well above dither, far below any cue
            ++loud;
        ++samples;
        position += 2;
    }
    const double dbfs = peak > 0 ? 20.0 * std::log10(peak / 32768.0) : -INFINITY;
    std::printf("samples %lld, loud %lld, peak %d (%.1f dBFS)\n", samples, loud, peak, dbfs);
    return loud > 0 ? 0 : 1;
}
