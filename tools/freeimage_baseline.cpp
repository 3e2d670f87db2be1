// freeimage_baseline <raw-load-flags> <output-folder> <file>...: the least a converter can do with FreeImage:
// load each camera RAW file and save it as JPEG with the same quality and subsampling as our defaults. The
// benchmarks compare lumivanecmd against this.
#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: freeimage_baseline <raw-load-flags> <output-folder> <file>...\n");
    return 2;
  }
  const int flags = std::atoi(argv[1]);
  const std::string folder = argv[2];
  int failed = 0;
  for (int i = 3; i < argc; ++i) {
    FIBITMAP* image = FreeImage_Load(FIF_RAW, argv[i], flags);
    if (image == nullptr) image = FreeImage_Load(FIF_JPEG, argv[i], JPEG_ACCURATE | JPEG_EXIFROTATE);
    if (image == nullptr) {
      ++failed;
      continue;
    }
    if (FreeImage_GetBPP(image) != 24) {
      FIBITMAP* converted = FreeImage_ConvertTo24Bits(image);
      FreeImage_Unload(image);
      image = converted;
    }
    std::string name = argv[i];
    name = name.substr(name.find_last_of('/') + 1);
    const std::string output = folder + "/" + name.substr(0, name.find_last_of('.')) + ".jpg";
    if (image == nullptr || !FreeImage_Save(FIF_JPEG, image, output.c_str(), 95 | JPEG_SUBSAMPLING_444)) ++failed;
    if (image != nullptr) FreeImage_Unload(image);
  }
  return failed == 0 ? 0 : 1;
}
