#pragma once
// Test media the benchmarks make for themselves.

#include <QString>

// A photograph-like 4000 x 3000 JPEG: gradients and many edges, so the codec
// has work to do.
bool MakePhotoJpeg(const QString &path, int quality);
