#include "ui/png_rows.h"

#include <stdexcept>
#include <string>

namespace velmora::ui {
namespace {

constexpr std::size_t kChunkBytes = 1 << 18;
// Level 1 with the up filter keeps the files about as small as the toolkit's default level
// while compressing several times faster.
constexpr int kLevel = 1;

void PutBigEndian(unsigned char* at, std::uint32_t v) {
  at[0] = static_cast<unsigned char>(v >> 24);
  at[1] = static_cast<unsigned char>(v >> 16);
  at[2] = static_cast<unsigned char>(v >> 8);
  at[3] = static_cast<unsigned char>(v);
}

}  // namespace

PngRowWriter::PngRowWriter(const std::filesystem::path& path, int width, int height)
    : path_(path),
      out_(path, std::ios::binary | std::ios::trunc),
      width_(width),
      height_(height),
      row_(1 + 3 * static_cast<std::size_t>(width)),
      prior_(3 * static_cast<std::size_t>(width)) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("empty PNG image");
  Check();
  out_.write("\x89PNG\r\n\x1a\n", 8);
  unsigned char header[13] = {};
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header + 4, static_cast<std::uint32_t>(height));
  header[8] = 8;  // bits per channel
  header[9] = 2;  // RGB
  Chunk("IHDR", header, sizeof header);
  row_[0] = 2;  // filter type "up"
  chunk_.resize(kChunkBytes);
  if (deflateInit(&zip_, kLevel) != Z_OK) throw std::bad_alloc();
}

PngRowWriter::~PngRowWriter() {
  deflateEnd(&zip_);
}

void PngRowWriter::WriteRow(const std::uint32_t* pixels) {
  unsigned char* out = row_.data() + 1;
  unsigned char* prior = prior_.data();
  for (int x = 0; x < width_; ++x, out += 3, prior += 3) {
    const std::uint32_t p = pixels[x];
    const auto r = static_cast<unsigned char>(p >> 16);
    const auto g = static_cast<unsigned char>(p >> 8);
    const auto b = static_cast<unsigned char>(p);
    out[0] = static_cast<unsigned char>(r - prior[0]);
    out[1] = static_cast<unsigned char>(g - prior[1]);
    out[2] = static_cast<unsigned char>(b - prior[2]);
    prior[0] = r;
    prior[1] = g;
    prior[2] = b;
  }
  zip_.next_in = row_.data();
  zip_.avail_in = static_cast<uInt>(row_.size());
  Deflate(Z_NO_FLUSH);
  ++rows_;
}

void PngRowWriter::Finish() {
  if (rows_ != height_) throw std::logic_error("PNG finished before its last row");
  Deflate(Z_FINISH);
  Chunk("IEND", nullptr, 0);
  out_.close();
  Check();
}

void PngRowWriter::Deflate(int flush) {
  int status;
  do {
    zip_.next_out = chunk_.data();
    zip_.avail_out = static_cast<uInt>(chunk_.size());
    status = deflate(&zip_, flush);
    if (status == Z_STREAM_ERROR) throw std::logic_error("deflate failed");
    const std::size_t produced = chunk_.size() - zip_.avail_out;
    if (produced > 0) Chunk("IDAT", chunk_.data(), produced);
  } while (zip_.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
}

void PngRowWriter::Chunk(const char type[4], const unsigned char* data, std::size_t size) {
  unsigned char head[8];
  PutBigEndian(head, static_cast<std::uint32_t>(size));
  std::copy(type, type + 4, head + 4);
  uLong crc = crc32(0, head + 4, 4);
  if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
  unsigned char tail[4];
  PutBigEndian(tail, static_cast<std::uint32_t>(crc));
  out_.write(reinterpret_cast<const char*>(head), 8);
  if (size > 0) out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out_.write(reinterpret_cast<const char*>(tail), 4);
  Check();
}

void PngRowWriter::Check() {
  if (!out_) {
    throw std::runtime_error("画像ファイル " + path_.string() +
                             " を書き込めません。出力先のフォルダと空き容量を確認してください。");
  }
}

}  // namespace velmora::ui
