// zenri-pages: the sample pages of the eight styles, for page makers and the browser tests.
//   zenri-pages sample N [--floating] [--empty] [--fill TEXT] [--box I TEXT]... [--service URL]
//                      [--templates DIR]
//       the sample page of style N (1-8) as code page 936 bytes on standard output;
//       --floating: styles 2 and 3 with the floating picture; --empty: every box empty;
//       --fill: every box holding TEXT; --box: box I holding TEXT whatever the others hold
//       ("\n" in TEXT is a line break)
//   zenri-pages tokens N     the tokens of style N in replacement order, with their counts
//   zenri-pages entries N [--service URL]
//       the boxes of style N as JSON: index, label, kind, sample
// It uses the client's own style tables, template store and generation. --templates reads the
// templates from the files DIR/FG1.htm … instead of the ones built in, for page makers at work.

#include "client/gateway/ServiceAddress.h"
#include "client/pages/Generation.h"
#include "client/pages/StyleTables.h"
#include "client/pages/TemplateStore.h"
#include "common/Codepage936.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstdio>
#include <map>

namespace {

int Usage() {
    std::fputs(
        "usage: zenri-pages sample N [--floating] [--empty] [--fill TEXT] [--box I TEXT]...\n"
        "                          [--service URL] [--templates DIR]\n"
        "       zenri-pages tokens N [--templates DIR]\n"
        "       zenri-pages entries N [--service URL]\n",
        stderr);
    return 2;
}

void Write(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

const char* KindName(pages::EntryKind kind) {
    switch (kind) {
        case pages::EntryKind::Text:
            return "text";
        case pages::EntryKind::Html:
            return "html";
        case pages::EntryKind::Title:
            return "title";
        case pages::EntryKind::Picture:
            return "picture";
        case pages::EntryKind::Music:
            return "music";
        case pages::EntryKind::Video:
            return "video";
        case pages::EntryKind::Link:
            return "link";
        case pages::EntryKind::Colour:
            return "colour";
        case pages::EntryKind::Number:
            return "number";
        case pages::EntryKind::Code:
            return "code";
    }
    return "text";
}

int Tokens(const pages::Style& style, const pages::TemplateStore& store) {
    const QString page = pages::StartText(style, true, store);
    QByteArray out;
    for (const pages::Step& step : style.steps) {
        out += step.token.toUtf8() + '\t' + QByteArray::number(page.count(step.token)) + '\t' +
               QByteArray::number(step.box) + '\n';
    }
    Write(out);
    return 0;
}

int Entries(const pages::Style& style, const QString& serviceAddress) {
    QJsonArray boxes;
    for (const pages::EntryBox& box : style.boxes) {
        boxes.append(QJsonObject{{"index", box.index},
                                 {"label", box.label},
                                 {"kind", QString::fromLatin1(KindName(box.kind))},
                                 {"multiLine", box.multiLine},
                                 {"sample", pages::SampleText(box, serviceAddress)}});
    }
    QJsonObject out{{"style", style.number},
                    {"window", style.windowName},
                    {"caption", style.caption},
                    {"titleBox", style.TitleBox()},
                    {"floatingPicture", style.floatingPicture},
                    {"boxes", boxes}};
    Write(QJsonDocument(out).toJson(QJsonDocument::Indented));
    return 0;
}

// A text of the command line: "\n" stands for a line break.
QString EntryArgument(QString text) {
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return Usage();
    bool ok = false;
    const int number = args[1].toInt(&ok);
    if (!ok || number < 1 || number > pages::kStyleCount)
        return Usage();

    QString serviceAddress = QString::fromLatin1(service::kDefaultAddress);
    bool floating = false, empty = false;
    QString fill, templates;
    bool filled = false;
    std::map<int, QString> boxTexts;
    for (qsizetype i = 2; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--floating")) {
            floating = true;
        } else if (args[i] == QLatin1String("--empty")) {
            empty = true;
        } else if (args[i] == QLatin1String("--fill") && i + 1 < args.size()) {
            fill = EntryArgument(args[++i]);
            filled = true;
        } else if (args[i] == QLatin1String("--box") && i + 2 < args.size()) {
            bool isNumber = false;
            const int box = args[i + 1].toInt(&isNumber);
            if (!isNumber)
                return Usage();
            boxTexts[box] = EntryArgument(args[i + 2]);
            i += 2;
        } else if (args[i] == QLatin1String("--templates") && i + 1 < args.size()) {
            templates = args[++i];
        } else if (args[i] == QLatin1String("--service") && i + 1 < args.size()) {
            serviceAddress = args[++i];
            while (serviceAddress.endsWith(QLatin1Char('/')))
                serviceAddress.chop(1);
        } else {
            return Usage();
        }
    }

    const pages::Style& style = pages::StyleOf(number);
    const pages::TemplateStore store(serviceAddress, templates);
    if (args[0] == QLatin1String("tokens"))
        return Tokens(style, store);
    if (args[0] == QLatin1String("entries"))
        return Entries(style, serviceAddress);
    if (args[0] != QLatin1String("sample"))
        return Usage();

    const auto entry = [&](int box) {
        if (const auto chosen = boxTexts.find(box); chosen != boxTexts.end())
            return chosen->second;
        if (filled)
            return fill;
        if (empty || box < 0 || box >= style.BoxCount())
            return QString();
        return pages::SampleText(style.boxes[std::size_t(box)], serviceAddress);
    };
    Write(cp936::Encode(pages::GeneratePage(style, entry, floating, store)));
    return 0;
}
