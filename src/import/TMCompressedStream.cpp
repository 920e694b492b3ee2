// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMCompressedStream.h"

#include <zlib.h>
#include <zstd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "core/platform/TMReadAvailable.h"

namespace tilemora {

TMCompression compressionForName(std::string_view path) {
  if (path.ends_with(".zst")) return TMCompression::kZstd;
  if (path.ends_with(".gz")) return TMCompression::kGzip;
  return TMCompression::kNone;
}

namespace {

constexpr size_t kBufferBytes = 1 << 17;

// What the first bytes of a stream say it is.
TMCompression compressionOf(const unsigned char* bytes, size_t count) {
  static constexpr unsigned char kZstdMagic[] = {0x28, 0xB5, 0x2F, 0xFD};
  static constexpr unsigned char kGzipMagic[] = {0x1F, 0x8B};
  if (count >= sizeof kZstdMagic && std::memcmp(bytes, kZstdMagic, sizeof kZstdMagic) == 0)
    return TMCompression::kZstd;
  if (count >= sizeof kGzipMagic && std::memcmp(bytes, kGzipMagic, sizeof kGzipMagic) == 0)
    return TMCompression::kGzip;
  return TMCompression::kNone;
}

class Decompressor {
 public:
  explicit Decompressor(std::FILE* raw) : raw_(raw), input_(kBufferBytes) {
    // The magic bytes are read into the input and stay there to be decoded.
    inputEnd_ = std::fread(input_.data(), 1, 4, raw_);
    kind_ = compressionOf(input_.data(), inputEnd_);
    if (kind_ == TMCompression::kZstd) zstd_ = ZSTD_createDStream();
    if (kind_ == TMCompression::kGzip) gzipReady_ = inflateInit2(&gzip_, 16 + MAX_WBITS) == Z_OK;
  }
  ~Decompressor() {
    if (zstd_ != nullptr) ZSTD_freeDStream(zstd_);
    if (gzipReady_) inflateEnd(&gzip_);
  }
  bool ready() const {
    return kind_ == TMCompression::kNone || zstd_ != nullptr || gzipReady_;
  }

  ssize_t read(char* into, size_t size) {
    if (failed_) return fail();
    switch (kind_) {
      case TMCompression::kNone: return readPlain(into, size);
      case TMCompression::kZstd: return readZstd(into, size);
      case TMCompression::kGzip: return readGzip(into, size);
    }
    return 0;
  }

 private:
  bool refill() {
    if (inputStart_ < inputEnd_) return true;
    inputStart_ = 0;
    inputEnd_ = readAvailable(raw_, reinterpret_cast<char*>(input_.data()), input_.size());
    return inputEnd_ > 0;
  }
  ssize_t fail() {
    failed_ = true;
    errno = std::ferror(raw_) ? EIO : EILSEQ;
    return -1;
  }

  ssize_t readPlain(char* into, size_t size) {
    if (inputStart_ < inputEnd_) {
      const size_t count = std::min(size, inputEnd_ - inputStart_);
      std::memcpy(into, input_.data() + inputStart_, count);
      inputStart_ += count;
      return ssize_t(count);
    }
    const size_t count = readAvailable(raw_, into, size);
    if (count == 0 && std::ferror(raw_)) return fail();
    return ssize_t(count);
  }

  ssize_t readZstd(char* into, size_t size) {
    ZSTD_outBuffer out{into, size, 0};
    while (out.pos == 0) {
      if (!refill()) {
        if (std::ferror(raw_) || !frameEnded_) return fail();  // cut short
        return 0;
      }
      ZSTD_inBuffer in{input_.data(), inputEnd_, inputStart_};
      const size_t result = ZSTD_decompressStream(zstd_, &out, &in);
      inputStart_ = in.pos;
      if (ZSTD_isError(result)) return fail();
      frameEnded_ = result == 0;
    }
    return ssize_t(out.pos);
  }

  ssize_t readGzip(char* into, size_t size) {
    // zlib counts in 32 bits: a larger request is served in part.
    const size_t wanted = std::min<size_t>(size, UINT32_MAX);
    gzip_.next_out = reinterpret_cast<Bytef*>(into);
    gzip_.avail_out = uInt(wanted);
    while (gzip_.avail_out == wanted) {
      if (!refill()) {
        if (std::ferror(raw_) || !frameEnded_) return fail();
        return 0;
      }
      // Members written one after another read as one stream, as gzip -d does.
      if (frameEnded_ && inflateReset(&gzip_) != Z_OK) return fail();
      gzip_.next_in = input_.data() + inputStart_;
      gzip_.avail_in = uInt(inputEnd_ - inputStart_);
      const int result = inflate(&gzip_, Z_NO_FLUSH);
      inputStart_ = inputEnd_ - gzip_.avail_in;
      if (result != Z_OK && result != Z_STREAM_END) return fail();
      frameEnded_ = result == Z_STREAM_END;
    }
    return ssize_t(wanted - gzip_.avail_out);
  }

  std::FILE* raw_;
  std::vector<unsigned char> input_;
  size_t inputStart_ = 0;
  size_t inputEnd_ = 0;
  TMCompression kind_ = TMCompression::kNone;
  ZSTD_DStream* zstd_ = nullptr;
  z_stream gzip_{};
  bool gzipReady_ = false;
  bool frameEnded_ = false;  // nothing is owed: the input may end here
  bool failed_ = false;
};

class Compressor {
 public:
  Compressor(std::FILE* raw, TMCompression kind) : raw_(raw), kind_(kind), output_(kBufferBytes) {
    if (kind_ == TMCompression::kZstd) {
      zstd_ = ZSTD_createCStream();
      if (zstd_ != nullptr) ZSTD_CCtx_setParameter(zstd_, ZSTD_c_compressionLevel, 3);
    }
    if (kind_ == TMCompression::kGzip)
      gzipReady_ = deflateInit2(&gzip_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                                Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Compressor() {
    if (zstd_ != nullptr) ZSTD_freeCStream(zstd_);
    if (gzipReady_) deflateEnd(&gzip_);
  }
  bool ready() const { return kind_ == TMCompression::kNone || zstd_ != nullptr || gzipReady_; }

  ssize_t write(const char* bytes, size_t size) {
    // zlib counts in 32 bits: a larger write goes in parts.
    constexpr size_t kPart = size_t(1) << 30;
    for (size_t done = 0; done < size; done += kPart) {
      if (failed_ || !compress(bytes + done, std::min(kPart, size - done), false)) return fail();
    }
    return ssize_t(size);
  }
  // Ends the compressed stream; false when anything was lost.
  bool close() { return !failed_ && compress(nullptr, 0, true) && std::ferror(raw_) == 0; }

 private:
  ssize_t fail() {
    failed_ = true;
    errno = errno ? errno : EIO;
    return -1;
  }
  bool writeOut(size_t count) { return std::fwrite(output_.data(), 1, count, raw_) == count; }

  bool compress(const char* bytes, size_t size, bool end) {
    switch (kind_) {
      case TMCompression::kNone: return size == 0 || std::fwrite(bytes, 1, size, raw_) == size;
      case TMCompression::kZstd: {
        ZSTD_inBuffer in{bytes, size, 0};
        for (;;) {
          ZSTD_outBuffer out{output_.data(), output_.size(), 0};
          const size_t left = ZSTD_compressStream2(zstd_, &out, &in, end ? ZSTD_e_end : ZSTD_e_continue);
          if (ZSTD_isError(left) || !writeOut(out.pos)) return false;
          if (end ? left == 0 : in.pos == in.size) return true;
        }
      }
      case TMCompression::kGzip: {
        gzip_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes));
        gzip_.avail_in = uInt(size);
        for (;;) {
          gzip_.next_out = output_.data();
          gzip_.avail_out = uInt(output_.size());
          const int result = deflate(&gzip_, end ? Z_FINISH : Z_NO_FLUSH);
          if (result == Z_STREAM_ERROR || !writeOut(output_.size() - gzip_.avail_out)) return false;
          if (end ? result == Z_STREAM_END : gzip_.avail_in == 0 && gzip_.avail_out != 0) return true;
        }
      }
    }
    return false;
  }

  std::FILE* raw_;
  TMCompression kind_;
  std::vector<unsigned char> output_;
  ZSTD_CStream* zstd_ = nullptr;
  z_stream gzip_{};
  bool gzipReady_ = false;
  bool failed_ = false;
};

template <class Cookie>
std::FILE* openCookie(std::unique_ptr<Cookie> cookie, const char* mode, cookie_io_functions_t functions) {
  if (!cookie->ready()) return nullptr;
  std::FILE* stream = fopencookie(cookie.get(), mode, functions);
  if (stream != nullptr) cookie.release();
  return stream;
}

}  // namespace

std::FILE* openDecompressing(std::FILE* raw) {
  cookie_io_functions_t functions{};
  functions.read = [](void* cookie, char* into, size_t size) {
    return static_cast<Decompressor*>(cookie)->read(into, size);
  };
  functions.close = [](void* cookie) {
    delete static_cast<Decompressor*>(cookie);
    return 0;
  };
  return openCookie(std::make_unique<Decompressor>(raw), "r", functions);
}

const char* decompressingFailure() {
  return errno == EILSEQ ? "the compressed data is damaged or cut short" : "the file could not be read";
}

std::FILE* openCompressing(std::FILE* raw, TMCompression compression) {
  cookie_io_functions_t functions{};
  functions.write = [](void* cookie, const char* bytes, size_t size) {
    return static_cast<Compressor*>(cookie)->write(bytes, size);
  };
  functions.close = [](void* cookie) {
    auto* compressor = static_cast<Compressor*>(cookie);
    const bool whole = compressor->close();
    delete compressor;
    return whole ? 0 : EOF;
  };
  return openCookie(std::make_unique<Compressor>(raw, compression), "w", functions);
}

}  // namespace tilemora
