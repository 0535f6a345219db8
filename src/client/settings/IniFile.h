#pragma once
// Profile (INI) files in code page 936, read and written the way the Windows profile
// functions do it: section and key names match without regard to letter case, a value loses
// its surrounding blanks and one pair of matching surrounding quotes, and a write replaces
// the one line of its key, leaving every other line of the file as it was.

#include <QString>

// Writes key=value into the section, creating the file (not its folder) when it is missing.
// Returns false when the file cannot be written, or when a name or the value holds a line
// break (which would add lines of its own to the file).
bool WriteIni(const QString& section, const QString& key, const QString& value,
              const QString& path);

// The value of the key, or the empty text when the file, the section or the key is missing.
// At most 254 bytes of value come back, cut at a character boundary.
QString ReadIni(const QString& section, const QString& key, const QString& path);

// True when the file can be opened for reading.
bool IniFileExists(const QString& path);
