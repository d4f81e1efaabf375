#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace korvex::sample {

// A small random generator whose sequence depends only on the seed, on every
// platform and compiler (the standard distributions do not promise that), so
// that the same seed always gives the same sample school.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next();
    // A whole number in [low, high], both included.
    int between(int low, int high);
    // True with the given chance (0 to 1).
    bool chance(double probability);
    // A number in [0, 1).
    double unit();
    // Roughly normal (sum of uniforms), mean 0, standard deviation about 1.
    double normal();

    template <typename T>
    const T& pick(const T* items, int count) {
        return items[between(0, count - 1)];
    }
    const QString& pick(const QStringList& items) {
        return items.at(between(0, int(items.size()) - 1));
    }

    // A generator for one part of the school, independent of how many
    // numbers other parts drew.
    SampleRandom fork(std::uint64_t salt) const;

private:
    std::uint64_t m_state;
};

// A stable 64-bit mix of a seed and some text, for values that must not
// depend on the order in which rows are visited.
std::uint64_t mixHash(std::uint64_t seed, const QString& text);
// The same as a number in [0, 1).
double mixUnit(std::uint64_t seed, const QString& text);

}  // namespace korvex::sample
