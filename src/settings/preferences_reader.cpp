#include "settings/preferences_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "platform/ascii_text.h"
#include "settings/preferences_values.h"

namespace lumivane {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";
// Far above any real preferences file; stops a read from /dev/zero or a runaway pipe from exhausting memory.
constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

// Every byte is one ISO-8859-1 character, U+0000..U+00FF.
std::string Latin1ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80) {
      text += byte;
    } else {
      text += static_cast<char>(0xC0 | (code >> 6));
      text += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return text;
}

std::string_view TrimStart(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimEnd(std::string_view text) {
  const std::size_t last = text.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

void ParseLine(std::string_view line, PreferencesFile& file, bool& inGroup) {
  line = TrimStart(line);
  if (line.empty() || line.front() == ';') return;
  if (line.front() == '[') {
    const std::size_t close = line.find(']');
    const std::string_view name = line.substr(1, close == std::string_view::npos ? close : close - 1);
    file.groups.push_back({std::string(name), {}});
    inGroup = true;
    return;
  }
  if (!inGroup) return;  // entries before the first header belong to no group
  const std::size_t equals = line.find('=');
  const std::string_view key = TrimEnd(line.substr(0, equals));
  const std::string_view value =
      equals == std::string_view::npos ? std::string_view() : TrimEnd(TrimStart(line.substr(equals + 1)));
  file.groups.back().entries.push_back({std::string(key), std::string(value)});
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Regular files only: opening a pipe would wait for a writer, and a device or a folder has no preferences.
std::optional<std::string> ReadWholeFile(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return std::nullopt;
  struct stat status {};
  std::FILE* opened = nullptr;
  if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) opened = ::fdopen(descriptor, "rb");
  if (opened == nullptr) {
    ::close(descriptor);
    return std::nullopt;
  }
  const std::unique_ptr<std::FILE, FileCloser> file(opened);
  std::string bytes;
  char buffer[65536];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    if (bytes.size() + count > kMaxFileBytes) return std::nullopt;
    bytes.append(buffer, count);
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

}  // namespace

PreferencesFile ParsePreferences(std::string_view bytes) {
  const std::string text =
      bytes.starts_with(kUtf8Mark) ? std::string(bytes.substr(kUtf8Mark.size())) : Latin1ToUtf8(bytes);
  PreferencesFile file;
  bool inGroup = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    ParseLine(std::string_view(text).substr(start, end - start), file, inGroup);
    start = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
  }
  return file;
}

std::optional<PreferencesFile> ReadPreferencesFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return ParsePreferences(*bytes);
}

const PreferencesGroup* FindPreferencesGroup(const PreferencesFile& file, std::string_view group) {
  for (const PreferencesGroup& candidate : file.groups) {
    if (EqualsIgnoringAsciiCase(candidate.name, group)) return &candidate;
  }
  return nullptr;
}

std::span<const PreferencesEntry> PreferencesGroupEntries(const PreferencesFile& file, std::string_view group) {
  const PreferencesGroup* found = FindPreferencesGroup(file, group);
  return found ? std::span<const PreferencesEntry>(found->entries) : std::span<const PreferencesEntry>();
}

const PreferencesEntry* FindPreferencesEntry(const PreferencesGroup& group, std::string_view key) {
  for (const PreferencesEntry& entry : group.entries) {
    if (EqualsIgnoringAsciiCase(entry.key, key)) return &entry;
  }
  return nullptr;
}

const std::string* FindPreferencesValue(const PreferencesFile& file, std::string_view group, std::string_view key) {
  const PreferencesGroup* found = FindPreferencesGroup(file, group);
  const PreferencesEntry* entry = found ? FindPreferencesEntry(*found, key) : nullptr;
  return entry ? &entry->value : nullptr;
}

std::string ReadPreferencesString(const PreferencesFile& file, std::string_view group, std::string_view key,
                                  std::string_view fallback) {
  const std::string* value = FindPreferencesValue(file, group, key);
  return value ? *value : std::string(fallback);
}

std::int32_t ReadPreferencesInteger(const PreferencesFile& file, std::string_view group, std::string_view key,
                                    std::int32_t fallback) {
  const std::string* value = FindPreferencesValue(file, group, key);
  return value ? ParsePreferencesInteger(*value) : fallback;
}

float ReadPreferencesFloat(const PreferencesFile& file, std::string_view group, std::string_view key, float fallback) {
  const std::string* value = FindPreferencesValue(file, group, key);
  return value ? ParsePreferencesFloat(*value) : fallback;
}

}  // namespace lumivane
