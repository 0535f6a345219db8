#pragma once
// YLWY: the page last generated (FGN), shown in the user's web browser. It is written to
// "yl.htm" in the temporary folder as code page 936 (a character the code page lacks becomes
// "?"), opened with the desktop's default program, and deleted again five seconds later; the
// windows keep working during the wait, another preview included.

#include <QString>

void YLWY();

namespace preview {

inline constexpr char kFileName[] = "yl.htm";
inline constexpr int kWaitMs = 5000;

// The file a preview writes: the temporary folder (platform::Current().temporaryFolder, which
// tests move) + "yl.htm".
QString FilePath();

// The bytes of the file for a page: the text and CR LF in code page 936, no byte-order mark.
QByteArray FileBytes(const QString& page);

// Said in a "提示" box when the file cannot be written.
inline constexpr char16_t kCannotWrite[] = u"无法写入预览文件，请检查临时文件夹：";

}  // namespace preview
