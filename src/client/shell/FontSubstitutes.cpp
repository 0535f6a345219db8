#include "client/shell/FontSubstitutes.h"

#include <QFont>
#include <QStringList>

namespace program {
namespace {

const QStringList kSans = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
const QStringList kSerif = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
                            QStringLiteral("WenQuanYi Zen Hei")};
// 黑体 first looks for a Hei face whose line is no taller than its size, so that captions in
// boxes of about their point size keep their lower strokes.
const QStringList kHei = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")};

// A face the windows name (under its Chinese and its English name), and the faces of this
// machine that stand in for it, best first.
struct FontSubstitute {
    const char* face;
    QStringList standIns;
};

const FontSubstitute kSubstitutes[] = {
    {"黑体", kHei},
    {"SimHei", kHei},
    {"微软雅黑", kSans},
    {"Microsoft YaHei", kSans},
    {"宋体", kSerif},
    {"SimSun", kSerif},
    {"新宋体", kSerif},
    {"Verdana", {QStringLiteral("DejaVu Sans")}},
    {"Arial", {QStringLiteral("Liberation Sans")}},
    {"MS Sans Serif", {QStringLiteral("DejaVu Sans")}},
};

}  // namespace

void InstallFontSubstitutes() {
    for (const FontSubstitute& substitute : kSubstitutes)
        QFont::insertSubstitutions(QString::fromUtf8(substitute.face), substitute.standIns);
}

}  // namespace program
