#pragma once
// The edit steps of one file's conversion, in the order the pipeline runs them. Each step is handed the current
// image and returns the image that replaces it: when it makes a new bitmap it unloads the one it was given.
// Every step returns its input unchanged when it receives no image or when its setting is off; a library call
// that yields no image makes the step return nullptr (the file then fails).
#include <FreeImage.h>

#include <optional>
#include <string>

#include "pipeline/resize_plan.h"
#include "settings/settings.h"

namespace lumivane {

class DrawingFont;

FIBITMAP* RotateImage(FIBITMAP* image, const Settings& settings);
// The size RotateImage gives an image of `size` when it follows from the size alone: kept, or the sides swapped by
// a quarter turn; nullopt when the canvas grows to hold a turn by another angle.
std::optional<ImageSize> RotatedSize(ImageSize size, const Settings::Transform& transform);
// width and height: the image's size measured after rotation.
FIBITMAP* ResizeImage(FIBITMAP* image, int width, int height, const Settings& settings);
FIBITMAP* FlipImage(FIBITMAP* image, const Settings& settings);
FIBITMAP* AdjustImageColors(FIBITMAP* image, const Settings& settings);
FIBITMAP* GreyscaleImage(FIBITMAP* image, const Settings& settings);
FIBITMAP* ThresholdImage(FIBITMAP* image, const Settings& settings);
FIBITMAP* DitherImage(FIBITMAP* image, const Settings& settings);

// width and height: the working size (after resizing and the icon limit).
FIBITMAP* DrawSolidFrame(FIBITMAP* image, int width, int height, const Settings& settings);

// What a watermark needs beyond the settings: its text with the placeholders already filled for this file, and
// the batch's font (created once when the batch is validated).
struct WatermarkInputs {
  std::string text;
  const DrawingFont* font = nullptr;
};
FIBITMAP* DrawWatermark(FIBITMAP* image, int width, int height, const Settings& settings,
                        const WatermarkInputs& inputs);

// The font of a text watermark: face, size in points, style and effect of the settings. An empty font when it
// cannot be made (unknown face, size below 1).
DrawingFont LoadWatermarkFont(const Settings& settings);

}  // namespace lumivane
