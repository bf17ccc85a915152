#pragma once
#include <windows.h>

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace SkinUI {

class ZipSource;

// Where an entry's data lies and how it is stored, as the central directory
// and the local header describe it.
struct ZipEntryData {
    uint16_t method = 0; // 0 stored, 8 deflated
    uint16_t flags = 0;
    uint16_t dosTime = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint64_t dataStart = 0; // position in the source
};

// The data of one entry being read: read in place from an archive held in
// memory, else in pieces of at most 16384 bytes (also when a password
// applies, to decrypt them), inflated or copied, with the CRC-32 of what was
// delivered. Never delivers more than the declared size.
class ZipEntryStream {
public:
    ZipEntryStream() = default;
    ~ZipEntryStream();
    ZipEntryStream(const ZipEntryStream&) = delete;
    ZipEntryStream& operator=(const ZipEntryStream&) = delete;

    // UNZ_OK, UNZ_PASSWORD, UNZ_BADZIPFILE, UNZ_ERRNO or UNZ_OUTOFMEMORY.
    int Open(ZipSource& source, const ZipEntryData& data, const std::string& password);
    // The number of bytes delivered (0 at the entry's end), or an UNZ_ code
    // when nothing could be delivered. A failure after some bytes were
    // delivered is reported by the next call.
    int Read(void* buffer, unsigned int size);
    // UNZ_OK, or UNZ_CRCERROR when all data was read and its CRC-32 differs.
    int Close();

    bool IsOpen() const { return open_; }
    bool AtEnd() const { return open_ && uncompressedLeft_ == 0; }

private:
    class CryptKeys {
    public:
        explicit CryptKeys(const std::string& password);
        uint8_t Decrypt(uint8_t c);

    private:
        void Update(uint8_t c);
        uint32_t k0_ = 0x12345678, k1_ = 0x23456789, k2_ = 0x34567890;
    };

    int OpenDecryption(const std::string& password);
    int Refill();
    int FlushMode(unsigned int room) const;
    int ReadStored(uint8_t* out, unsigned int size, unsigned int& delivered);
    int ReadDeflated(uint8_t* out, unsigned int size, unsigned int& delivered);
    void Deliver(const uint8_t* data, unsigned int size);

    bool open_ = false;
    ZipSource* source_ = nullptr;
    ZipEntryData data_;
    std::vector<uint8_t> input_;         // pieces read from a file or decrypted
    const uint8_t* inputData_ = nullptr; // input_, or the archive's own memory
    size_t inputPos_ = 0, inputLen_ = 0; // the stored method's unread input
    z_stream zs_ = {};
    bool inflating_ = false;
    std::optional<CryptKeys> keys_; // set when the entry is encrypted
    uint32_t crc_ = 0;
    uint64_t readPos_ = 0;
    uint32_t compressedLeft_ = 0;
    uint32_t uncompressedLeft_ = 0;
    int error_ = 0; // sticky failure
};

} // namespace SkinUI
