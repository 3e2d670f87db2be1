#pragma once
// The console: every line the program shows goes through PrintLine, to standard output, as UTF-8.
#include <string>
#include <string_view>

namespace lumivane {

// Makes standard input and output ready for the calls below. A terminal needs nothing allocated; a line that
// cannot be written (a closed pipe) is lost instead of ending the process. Returns true.
bool BeginConsole();
// Restores the terminal title that SetConsoleTitle replaced.
void EndConsole();

// Sets the terminal's window title; does nothing when standard output is not a terminal.
void SetConsoleTitle(const std::string& text);

// Writes the text and CR LF as one write to standard output and flushes it at once. Safe from any thread:
// lines of concurrent calls never mix. Reports no failure.
void PrintLine(const std::string& text);

// A status line (the progress of a batch) kept below the printed lines while standard output is a terminal:
// each call redraws it in place, "" erases it, and every PrintLine erases it, writes its own line and draws it
// again. It is cut to the terminal's width so that it never wraps. Nothing at all happens when standard output is
// not a terminal.
void ShowStatusLine(const std::string& text);

// What PrintLine writes for a text (without the CR LF): control characters below U+0020 become "?" and
// bytes that are not valid UTF-8 become U+FFFD, so that one call always shows as one line.
std::string MakePrintable(std::string_view text);

// Returns when a key that produces a character is pressed, or at once when one was typed before.
// Without a terminal on standard input, returns at the first byte or at the end of input. Prints nothing.
void WaitForKey();

}  // namespace lumivane
