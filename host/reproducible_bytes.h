// Two things libsndfile writes from the clock, so the same render would never give the same
// bytes twice: the serial number of an Ogg stream (Vorbis, Opus), and the time in the PEAK
// chunk of an RF64 file (which, unlike WAV and AIFF, it writes even when told not to).
#pragma once

namespace tovrel {

// Rewrites the finished file open on `fd` in place for its libsndfile `format`: every Ogg page
// gets one constant serial number (and its checksum anew), an RF64 PEAK chunk the time zero.
// Other formats are left alone. Throws HostError if the file cannot be read or written.
void makeReproducible(int fd, int format, const char* path);

}  // namespace tovrel
