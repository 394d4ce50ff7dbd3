#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include <zlib.h>

namespace velmora::ui {

// An opaque 8-bit RGB PNG file written a pixel row at a time, top to bottom, so that no whole
// image has to be in memory. Each row is stored with the "up" filter (the difference to the row
// above), which leaves little but zeros in a chart's flat bands and rows.
class PngRowWriter {
 public:
  // Creates the file; throws when it cannot be created.
  PngRowWriter(const std::filesystem::path& path, int width, int height);
  ~PngRowWriter();
  PngRowWriter(const PngRowWriter&) = delete;
  PngRowWriter& operator=(const PngRowWriter&) = delete;

  // One row of `width` pixels as 0xAARRGGBB words (the alpha byte is not stored).
  void WriteRow(const std::uint32_t* pixels);
  // Ends the file once every row is written; throws when it could not be completed.
  void Finish();

 private:
  void Deflate(int flush);
  void Chunk(const char type[4], const unsigned char* data, std::size_t size);
  void Check();

  std::filesystem::path path_;
  std::ofstream out_;
  int width_;
  int height_;
  int rows_ = 0;
  z_stream zip_{};
  std::vector<unsigned char> row_;    // filter byte and RGB of the current row
  std::vector<unsigned char> prior_;  // RGB of the row above
  std::vector<unsigned char> chunk_;  // compressed data not yet written
};

}  // namespace velmora::ui
