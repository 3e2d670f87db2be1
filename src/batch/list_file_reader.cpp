#include "batch/list_file_reader.h"

#include <algorithm>

#include "platform/utf8.h"

namespace lumivane {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
constexpr std::uint32_t kCarriageReturn = 0x0D;
constexpr std::uint32_t kLineFeed = 0x0A;

// UTF-16 units of one line to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<std::uint32_t>& units) {
  std::string text;
  text.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint32_t unit = units[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(text, unit);  // a lone surrogate is written as U+FFFD
    }
  }
  return text;
}

}  // namespace

ListFileReader::ListFileReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb"), &std::fclose) {
  if (file_) SkipByteOrderMark();
}

bool ListFileReader::FillBuffer() {
  if (!file_) return false;
  // Keep what is left (at most three bytes while the mark is tested) in front of the new block.
  std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(position_),
            buffer_.begin() + static_cast<std::ptrdiff_t>(end_), buffer_.begin());
  end_ -= position_;
  position_ = 0;
  buffer_.resize(end_ + kBlockSize);
  const std::size_t got = std::fread(buffer_.data() + end_, 1, kBlockSize, file_.get());
  end_ += got;
  return got > 0;
}

void ListFileReader::SkipByteOrderMark() {
  while (end_ - position_ < 4 && FillBuffer()) {
  }
  const auto startsWith = [this](std::initializer_list<unsigned char> mark) {
    return end_ - position_ >= mark.size() && std::equal(mark.begin(), mark.end(), buffer_.begin() + position_);
  };
  // Tested in this order, so FF FE 00 00 counts as a UTF-16 mark.
  if (startsWith({0xFF, 0xFE})) {
    encoding_ = Encoding::kUtf16LittleEndian;
    position_ += 2;
  } else if (startsWith({0xEF, 0xBB, 0xBF})) {
    position_ += 3;
  } else if (startsWith({0xFE, 0xFF})) {
    encoding_ = Encoding::kUtf16BigEndian;
    position_ += 2;
  } else if (startsWith({0x00, 0x00, 0xFE, 0xFF})) {
    position_ += 4;
  }
}

bool ListFileReader::NextByte(unsigned char& byte) {
  if (position_ == end_ && !FillBuffer()) return false;
  byte = buffer_[position_++];
  return true;
}

bool ListFileReader::NextUnit(std::uint32_t& unit) {
  if (pendingUnit_) {
    pendingUnit_ = false;
    unit = pending_;
    return true;
  }
  unsigned char first = 0;
  if (!NextByte(first)) return false;
  if (encoding_ == Encoding::kUtf8) {
    unit = first;
    return true;
  }
  unsigned char second = 0;
  if (!NextByte(second)) return false;
  unit = encoding_ == Encoding::kUtf16LittleEndian ? (std::uint32_t{second} << 8) | first
                                                   : (std::uint32_t{first} << 8) | second;
  return true;
}

bool ListFileReader::NextLine(std::string& line) {
  line.clear();
  wideLine_.clear();
  std::uint32_t unit = 0;
  bool any = false;
  while (NextUnit(unit)) {
    any = true;
    if (unit == kLineFeed) break;
    if (unit == kCarriageReturn) {
      std::uint32_t next = 0;
      if (NextUnit(next) && next != kLineFeed) {
        pending_ = next;
        pendingUnit_ = true;
      }
      break;
    }
    if (encoding_ == Encoding::kUtf8) {
      line += static_cast<char>(unit);
    } else {
      wideLine_.push_back(unit);
    }
  }
  if (encoding_ != Encoding::kUtf8) line = Utf16ToUtf8(wideLine_);
  return any;
}

}  // namespace lumivane
