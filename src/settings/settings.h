#pragma once
// The Settings record: every setting of a run, one nested struct per preferences group, fields in the order of
// settings_table.h. A default-constructed record is all zeros and empty texts; ResetSettings gives the defaults.
// Field names are the camelCase of the key: "Output/JPG Quality" is output.jpgQuality.
#include <cstdint>
#include <string>

#include "settings/setting_codes.h"

namespace lumivane {

// Flags are int8: 0 is off, every other value is on. Code-valued settings have the code types of setting_codes.h.
// Colours are "RRGGBB" texts (see colour.h).
// Date/time values are seconds since 1970 on the local wall clock.
struct Settings {
  std::string configPath;  // full path of the configuration file; empty in a command-line run

  struct General {
    std::int32_t cfg{};                // configuration layout version, 19 after a reset
    std::string language;              // user-interface language code (windowed edition)
    std::int32_t updateRange{};        // update-check interval choice (windowed edition)
    std::int32_t updateDate{};         // date of the last update check (windowed edition)
    std::int8_t saveWindowPosition{};  // flag: remember the main window placement
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

  struct Interface {        // windowed edition only
    std::string uiTheme;    // theme name
    std::int32_t uiSize{};  // icon and control size choice
    bool operator==(const Interface&) const = default;
  } interface;

  struct Input {
    std::string format;  // input format shown by the preferences dialog (windowed edition)
    DdsLoadAs ddsLoadAs{};
    FrameLoading gifFrameLoading{};
    FrameLoading icoFrameLoading{};
    FrameLoading tiffFrameLoading{};
    ColorMode psdColorMode{};
    RawLoadAs rawLoadAs{};
    std::int32_t rawHeaderSize{};   // bytes to skip before headerless pixel data
    std::int32_t rawImageWidth{};   // pixel width of headerless data
    std::int32_t rawImageHeight{};  // pixel height of headerless data
    ToneMapping rawToneMapping{};
    bool operator==(const Input&) const = default;
  } input;

  struct Output {
    std::string format;     // selected output format identifier (windowed edition)
    std::int32_t bmpBpp{};  // bit depth, 0 automatic (same for every *Bpp below)
    RleCompression bmpCompression{};
    ColorTable bmpColorTable{};
    std::int32_t ddsBpp{};
    std::int32_t exrBpp{};
    ExrCompression exrCompression{};
    std::int32_t gifBpp{};
    std::int32_t hdrBpp{};
    std::int32_t icoBpp{};
    std::int32_t j2kBpp{};
    std::int32_t jngBpp{};
    std::int32_t jp2Bpp{};
    std::int32_t jpgBpp{};
    std::int32_t jpgQuality{};
    ChromaSubsampling jpgChroma{};
    JpegSaveAs jpgSaveAs{};
    std::int32_t jxrBpp{};
    std::int32_t pbmBpp{};
    std::int32_t pcxBpp{};
    std::int32_t pfmBpp{};
    std::int32_t pgmBpp{};
    std::int32_t pngBpp{};
    PngCompression pngCompression{};
    std::int8_t pngInterlaced{};  // flag
    std::int32_t ppmBpp{};
    std::int32_t psdBpp{};
    std::int32_t tgaBpp{};
    RleCompression tgaCompression{};
    std::int32_t tiffBpp{};
    TiffCompression tiffCompression{};
    ColorMode tiffColorMode{};
    std::int32_t wbmpBpp{};
    std::int32_t webpBpp{};
    std::int32_t webpQuality{};  // 100 lossless
    std::int32_t xpmBpp{};
    bool operator==(const Output&) const = default;
  } output;

  struct Transform {
    std::int8_t doImageRotation{};  // flag: rotate
    RotationType imageRotationType{};
    std::int32_t imageRotation{};        // degrees
    std::string imageRotationBackColor;  // colour of the area uncovered by rotation
    std::int8_t doImageResize{};         // flag: resize
    std::int32_t imageWidth{};           // target width in imageWidthUnit
    SizeUnit imageWidthUnit{};
    std::int32_t imageHeight{};  // target height in imageHeightUnit
    SizeUnit imageHeightUnit{};
    std::int8_t keepAspectRatio{};  // flag; 0 on the command line, 1 in the windowed edition
    ResizeType imageResizeType{};
    ResizeAlgorithm imageResizeAlgorithm{};
    std::int8_t doImageFlipHorizontal{};  // flag
    std::int8_t doImageFlipVertical{};    // flag
    bool operator==(const Transform&) const = default;
  } transform;

  struct Adjustment {
    std::int8_t doImageColorCorrection{};  // flag: brightness, contrast, gamma and invert
    std::int32_t imageBrightness{};        // percent
    std::int32_t imageContrast{};          // percent
    float imageGamma{};                    // 1 leaves the image unchanged
    std::int8_t imageInvert{};             // flag
    std::int8_t doImageGreyscale{};        // flag
    std::int8_t doImageThreshold{};        // flag
    std::int32_t imageThreshold{};         // 0..255
    std::int8_t doImageDither{};           // flag
    DitherAlgorithm imageDitherAlgorithm{};
    bool operator==(const Adjustment&) const = default;
  } adjustment;

  struct Frame {
    FrameKind doFrame{};
    std::int32_t solidLeft{};  // border widths in pixels
    std::int32_t solidRight{};
    std::int32_t solidTop{};
    std::int32_t solidBottom{};
    std::string solidLeftColor;  // border colours
    std::string solidRightColor;
    std::string solidTopColor;
    std::string solidBottomColor;
    std::int32_t solidOpacity{};  // 0..255, 255 opaque
    bool operator==(const Frame&) const = default;
  } frame;

  struct Watermark {
    WatermarkKind doWatermark{};
    std::string text;            // watermark text
    std::string fonts;           // font picker list (windowed edition)
    std::string font;            // font face name
    std::int32_t fontSize{};     // font size
    std::int32_t fontLeading{};  // extra spacing between text lines
    std::string fontColors;      // text colour palette (windowed edition)
    std::string fontColor;       // text colour
    FontStyle fontStyle{};
    FontEffect fontEffect{};
    std::int8_t textAntialiasing{};  // flag
    TextAlignment textAlignment{};
    std::int32_t textPadding{};  // pixels around the text
    std::int32_t textOpacity{};  // 0..255
    std::string backColors;      // background colour palette (windowed edition)
    std::string backColor;       // text background colour
    std::int32_t backOpacity{};  // 0..255
    Boundary textBoundary{};
    Position textPosition{};
    std::int32_t textXOffset{};    // pixels
    std::int32_t textYOffset{};    // pixels
    std::int32_t textRotation{};   // degrees
    SizeMode textSize{};           // the only mode
    std::int32_t textScale{};      // windowed edition only
    std::string image;             // path of the watermark picture
    std::int8_t imageGreyscale{};  // flag
    std::int32_t imageOpacity{};   // 0..255
    Boundary imageBoundary{};
    Position imagePosition{};
    std::int32_t imageXOffset{};   // pixels
    std::int32_t imageYOffset{};   // pixels
    std::int32_t imageRotation{};  // degrees
    SizeMode imageSize{};          // the only mode
    std::int32_t imageScale{};     // windowed edition only
    bool operator==(const Watermark&) const = default;
  } watermark;

  struct Advanced {
    std::string filenameMask;  // output file name mask
    FileTimestamp fileTimestamp{};
    std::int32_t customTimestamp{};   // local wall-clock seconds
    std::int8_t outFoldersHistory{};  // windowed edition only
    std::int8_t outFoldersNumber{};   // windowed edition only
    std::int8_t keepSubfolders{};     // flag: reproduce input subfolders below the output folder
    MetadataKeeping metadata{};       // which of the input's metadata the outputs carry
    bool operator==(const Advanced&) const = default;
  } advanced;

  struct File {                    // windowed edition only
    std::string txtFields;         // loaded, never saved, no effect
    std::string csvDelimiter;      // loaded, never saved, no effect
    std::string recentOutFolders;  // recent output folders
    std::string recentFiles;       // loaded and saved, otherwise unused
    bool operator==(const File&) const = default;
  } file;

  struct Privacy {                   // windowed edition only
    std::int8_t cleanRecentFiles{};  // loaded and saved, otherwise unused
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
// the windowed ones. Leaves configPath alone.
void ResetSettings(Settings& settings, bool commandLine);
inline void ResetSettings(bool commandLine) { ResetSettings(gSettings, commandLine); }

}  // namespace lumivane
