#include "batch/worker_greeting.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/settings_table.h"

namespace lumivane {
namespace {

constexpr std::uint32_t kMarker = 0x4C565747;  // "LVWG"

// A float row's value as a hexadecimal float ("0x1.3f7cedp+0"), which reads back bit for bit; the six decimals of
// a preferences file would round the value.
std::string ExactValueText(const Settings& settings, const SettingRow& row) {
  float value = 0;
  if (!GetSetting(settings, row, value) || !std::isfinite(value)) return FormatSetting(settings, row);
  char digits[64];
  const auto written = std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::hex);
  return std::string(std::signbit(value) ? "-0x" : "0x") + std::string(digits, written.ptr);
}

class Writer {
 public:
  template <typename Number>
  void Put(Number number) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&number);
    out_.insert(out_.end(), bytes, bytes + sizeof number);
  }
  void PutText(std::string_view text) {
    Put(static_cast<std::uint32_t>(text.size()));
    out_.insert(out_.end(), text.begin(), text.end());
  }
  std::vector<unsigned char> Take() { return std::move(out_); }

 private:
  std::vector<unsigned char> out_;
};

class Reader {
 public:
  explicit Reader(std::span<const unsigned char> in) : in_(in) {}
  template <typename Number>
  bool Get(Number& number) {
    if (in_.size() - at_ < sizeof number) return false;
    std::memcpy(&number, in_.data() + at_, sizeof number);
    at_ += sizeof number;
    return true;
  }
  bool GetText(std::string& text) {
    std::uint32_t size = 0;
    if (!Get(size) || in_.size() - at_ < size) return false;
    text.assign(reinterpret_cast<const char*>(in_.data() + at_), size);
    at_ += size;
    return true;
  }
  bool AtEnd() const { return at_ == in_.size(); }

 private:
  std::span<const unsigned char> in_;
  std::size_t at_ = 0;
};

}  // namespace

std::vector<unsigned char> PackWorkerGreeting(const WorkerGreeting& greeting) {
  Writer out;
  out.Put(kMarker);
  out.Put(static_cast<std::uint8_t>(greeting.watermarkFont ? 1 : 0));
  out.Put(static_cast<std::int32_t>(greeting.libraryThreads));
  out.PutText(greeting.plan.outputFormat);
  out.PutText(greeting.plan.outputFolder);
  out.Put(static_cast<std::uint32_t>(kSettingTable.size()));
  for (const SettingRow& row : kSettingTable) {
    out.PutText(SettingName(row));
    out.PutText(ExactValueText(greeting.plan.settings, row));
  }
  return out.Take();
}

bool UnpackWorkerGreeting(std::span<const unsigned char> packed, WorkerGreeting& greeting) {
  Reader in(packed);
  std::uint32_t marker = 0;
  std::uint8_t font = 0;
  std::int32_t threads = 0;
  std::uint32_t rows = 0;
  WorkerGreeting read;
  if (!in.Get(marker) || marker != kMarker || !in.Get(font) || !in.Get(threads) ||
      !in.GetText(read.plan.outputFormat) || !in.GetText(read.plan.outputFolder) || !in.Get(rows)) {
    return false;
  }
  read.watermarkFont = font != 0;
  read.libraryThreads = threads;
  std::string name;
  std::string value;
  for (std::uint32_t n = 0; n < rows; ++n) {
    if (!in.GetText(name) || !in.GetText(value)) return false;
    const SettingRow* row = FindSetting(name);
    if (row == nullptr) return false;
    SetSettingFromText(read.plan.settings, *row, value);
  }
  if (!in.AtEnd()) return false;
  greeting = std::move(read);
  return true;
}

}  // namespace lumivane
