#include "tools/render_check/probes.h"

#include <cinttypes>
#include <cmath>
#include <cstring>

#include "effect/dsp/maths/pow_five_scalar.h"
#include "effect/dsp/maths/tangent.h"
#include "effect/dsp/number/arithmetic.h"
#include "effect/dsp/number/exponent_bits.h"
#include "tools/render_check/bits.h"
#include "tools/render_check/fnv.h"
#include "tools/render_check/runtime_routines.h"
#include "tools/render_check/signals.h"

namespace tovrel::render {
namespace {

using dsp::DoubleDouble;

constexpr int kSamples = 40000;

// A double with a random sign and mantissa and a binary exponent in [low, high].
double randomDouble(NoiseSource& noise, int low, int high) {
    const std::uint64_t mantissa =
        (static_cast<std::uint64_t>(noise.next()) << 32 | noise.next()) & 0xfffffffffffffu;
    const std::uint64_t span = static_cast<std::uint64_t>(high - low + 1);
    const std::uint64_t exponent = static_cast<std::uint64_t>(low + 1023) + noise.next() % span;
    const std::uint64_t sign = static_cast<std::uint64_t>(noise.next() & 1u) << 63;
    return fromBits(sign | exponent << 52 | mantissa);
}

// A canonical pair: the low word is below half a unit in the last place of the high word.
DoubleDouble randomDoubleDouble(NoiseSource& noise, int low, int high) {
    const double hi = randomDouble(noise, low, high);
    if (noise.next() % 4 == 0) return dsp::widen(hi);
    return dsp::makeDoubleDouble(hi, hi * (noise.nextBipolar() * 0x1p-54));
}

void powFifth(ProbeVisitor& v) {
    NoiseSource noise(0x9051u);
    for (double x : {0.0, -0.0, 1.0, -1.0, 0.5, -0.5, 0x1p-1022, 0x1p-300}) {
        v.sample({bitsOf(x)}, {bitsOf(dsp::maths::powFiveScalar(x))});
    }
    for (int i = 0; i < kSamples; ++i) {
        const double x = randomDouble(noise, -40, -1);
        v.sample({bitsOf(x)}, {bitsOf(dsp::maths::powFiveScalar(x))});
    }
}

// The dither's power of two, over every exponent frexp can report.
void powTwo(ProbeVisitor& v) {
    for (int e = -1100; e <= 1100; ++e) {
        const double n = static_cast<double>(e + 62);
        v.sample({bitsOf(n)}, {bitsOf(dsp::powerOfTwo(e + 62))});
    }
}

// Pre-warping arguments formed as the coefficient setup forms them, then arbitrary ones.
void tangent(ProbeVisitor& v) {
    const DoubleDouble pi = dsp::widen(3.141592653589793);
    for (int rate = 8000; rate <= 384000; rate += 25) {
        const double cutoff = 19160.0 / static_cast<double>(rate);
        const double x = dsp::highWord(pi * dsp::widen(cutoff));
        v.sample({bitsOf(x)}, {bitsOf(dsp::maths::tangentOnSetupRange(x))});
    }
    NoiseSource noise(0x7a9u);
    for (int i = 0; i < kSamples; ++i) {
        const double x = randomDouble(noise, -20, 0);
        v.sample({bitsOf(x)}, {bitsOf(dsp::maths::tangentOnSetupRange(x))});
    }
}

void squareRoot(ProbeVisitor& v) {
    NoiseSource noise(0x5917u);
    for (int i = 0; i < kSamples; ++i) {
        const double x = static_cast<float>(std::fabs(randomDouble(noise, -30, 3)));
        v.sample({bitsOf(x)}, {bitsOf(std::sqrt(x))});
    }
}

void exponentDouble(ProbeVisitor& v) {
    NoiseSource noise(0xf4e1u);
    for (int i = 0; i < kSamples; ++i) {
        const double x = randomDouble(noise, -1074, 1023);
        int e = 0;
        const double m = std::frexp(x, &e);
        v.sample({bitsOf(x)},
                 {bitsOf(m), static_cast<std::uint64_t>(static_cast<std::int64_t>(e))});
    }
}

void exponentFloat(ProbeVisitor& v) {
    NoiseSource noise(0xf4e2u);
    for (int i = 0; i < kSamples; ++i) {
        const float x = static_cast<float>(randomDouble(noise, -149, 127));
        int e = 0;
        const float m = std::frexp(x, &e);
        v.sample({bitsOf(x)},
                 {bitsOf(m), static_cast<std::uint64_t>(static_cast<std::int64_t>(e))});
    }
}

template <DoubleDouble (*op)(DoubleDouble, DoubleDouble)>
void arithmetic(ProbeVisitor& v) {
    NoiseSource noise(0xdd00u);
    for (int i = 0; i < kSamples; ++i) {
        const DoubleDouble a = randomDoubleDouble(noise, -40, 40);
        // Every fourth pair nearly cancels; the others spread their exponents apart.
        const DoubleDouble b =
            i % 4 == 0 ? dsp::makeDoubleDouble(
                             -dsp::highWord(a) * (1.0 + noise.nextBipolar() * 0x1p-40), 0.0)
                       : randomDoubleDouble(noise, -60, 60);
        const DoubleDouble r = op(a, b);
        v.sample({bitsOf(dsp::highWord(a)), bitsOf(dsp::lowWord(a)), bitsOf(dsp::highWord(b)),
                  bitsOf(dsp::lowWord(b))},
                 {bitsOf(dsp::highWord(r)), bitsOf(dsp::lowWord(r))});
    }
}

DoubleDouble sum(DoubleDouble a, DoubleDouble b) {
    return a + b;
}
DoubleDouble difference(DoubleDouble a, DoubleDouble b) {
    return a - b;
}
DoubleDouble product(DoubleDouble a, DoubleDouble b) {
    return a * b;
}
DoubleDouble quotient(DoubleDouble a, DoubleDouble b) {
    return a / b;
}

class HashVisitor : public ProbeVisitor {
  public:
    void sample(std::initializer_list<std::uint64_t> arguments,
                std::initializer_list<std::uint64_t> results) override {
        for (std::uint64_t word : arguments) hash.add(word);
        for (std::uint64_t word : results) hash.add(word);
        ++count;
    }
    Fnv64 hash;
    long count = 0;
};

class PrintVisitor : public ProbeVisitor {
  public:
    PrintVisitor(std::FILE* out, long first, long count)
        : out_(out), first_(first), count_(count) {}
    void sample(std::initializer_list<std::uint64_t> arguments,
                std::initializer_list<std::uint64_t> results) override {
        if (index_ >= first_ && index_ - first_ < count_) {
            std::fprintf(out_, "sample %ld", index_);
            for (std::uint64_t word : arguments) std::fprintf(out_, " %016" PRIx64, word);
            std::fprintf(out_, " ->");
            for (std::uint64_t word : results) std::fprintf(out_, " %016" PRIx64, word);
            std::fprintf(out_, "\n");
        }
        ++index_;
    }

  private:
    std::FILE* out_;
    long first_, count_;
    long index_ = 0;
};

}  // namespace

const std::vector<Probe>& allProbes() {
    static const std::vector<Probe> probes{
        {"pow5", "maths", powFifth},
        {"pow2", "maths", powTwo},
        {"tan", "maths", tangent},
        {"sqrt", "maths", squareRoot},
        {"frexp", "maths", exponentDouble},
        {"frexpf", "maths", exponentFloat},
        {"qadd", "routine", arithmetic<routineAdd>},
        {"qsub", "routine", arithmetic<routineSubtract>},
        {"qmul", "routine", arithmetic<routineMultiply>},
        {"qdiv", "routine", arithmetic<routineDivide>},
        {"a+b", "operator", arithmetic<sum>},
        {"a-b", "operator", arithmetic<difference>},
        {"a*b", "operator", arithmetic<product>},
        {"a/b", "operator", arithmetic<quotient>},
    };
    return probes;
}

const Probe* findProbe(const std::string& name) {
    for (const Probe& probe : allProbes()) {
        if (name == probe.name) return &probe;
    }
    return nullptr;
}

void printProbeDigests(std::FILE* out) {
    for (const Probe& probe : allProbes()) {
        HashVisitor visitor;
        probe.run(visitor);
        std::fprintf(out, "probe %s %s count=%ld %016" PRIx64 "\n", probe.name, probe.kind,
                     visitor.count, visitor.hash.value());
    }
    std::fflush(out);
}

void printProbeSamples(std::FILE* out, const Probe& probe, long first, long count) {
    PrintVisitor visitor(out, first, count);
    probe.run(visitor);
    std::fflush(out);
}

}  // namespace tovrel::render
