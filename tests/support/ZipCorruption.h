#pragma once
#include <windows.h>

#include "tests/support/ZipWriter.h"

#include <cstdint>
#include <random>
#include <string>

namespace TestSupport {

// Seeded damage to a valid archive, for robustness tests: flipped bytes, cut
// or stretched files, header fields overwritten with extreme or random
// values or swapped with one another, inserted and removed bytes. Each call
// applies one to three of them; the same generator state gives the same
// damage.
std::string CorruptZip(const ZipImage& image, std::mt19937& random);

// The archive's bytes placed at the very end of readable memory, with
// no-access pages on both sides: a reader that strays past either end faults
// at once instead of reading neighbouring heap memory.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const void* Data() const { return data_; }
    unsigned int Size() const { return size_; }

private:
    void* region_ = nullptr;
    const void* data_ = nullptr;
    unsigned int size_ = 0;
};

} // namespace TestSupport
