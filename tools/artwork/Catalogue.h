#pragma once

// Every picture the tool draws, where it goes in the repository, and the resource file that
// lists the client's pictures.

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace art {

struct Picture {
    QString path;  // relative to the repository folder
    std::function<QImage()> draw;
};

inline const QString kClientFolder = QStringLiteral("assets/client");
inline const QString kAdvertFolder = QStringLiteral("assets/site/adverts");
inline const QString kClientResourceFile = QStringLiteral("assets/client/client.qrc");

const std::vector<Picture>& catalogue();

// The Qt resource file for the pictures under the client folder, each aliased by its file name.
QString clientResourceText();

// Draws every picture and writes it under `root`, then the resource file; returns the paths
// written, or an error message in `error`. With `only`, just the pictures whose path starts
// with it are drawn (and the resource file is left alone).
QStringList writeAll(const QString& root, QString* error, const QString& only = QString());

}  // namespace art
