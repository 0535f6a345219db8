#pragma once
// What is left of the program as a whole once its parts have their own files (the single-copy
// test in SingleInstance.h, the window registry in WindowRegistry.h, the font substitutes in
// FontSubstitutes.h, the network test in the platform): its version, its executable's name and
// the orderly end that closes every window, newest first.

#include <QString>

namespace program {

inline constexpr char16_t kClientVersion[] = u"V1.2";

// The executable's file name without folder and extension.
QString ExecutableBaseName();

// Closes every open window, most recently opened first, the hidden shared-state window
// included, and asks the application to quit. Tells platform::Current().programEnded.
void EndProgram();

}  // namespace program
