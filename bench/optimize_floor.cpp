// The floor of the optimisation batch: a full-size decode of every photo
// with the batch's settings (islow DCT, fancy upsampling, RGB out), each row
// into one reused buffer, as `djpeg > /dev/null` would; nothing else.
//   optimize_floor FILE...   prints the seconds taken for all files
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  unsigned checksum = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);  // a bench on our own photos: exiting on error is fine
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    d.dct_method = JDCT_ISLOW;
    d.do_fancy_upsampling = TRUE;
    jpeg_start_decompress(&d);
    std::vector<unsigned char> row(static_cast<size_t>(d.output_width) * 3);
    while (d.output_scanline < d.output_height) {
      JSAMPROW p = row.data();
      jpeg_read_scanlines(&d, &p, 1);
      checksum += row[d.output_scanline % row.size()];
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.4f\n", seconds);
  std::fprintf(stderr, "checksum %u\n", checksum);
  return 0;
}
