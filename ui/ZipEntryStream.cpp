#include <windows.h>

#include "ui/ZipEntryStream.h"
#include "ui/ZipSource.h"
#include "ui/ZipTypes.h"

#include <algorithm>
#include <cstring>

namespace SkinUI {

namespace {

constexpr size_t kInputSize = 16384;
constexpr unsigned int kEncryptionHeaderSize = 12;

uint32_t CrcByte(uint32_t crc, uint8_t c) {
    return static_cast<uint32_t>(get_crc_table()[(crc ^ c) & 0xFF]) ^ (crc >> 8);
}

} // namespace

ZipEntryStream::CryptKeys::CryptKeys(const std::string& password) {
    for (const char c : password)
        Update(static_cast<uint8_t>(c));
}

void ZipEntryStream::CryptKeys::Update(uint8_t c) {
    k0_ = CrcByte(k0_, c);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = CrcByte(k2_, static_cast<uint8_t>(k1_ >> 24));
}

uint8_t ZipEntryStream::CryptKeys::Decrypt(uint8_t c) {
    const uint16_t t = static_cast<uint16_t>(k2_ | 2);
    const uint8_t plain = c ^ static_cast<uint8_t>((t * (t ^ 1)) >> 8);
    Update(plain);
    return plain;
}

ZipEntryStream::~ZipEntryStream() {
    Close();
}

int ZipEntryStream::Open(ZipSource& source, const ZipEntryData& data, const std::string& password) {
    Close();
    if (data.method != 0 && data.method != Z_DEFLATED)
        return UNZ_BADZIPFILE;
    source_ = &source;
    data_ = data;
    readPos_ = data.dataStart;
    compressedLeft_ = data.compressedSize;
    uncompressedLeft_ = data.uncompressedSize;
    crc_ = 0;
    error_ = UNZ_OK;
    inputPos_ = inputLen_ = 0;
    if (data.flags & 1) {
        const int r = OpenDecryption(password);
        if (r != UNZ_OK) {
            keys_.reset();
            return r;
        }
    }
    inputData_ = nullptr;
    if (data.method == Z_DEFLATED) {
        zs_ = z_stream{};
        if (inflateInit2(&zs_, -MAX_WBITS) != Z_OK) {
            keys_.reset();
            return UNZ_OUTOFMEMORY;
        }
        inflating_ = true;
    }
    open_ = true;
    return UNZ_OK;
}

// The traditional zip encryption: a 12-byte header whose last byte repeats
// the high byte of the CRC-32 (or of the DOS time when a data descriptor
// follows) tells a right password from a wrong one.
int ZipEntryStream::OpenDecryption(const std::string& password) {
    if (password.empty() || compressedLeft_ < kEncryptionHeaderSize)
        return UNZ_PASSWORD;
    uint8_t header[kEncryptionHeaderSize];
    if (source_->ReadAt(readPos_, header, sizeof header) != sizeof header)
        return UNZ_ERRNO;
    keys_.emplace(password);
    uint8_t last = 0;
    for (uint8_t c : header)
        last = keys_->Decrypt(c);
    const uint8_t expected = (data_.flags & 8) ? static_cast<uint8_t>(data_.dosTime >> 8)
                                               : static_cast<uint8_t>(data_.crc >> 24);
    if (last != expected)
        return UNZ_PASSWORD;
    readPos_ += kEncryptionHeaderSize;
    compressedLeft_ -= kEncryptionHeaderSize;
    return UNZ_OK;
}

// Makes the next input available: all that is left when the archive is in
// memory and needs no decryption, else the next piece of the file.
int ZipEntryStream::Refill() {
    if (compressedLeft_ == 0)
        return 0;
    size_t got = compressedLeft_;
    inputData_ = keys_ ? nullptr : source_->MemoryAt(readPos_, got);
    if (!inputData_) {
        got = std::min<size_t>(kInputSize, compressedLeft_);
        if (input_.size() < kInputSize)
            input_.resize(kInputSize);
        if (source_->ReadAt(readPos_, input_.data(), got) != got)
            return UNZ_ERRNO;
        if (keys_) {
            for (size_t i = 0; i < got; ++i)
                input_[i] = keys_->Decrypt(input_[i]);
        }
        inputData_ = input_.data();
    }
    readPos_ += got;
    compressedLeft_ -= static_cast<uint32_t>(got);
    inputPos_ = 0;
    inputLen_ = got;
    return 1;
}

// With all input handed over and room for all output, zlib inflates the
// entry in one call and skips keeping its window.
int ZipEntryStream::FlushMode(unsigned int room) const {
    return compressedLeft_ == 0 && room >= uncompressedLeft_ ? Z_FINISH : Z_SYNC_FLUSH;
}

void ZipEntryStream::Deliver(const uint8_t* data, unsigned int size) {
    crc_ = crc32(crc_, data, size);
    uncompressedLeft_ -= size;
}

int ZipEntryStream::Read(void* buffer, unsigned int size) {
    if (!open_)
        return UNZ_PARAMERROR;
    if (error_ != UNZ_OK)
        return error_;
    if (!buffer && size != 0)
        return UNZ_PARAMERROR;
    unsigned int delivered = 0;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    const int r =
        data_.method == 0 ? ReadStored(out, size, delivered) : ReadDeflated(out, size, delivered);
    if (r != UNZ_OK) {
        error_ = r;
        if (delivered == 0)
            return r;
    }
    return static_cast<int>(delivered);
}

int ZipEntryStream::ReadStored(uint8_t* out, unsigned int size, unsigned int& delivered) {
    while (delivered < size && uncompressedLeft_ > 0) {
        if (inputPos_ == inputLen_) {
            const int got = Refill();
            if (got < 0)
                return got;
            if (got == 0)
                return UNZ_BADZIPFILE; // the data ends before the declared size
        }
        const unsigned int n = static_cast<unsigned int>(
            std::min<uint64_t>({inputLen_ - inputPos_, size - delivered, uncompressedLeft_}));
        memcpy(out + delivered, inputData_ + inputPos_, n);
        Deliver(out + delivered, n);
        inputPos_ += n;
        delivered += n;
    }
    return UNZ_OK;
}

int ZipEntryStream::ReadDeflated(uint8_t* out, unsigned int size, unsigned int& delivered) {
    while (delivered < size && uncompressedLeft_ > 0) {
        if (zs_.avail_in == 0 && compressedLeft_ > 0) {
            const int got = Refill();
            if (got < 0)
                return got;
            zs_.next_in = const_cast<Bytef*>(inputData_);
            zs_.avail_in = static_cast<uInt>(inputLen_);
        }
        uint8_t* const start = out + delivered;
        zs_.next_out = start;
        zs_.avail_out = std::min(size - delivered, uncompressedLeft_);
        const uInt inBefore = zs_.avail_in;
        const uInt outBefore = zs_.avail_out;
        const int z = inflate(&zs_, FlushMode(size - delivered));
        const unsigned int produced = outBefore - zs_.avail_out;
        Deliver(start, produced);
        delivered += produced;
        if (z == Z_STREAM_END)
            return uncompressedLeft_ > 0 ? UNZ_BADZIPFILE : UNZ_OK;
        if (z != Z_OK && z != Z_BUF_ERROR)
            return UNZ_BADZIPFILE;
        if (produced == 0 && zs_.avail_in == inBefore)
            return UNZ_BADZIPFILE; // no progress: the data ended early or is damaged
    }
    return UNZ_OK;
}

int ZipEntryStream::Close() {
    if (!open_)
        return UNZ_OK;
    const bool complete = uncompressedLeft_ == 0 && error_ == UNZ_OK;
    const int result = complete && crc_ != data_.crc ? UNZ_CRCERROR : UNZ_OK;
    if (inflating_)
        inflateEnd(&zs_);
    inflating_ = false;
    zs_ = z_stream{};
    input_.clear();
    input_.shrink_to_fit();
    inputData_ = nullptr;
    keys_.reset();
    open_ = false;
    source_ = nullptr;
    return result;
}

} // namespace SkinUI
