// The install notice: a program for people who look for a set-up program.  It
// installs nothing; it explains how to start the game from the folder it was
// run from, and warns first when that folder is on a floppy disk.
#pragma once

#include <string>

// Caption and text of the floppy warning (a Yes/No box).
extern const char kFloppyNoticeCaption[];
extern const char kFloppyNoticeText[];
// Caption of the instructions (an OK box).
extern const char kInstructionsCaption[];

// The game program's file name, as the user types it.
extern const char kGameProgramName[];

// 1 for a path on drive A:, 2 for B:, 3 for C:, and so on; 0 when the path has
// no drive letter (this system's paths, network paths, an empty path).
int DriveNumber(const std::string& path);

// The directory followed by a separator and the game's file name.  The
// separator is "/" unless the directory is written with backslashes only
// ("C:\GAMES"); none is added after a directory that already ends in one.
std::string GameProgramPath(const std::string& directory);

// The instructions shown for a game lying in `directory`.
std::string InstructionsText(const std::string& directory);

// The whole current directory, whatever its length, or "" if it cannot be
// found.
std::string CurrentDirectory();

// Asks the questions and returns the exit code: 0 when the user declines at
// the floppy warning, otherwise the answer to the instructions (IDOK).
// `directory` decides the drive and goes, whole, into the text.
int RunInstallNotice(const std::string& directory);
