// The install notice: a program for people who look for a set-up program.  It
// installs nothing; it explains how to start the game from the folder it was
// run from, and warns first when that folder is on a floppy disk.
#pragma once

#include <cstddef>
#include <string>

// Caption and text of the floppy warning (a Yes/No box).
extern const char kFloppyNoticeCaption[];
extern const char kFloppyNoticeText[];
// Caption of the instructions (an OK box).
extern const char kInstructionsCaption[];

// The game program's file name, as the user types it.
extern const char kGameProgramName[];

// The runtime's directory query is asked with a buffer of this many bytes,
// terminator included; a longer directory is cut to fit it.
constexpr std::size_t kRuntimeDirectoryBytes = 120;

// 1 for a path on drive A:, 2 for B:, 3 for C:, and so on; 0 when the path has
// no drive letter (this system's paths, network paths, an empty path).
int DriveNumber(const std::string& path);

// The directory followed by a separator and the game's file name.  The
// separator is "/" unless the directory is written with backslashes only
// ("C:\GAMES"); none is added after a directory that already ends in one.
std::string GameProgramPath(const std::string& directory);

// The instructions shown for a game lying in `directory`.
std::string InstructionsText(const std::string& directory);

// `text` cut so that it fits a buffer of `bufferBytes` with its terminator,
// never in the middle of a UTF-8 character.
std::string CutToBuffer(const std::string& text, std::size_t bufferBytes);

// The whole current directory, or "" if it cannot be found.
std::string CurrentDirectory();
// The current directory as the runtime's query with a buffer of
// kRuntimeDirectoryBytes reports it: a longer one is cut to fit.
std::string RuntimeDirectory();

// Asks the questions and returns the exit code: 0 when the user declines at
// the floppy warning, otherwise the answer to the instructions (IDOK).
// `currentDirectory` decides the drive; `runtimeDirectory` goes into the text.
int RunInstallNotice(const std::string& currentDirectory, const std::string& runtimeDirectory);
