#include "batch/report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/utf8.h"

namespace lumivane {

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::optional<Utf8Char> ch = DecodeUtf8Char(bytes, pos);
    if (!ch) return false;
    pos += ch->length;
  }
  return true;
}

void AppendEscapedCodePoint(std::string& out, char32_t codePoint) {
  out += "\\u00";
  out += kHexDigits[(codePoint >> 4) & 0xF];
  out += kHexDigits[codePoint & 0xF];
}

void AppendCharacter(std::string& out, const Utf8Char& ch, std::string_view bytes) {
  switch (ch.codePoint) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
  }
  if (ch.codePoint < 0x20 || ch.codePoint == 0x7F) {
    AppendEscapedCodePoint(out, ch.codePoint);
  } else {
    out.append(bytes);
  }
}

void AppendField(std::string& line, std::string_view name, std::string_view rawValue) {
  if (line.size() > 1) line += ',';
  line += '"';
  line += name;
  line += "\":";
  line += rawValue;
}

void AppendNumber(std::string& line, std::string_view name, std::int64_t value) {
  AppendField(line, name, std::to_string(value));
}

// A path field: a JSON string, or null when there is no path; plus its exact bytes when it is not valid UTF-8.
void AppendPath(std::string& line, std::string_view name, const std::string& path) {
  AppendField(line, name, path.empty() ? "null" : JsonString(path));
  if (!IsValidUtf8(path)) AppendField(line, std::string(name) + "_hex", '"' + HexBytes(path) + '"');
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  out.reserve(bytes.size() + 2);
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::optional<Utf8Char> ch = DecodeUtf8Char(bytes, pos);
    if (!ch) {
      out += "\\ufffd";
      ++pos;
      continue;
    }
    AppendCharacter(out, *ch, bytes.substr(pos, ch->length));
    pos += ch->length;
  }
  out += '"';
  return out;
}

std::string HexBytes(std::string_view bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    hex += kHexDigits[value >> 4];
    hex += kHexDigits[value & 0xF];
  }
  return hex;
}

std::string FileReportLine(const FileReport& file) {
  std::string line = "{";
  AppendField(line, "type", "\"file\"");
  AppendNumber(line, "index", file.index);
  AppendPath(line, "input", file.input);
  AppendPath(line, "output", file.converted || !IsFailure(file.failure) ? file.output : std::string());
  AppendField(line, "converted", file.converted ? "true" : "false");
  std::string reason = "null";
  if (!file.converted) {
    const std::string_view code = FailureReasonCode(file.failure);
    reason = JsonString(code.empty() ? "unknown" : code);
  }
  AppendField(line, "reason", reason);
  AppendField(line, "detail", file.detail.empty() ? "null" : JsonString(file.detail));
  AppendNumber(line, "width", file.width);
  AppendNumber(line, "height", file.height);
  AppendNumber(line, "bit_depth", file.bitDepth);
  AppendNumber(line, "milliseconds", file.milliseconds);
  return line + "}";
}

std::string SummaryReportLine(const ReportSummary& summary) {
  std::string line = "{";
  AppendField(line, "type", "\"summary\"");
  AppendNumber(line, "files", summary.files);
  AppendNumber(line, "converted", summary.converted);
  AppendNumber(line, "failed", summary.failed);
  AppendNumber(line, "skipped", summary.skipped);
  AppendNumber(line, "jobs", summary.jobs);
  AppendNumber(line, "milliseconds", summary.milliseconds);
  AppendNumber(line, "workers_started", summary.workersStarted);
  AppendField(line, "in_process", summary.inProcess ? "true" : "false");
  AppendField(line, "interrupted", summary.interrupted ? "true" : "false");
  return line + "}";
}

ReportWriter::~ReportWriter() { Close(); }

bool ReportWriter::Open(const std::string& path) { return OpenKept(path) && Empty(); }

bool ReportWriter::OpenKept(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  size_ = 0;
  complete_ = true;
  if (fd_ < 0) return false;
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);  // only the open must not wait
  return true;
}

bool ReportWriter::Identity(dev_t& device, ino_t& inode) const {
  struct stat status {};
  if (fd_ < 0 || ::fstat(fd_, &status) != 0) return false;
  device = status.st_dev;
  inode = status.st_ino;
  return true;
}

bool ReportWriter::Empty() {
  if (fd_ < 0) return false;
  struct stat status {};
  // Only a regular file has a length to cut (a terminal or a pipe as the report is written to as it is).
  if (::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode) && ::ftruncate(fd_, 0) != 0) return false;
  size_ = 0;
  return true;
}

bool ReportWriter::WriteLine(const std::string& line) {
  if (fd_ < 0) return false;
  const std::string bytes = line + "\n";
  std::string_view rest = bytes;
  while (!rest.empty()) {
    const ssize_t written = ::write(fd_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A part of a line would break every reader: cut the file back to its last whole line.
      if (::ftruncate(fd_, size_) == 0) ::lseek(fd_, size_, SEEK_SET);
      complete_ = false;
      return false;
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  size_ += static_cast<off_t>(bytes.size());
  return true;
}

bool ReportWriter::Close() {
  if (fd_ < 0) return complete_;
  const int result = ::close(fd_);
  fd_ = -1;
  if (result != 0) complete_ = false;
  return complete_;
}

}  // namespace lumivane
