#include "fourier_transform.h"

#include <fftw3.h>

#include <memory>

namespace tovrel::measurement {
namespace {

struct FftwFree {
    void operator()(void* memory) const { fftw_free(memory); }
};
struct PlanDestroy {
    void operator()(fftw_plan plan) const { fftw_destroy_plan(plan); }
};

}  // namespace

std::vector<std::complex<double>> realSpectrum(const std::vector<double>& signal) {
    const std::size_t n = signal.size();
    if (n == 0) return {};
    const std::size_t bins = n / 2 + 1;
    std::unique_ptr<double, FftwFree> in(fftw_alloc_real(n));
    std::unique_ptr<fftw_complex, FftwFree> out(fftw_alloc_complex(bins));
    // Planning with ESTIMATE leaves the arrays alone, so they are filled afterwards.
    std::unique_ptr<std::remove_pointer_t<fftw_plan>, PlanDestroy> plan(
        fftw_plan_dft_r2c_1d(static_cast<int>(n), in.get(), out.get(), FFTW_ESTIMATE));
    std::copy(signal.begin(), signal.end(), in.get());
    fftw_execute(plan.get());
    std::vector<std::complex<double>> spectrum(bins);
    for (std::size_t k = 0; k < bins; ++k) spectrum[k] = {out.get()[k][0], out.get()[k][1]};
    return spectrum;
}

}  // namespace tovrel::measurement
