#pragma once
// The windows name the faces of a Chinese Windows desktop (黑体, 宋体, 微软雅黑, Verdana,
// Arial); the table in FontSubstitutes.cpp maps each to faces of this machine with the same
// look. main() installs it as soon as the application exists, and so does every program that
// shows the windows (tests, tools, benchmarks).

namespace program {

void InstallFontSubstitutes();

}  // namespace program
