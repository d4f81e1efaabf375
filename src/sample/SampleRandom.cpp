#include "sample/SampleRandom.h"

namespace korvex::sample {
namespace {

// splitmix64: one multiply-xorshift step per number; good enough for sample
// data and identical everywhere.
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

}  // namespace

std::uint64_t SampleRandom::next() {
    m_state += 0x9e3779b97f4a7c15ULL;
    return mix(m_state);
}

int SampleRandom::between(int low, int high) {
    if (high <= low) return low;
    const std::uint64_t span = std::uint64_t(high - low) + 1;
    return low + int(next() % span);
}

double SampleRandom::unit() { return double(next() >> 11) / double(1ULL << 53); }

bool SampleRandom::chance(double probability) { return unit() < probability; }

double SampleRandom::normal() {
    // Irwin-Hall with 12 terms: mean 6, variance 1.
    double sum = 0;
    for (int i = 0; i < 12; ++i) sum += unit();
    return sum - 6.0;
}

SampleRandom SampleRandom::fork(std::uint64_t salt) const {
    return SampleRandom(mix(m_state ^ mix(salt + 0x632be59bd9b4e019ULL)));
}

std::uint64_t mixHash(std::uint64_t seed, const QString& text) {
    std::uint64_t h = mix(seed + 0x9e3779b97f4a7c15ULL);
    for (const QChar c : text) h = mix(h ^ c.unicode());
    return h;
}

double mixUnit(std::uint64_t seed, const QString& text) {
    return double(mixHash(seed, text) >> 11) / double(1ULL << 53);
}

}  // namespace korvex::sample
