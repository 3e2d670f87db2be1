#pragma once
// The running process: its program file, the single-instance lock, its exit codes and its standard error.
#include <string>
#include <string_view>

namespace lumivane {

// Process exit status, so that scripts can tell the outcome of a run.
enum ExitCode {
  kExitSuccess = 0,         // help or version shown, or every collected file converted
  kExitFilesFailed = 1,     // some collected file failed, or none was collected
  kExitUsage = 2,           // an "Error: " line, or no input named
  kExitAlreadyRunning = 3,  // another copy holds the single-instance lock
  // A run stopped by a signal ends with 128 + the signal's number, as a shell reports a command the signal ended.
  kExitHangUp = 129,       // SIGHUP
  kExitInterrupted = 130,  // SIGINT (Ctrl-C)
  kExitTerminated = 143,   // SIGTERM
};

// Builds with a sanitizer runtime (whose reports must stay visible; see SilenceStandardError).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LUMIVANE_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define LUMIVANE_SANITIZED_BUILD 1
#endif
#endif
#ifndef LUMIVANE_SANITIZED_BUILD
#define LUMIVANE_SANITIZED_BUILD 0
#endif
inline constexpr bool kSanitizedBuild = LUMIVANE_SANITIZED_BUILD != 0;

// The full path of the running program file, or "" when the system does not tell it.
std::string ProgramPath();
// The folder of the running program, ending in "/".
std::string ProgramFolder();
// The current folder, ending in "/"; "" when the system does not tell it (the folder was removed, say).
std::string CurrentFolder();
// The program's file name without folder and extension: "lumivanecmd".
std::string ProgramBaseName();

// The folder part of a path, ending in "/" ("" when the path has none).
std::string FolderOfPath(std::string_view path);
// The file name of a path without folder and without its last extension: "/a/b.c/name.exe" gives "name".
std::string BaseNameOfPath(std::string_view path);

// Takes the lock named after `name` and the user id, held until the process ends (the kernel releases it,
// however the process ends). False when another process - or an earlier call - holds it, or it cannot be made.
bool SingleInstanceGuard(const std::string& name);

// Makes sure descriptors 0, 1 and 2 are open, opening /dev/null on each one that is closed (a program started
// with ">&- <&-" by cron or a daemon), so that nothing the program opens later takes their numbers and console lines
// never land in a socket or a report. Call it before anything else opens a descriptor.
void OpenStandardDescriptors();

// Points standard error at /dev/null: libraries print there, the program never does. A sanitized build first hands
// its sanitizer runtime a copy of the standard error it had, so that reports stay visible while library messages go
// where they go in a normal run. Each process calls it for itself (a worker too): the runtime ties the copy
// to the process that set it.
void SilenceStandardError();

// The copy of standard error that a sanitized build's reports go to (set by SilenceStandardError), or -1: a worker
// process is handed it as its standard error, so that its reports reach the same place.
int SanitizerReportDescriptor();

// Installs a handler that drops the image library's messages, which must never reach the console.
void SilenceLibraryMessages();

}  // namespace lumivane
