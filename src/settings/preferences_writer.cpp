#include "settings/preferences_writer.h"

#include <cstdio>
#include <filesystem>

namespace lumivane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

}  // namespace

std::string BeginPreferencesText() {
  std::string text = "\xEF\xBB\xBF";
  text += kLineEnd;
  return text;
}

void AppendPreferencesGroup(std::string& text, std::string_view name) {
  text += '[';
  text += name;
  AppendLine(text, "]");
}

void AppendPreferencesEntry(std::string& text, std::string_view key, std::string_view value) {
  text += key;
  text += " = ";
  AppendLine(text, value);
}

void AppendPreferencesComment(std::string& text, std::string_view comment) {
  text += "; ";
  AppendLine(text, comment);
}

bool WritePreferencesFile(const std::string& path, std::string_view text) {
  if (path.empty()) return false;
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  std::error_code error;
  if (written && flushed && closed) {
    std::filesystem::rename(temporary, path, error);
    if (!error) return true;
  }
  std::filesystem::remove(temporary, error);
  return false;
}

}  // namespace lumivane
