// The discrete Fourier transform of a real signal, bins 0 to N/2, by FFTW. Planned with
// FFTW_ESTIMATE: a measured plan could differ between runs and change the last bits.
#pragma once

#include <complex>
#include <vector>

namespace tovrel::measurement {

// X[k] = sum over n of x[n] exp(-2 pi i k n / N), for k = 0 .. N/2.
std::vector<std::complex<double>> realSpectrum(const std::vector<double>& signal);

// Frequency in Hz of bin k of an N-point transform.
inline double binFrequency(std::size_t bin, std::size_t points, double sampleRate) {
    return static_cast<double>(bin) * sampleRate / static_cast<double>(points);
}

}  // namespace tovrel::measurement
