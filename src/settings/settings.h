#pragma once
// The Settings record: every setting of a run, one nested struct per preferences group, fields in the order of
// settings_table.h. A default-constructed record is all zeros and empty texts; ResetSettings gives the defaults.
// Field names are the camelCase of the key: "Output/JPG Quality" is output.jpgQuality.
#include <cstdint>
#include <string>

namespace lumivane {

// Flags are int8: 0 is off, every other value is on. Colours are "RRGGBB" texts (see colour.h).
// Date/time values are seconds since 1970 on the local wall clock.
struct Settings {
  std::string configPath;  // full path of the configuration file; empty in a command-line run

  struct General {
    std::int32_t cfg{};                 // configuration layout version, 19 after a reset
    std::string language;               // user-interface language code (windowed edition)
    std::int32_t updateRange{};         // update-check interval choice (windowed edition)
    std::int32_t updateDate{};          // date of the last update check (windowed edition)
    std::int8_t saveWindowPosition{};   // flag: remember the main window placement
    bool operator==(const General&) const = default;
  } general;

  struct Window {                       // windowed edition only
    std::int8_t isMaximized{};          // main window maximised
    std::int32_t x{};                   // main window left edge
    std::int32_t y{};                   // main window top edge
    std::int32_t width{};               // main window width
    std::int32_t height{};              // main window height
    std::int8_t hidePasswords{};        // loaded, never saved, no effect
    std::int8_t showSinglePassword{};   // loaded, never saved, no effect
    std::int8_t showPasswordList{};     // loaded, never saved, no effect
    std::int8_t showCharacterSet{};     // loaded, never saved, no effect
    std::int8_t showAdvancedOptions{};  // loaded, never saved, no effect
    bool operator==(const Window&) const = default;
  } window;

  struct Interface {                    // windowed edition only
    std::string uiTheme;                // theme name
    std::int32_t uiSize{};              // icon and control size choice
    bool operator==(const Interface&) const = default;
  } interface;

  struct Input {
    std::string format;                 // input format shown by the preferences dialog (windowed edition)
    std::int32_t ddsLoadAs{};           // 0 automatic, 1 BGRA, 2 RGBA
    std::int32_t gifFrameLoading{};     // 0 all, 1 first, 2 middle, 3 last, 4 random
    std::int32_t icoFrameLoading{};     // same codes as GIF
    std::int32_t tiffFrameLoading{};    // same codes as GIF
    std::int32_t psdColorMode{};        // 0 RGB, 1 CMYK, 2 LAB
    std::int32_t rawLoadAs{};           // 0 auto, 1 8-bit, 2 16-bit, 3 24-bit, 4 48-bit half size, 5 48-bit
    std::int32_t rawHeaderSize{};       // bytes to skip before headerless pixel data
    std::int32_t rawImageWidth{};       // pixel width of headerless data
    std::int32_t rawImageHeight{};      // pixel height of headerless data
    std::int32_t rawToneMapping{};      // 0 none, 1 linear, 2 Drago, 3 Reinhard, 4 Fattal
    bool operator==(const Input&) const = default;
  } input;

  struct Output {
    std::string format;                 // selected output format identifier (windowed edition)
    std::int32_t bmpBpp{};              // bit depth, 0 automatic (same for every *Bpp below)
    std::int32_t bmpCompression{};      // 0 none, 1 RLE
    std::int32_t bmpColorTable{};       // 0 automatic palette, 1 exact palette
    std::int32_t ddsBpp{};
    std::int32_t exrBpp{};
    std::int32_t exrCompression{};      // 0 none, 1 ZIP, 2 PIZ, 3 PXR24, 4 B44
    std::int32_t gifBpp{};
    std::int32_t hdrBpp{};
    std::int32_t icoBpp{};
    std::int32_t j2kBpp{};
    std::int32_t jngBpp{};
    std::int32_t jp2Bpp{};
    std::int32_t jpgBpp{};
    std::int32_t jpgQuality{};          // 1..100
    std::int32_t jpgChroma{};           // 0 4:4:4, 1 4:2:2, 2 4:2:0, 3 4:1:1
    std::int32_t jpgSaveAs{};           // 0 standard, 1 baseline, 2 optimized, 3 progressive
    std::int32_t jxrBpp{};
    std::int32_t pbmBpp{};
    std::int32_t pcxBpp{};
    std::int32_t pfmBpp{};
    std::int32_t pgmBpp{};
    std::int32_t pngBpp{};
    std::int32_t pngCompression{};      // 0 none, 1/2/3 zlib level 1/6/9
    std::int8_t pngInterlaced{};        // flag
    std::int32_t ppmBpp{};
    std::int32_t psdBpp{};
    std::int32_t tgaBpp{};
    std::int32_t tgaCompression{};      // 0 none, 1 RLE
    std::int32_t tiffBpp{};
    std::int32_t tiffCompression{};     // 0 none .. 8 LogLuv
    std::int32_t tiffColorMode{};       // 0 RGB, 1 CMYK, 2 LAB (encodes like RGB)
    std::int32_t wbmpBpp{};
    std::int32_t webpBpp{};
    std::int32_t webpQuality{};         // 1..100, 100 lossless
    std::int32_t xpmBpp{};
    bool operator==(const Output&) const = default;
  } output;

  struct Transform {
    std::int8_t doImageRotation{};           // flag: rotate
    std::int8_t imageRotationType{};         // 0 simple, 1 advanced
    std::int32_t imageRotation{};            // degrees
    std::string imageRotationBackColor;      // colour of the area uncovered by rotation
    std::int8_t doImageResize{};             // flag: resize
    std::int32_t imageWidth{};               // target width in imageWidthUnit
    std::int8_t imageWidthUnit{};            // 0 pixels, 1 percent
    std::int32_t imageHeight{};              // target height in imageHeightUnit
    std::int8_t imageHeightUnit{};           // 0 pixels, 1 percent
    std::int8_t keepAspectRatio{};           // flag; 0 on the command line, 1 in the windowed edition
    std::int8_t imageResizeType{};           // 0 all images, 1 large images only
    std::int8_t imageResizeAlgorithm{};      // 0 box, 1 bilinear, 2 B-spline, 3 bicubic, 4 Catmull-Rom, 5 Lanczos
    std::int8_t doImageFlipHorizontal{};     // flag
    std::int8_t doImageFlipVertical{};       // flag
    bool operator==(const Transform&) const = default;
  } transform;

  struct Adjustment {
    std::int8_t doImageColorCorrection{};    // flag: brightness, contrast, gamma and invert
    std::int32_t imageBrightness{};          // -100..100
    std::int32_t imageContrast{};            // -100..100
    float imageGamma{};                      // 0.01..9.99, 1 leaves the image unchanged
    std::int8_t imageInvert{};               // flag
    std::int8_t doImageGreyscale{};          // flag
    std::int8_t doImageThreshold{};          // flag
    std::int32_t imageThreshold{};           // 0..255
    std::int8_t doImageDither{};             // flag
    std::int8_t imageDitherAlgorithm{};      // 0 Floyd-Steinberg, 1-3 Bayer 4/8/16, 4-6 cluster 6/8/16
    bool operator==(const Adjustment&) const = default;
  } adjustment;

  struct Frame {
    std::int8_t doFrame{};                   // 0 none, 1 solid frame
    std::int32_t solidLeft{};                // border widths in pixels
    std::int32_t solidRight{};
    std::int32_t solidTop{};
    std::int32_t solidBottom{};
    std::string solidLeftColor;              // border colours
    std::string solidRightColor;
    std::string solidTopColor;
    std::string solidBottomColor;
    std::int32_t solidOpacity{};             // 0..255, 255 opaque
    bool operator==(const Frame&) const = default;
  } frame;

  struct Watermark {
    std::int8_t doWatermark{};               // 0 none, 1 text, 2 image
    std::string text;                        // watermark text
    std::string fonts;                       // font picker list (windowed edition)
    std::string font;                        // font face name
    std::int32_t fontSize{};                 // font size
    std::int32_t fontLeading{};              // extra spacing between text lines
    std::string fontColors;                  // text colour palette (windowed edition)
    std::string fontColor;                   // text colour
    std::int8_t fontStyle{};                 // 0 regular, 1 bold, 2 italic, 3 bold italic
    std::int8_t fontEffect{};                // 0 none, 1 underline, 2 strikethrough
    std::int8_t textAntialiasing{};          // flag
    std::int8_t textAlignment{};             // 0 left, 1 centre, 2 right
    std::int32_t textPadding{};              // pixels around the text
    std::int32_t textOpacity{};              // 0..255
    std::string backColors;                  // background colour palette (windowed edition)
    std::string backColor;                   // text background colour
    std::int32_t backOpacity{};              // 0..255
    std::int8_t textBoundary{};              // 0 image, 1 frame
    std::int8_t textPosition{};              // 0 top left .. 8 bottom right
    std::int32_t textXOffset{};              // pixels
    std::int32_t textYOffset{};              // pixels
    std::int32_t textRotation{};             // degrees
    std::int8_t textSize{};                  // 0 fixed, the only mode
    std::int32_t textScale{};                // windowed edition only
    std::string image;                       // path of the watermark picture
    std::int8_t imageGreyscale{};            // flag
    std::int32_t imageOpacity{};             // 0..255
    std::int8_t imageBoundary{};             // as textBoundary
    std::int8_t imagePosition{};             // as textPosition
    std::int32_t imageXOffset{};             // pixels
    std::int32_t imageYOffset{};             // pixels
    std::int32_t imageRotation{};            // degrees
    std::int8_t imageSize{};                 // 0 fixed, the only mode
    std::int32_t imageScale{};               // windowed edition only
    bool operator==(const Watermark&) const = default;
  } watermark;

  struct Advanced {
    std::string filenameMask;                // output file name mask
    std::int8_t fileTimestamp{};             // 0 current time, 1 input file's time, 2 customTimestamp
    std::int32_t customTimestamp{};          // local wall-clock seconds
    std::int8_t outFoldersHistory{};         // windowed edition only
    std::int8_t outFoldersNumber{};          // windowed edition only
    std::int8_t keepSubfolders{};            // flag: reproduce input subfolders below the output folder
    bool operator==(const Advanced&) const = default;
  } advanced;

  struct File {                              // windowed edition only
    std::string txtFields;                   // loaded, never saved, no effect
    std::string csvDelimiter;                // loaded, never saved, no effect
    std::string recentOutFolders;            // recent output folders
    std::string recentFiles;                 // loaded and saved, otherwise unused
    bool operator==(const File&) const = default;
  } file;

  struct Privacy {                           // windowed edition only
    std::int8_t cleanRecentFiles{};          // loaded and saved, otherwise unused
    bool operator==(const Privacy&) const = default;
  } privacy;

  bool operator==(const Settings&) const = default;
};

// The process-wide record. Only the command-line driver and the batch driver touch it; everything else takes the
// settings it needs as parameters.
extern Settings gSettings;

// The layout version that a reset sets and that the configuration file is always saved with.
inline constexpr std::int32_t kConfigurationLayoutVersion = 19;

// Puts every setting to its default; commandLine selects the command-line defaults (Keep Aspect Ratio off) over
// the windowed ones. Leaves configPath alone. Needs the format registry (formats/registry.h).
void ResetSettings(Settings& settings, bool commandLine);
inline void ResetSettings(bool commandLine) { ResetSettings(gSettings, commandLine); }

}  // namespace lumivane
