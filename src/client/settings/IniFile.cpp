#include "client/settings/IniFile.h"

#include "common/Codepage936.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

#include <optional>

namespace {

constexpr qsizetype kMaxValueBytes = 254;

struct Line {
    QByteArray raw;  // without its line break
    QString text;    // decoded
    // The last line of a file without a final line break: raw is its bytes as they are, a
    // carriage return at its end included (the reader takes one for a line break).
    bool unterminated = false;
};

struct FileLines {
    QList<Line> lines;
    QByteArray lineBreak = "\r\n";
    bool endsWithBreak = true;
};

std::optional<FileLines> Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = file.readAll();
    FileLines out;
    if (all.isEmpty())
        return out;
    if (all.indexOf("\r\n") < 0 && all.indexOf('\n') >= 0)
        out.lineBreak = "\n";
    out.endsWithBreak = all.endsWith('\n');
    QList<QByteArray> pieces = all.split('\n');
    if (out.endsWithBreak)
        pieces.removeLast();
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QByteArray line = pieces[i];
        if (line.endsWith('\r'))
            line.chop(1);
        const bool unterminated = !out.endsWithBreak && i + 1 == pieces.size();
        out.lines.append(Line{unterminated ? pieces[i] : line, cp936::Decode(line), unterminated});
    }
    return out;
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString TrimBlanks(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

// "[name]" → name; nothing for any other line.
std::optional<QString> SectionName(const QString& line) {
    const QString trimmed = TrimBlanks(line);
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return TrimBlanks(QStringView(trimmed).mid(1, close - 1));
}

// "key=value" → key; nothing for comments and lines without "=".
std::optional<QString> KeyName(const QString& line) {
    const QString trimmed = TrimBlanks(line);
    if (trimmed.startsWith(QLatin1Char(';')))
        return std::nullopt;
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    return TrimBlanks(QStringView(trimmed).left(eq));
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool HasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Index of the section's header line, or -1.
qsizetype FindSection(const QList<Line>& lines, const QString& section) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (name && SameName(*name, section))
            return i;
    }
    return -1;
}

QString CutToBytes(const QString& value, qsizetype maxBytes) {
    qsizetype bytes = 0, units = 0;
    for (QChar c : value) {
        const qsizetype size = cp936::CodeOf(c.unicode()) < 0 ? 2 : 1;
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        ++units;
    }
    return value.left(units);
}

}  // namespace

bool WriteIni(const QString& section, const QString& key, const QString& value,
              const QString& path) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value))
        return false;
    FileLines file = Load(path).value_or(FileLines{});
    const QByteArray entry = cp936::Encode(key) + '=' + cp936::Encode(value);

    const qsizetype header = FindSection(file.lines, section);
    if (header < 0) {
        file.lines.append(Line{'[' + cp936::Encode(section) + ']', {}});
        file.lines.append(Line{entry, {}});
    } else {
        qsizetype end = header + 1;  // first line after the section
        while (end < file.lines.size() && !SectionName(file.lines[end].text))
            ++end;
        qsizetype found = -1, lastFilled = header;
        for (qsizetype i = header + 1; i < end; ++i) {
            if (!TrimBlanks(file.lines[i].text).isEmpty())
                lastFilled = i;
            const auto name = KeyName(file.lines[i].text);
            if (found < 0 && name && SameName(*name, key))
                found = i;
        }
        if (found >= 0) {
            file.lines[found] = Line{entry, {}};
        } else {
            file.lines.insert(lastFilled + 1, Line{entry, {}});
        }
    }

    QByteArray out;
    for (qsizetype i = 0; i < file.lines.size(); ++i) {
        const Line& line = file.lines[i];
        const bool breakFollows = i + 1 < file.lines.size() || file.endsWithBreak;
        // Every line must read back as it was read: a carriage return ending the file's last
        // line stays, unless it would stand before "\r\n" and be read as part of the text.
        QByteArray raw = line.raw;
        if (line.unterminated && breakFollows && file.lineBreak == "\r\n" && raw.endsWith('\r'))
            raw.chop(1);
        out += raw;
        if (breakFollows)
            out += file.lineBreak;
    }
    QSaveFile save(path);
    if (!save.open(QIODevice::WriteOnly))
        return false;
    save.write(out);
    return save.commit();
}

QString ReadIni(const QString& section, const QString& key, const QString& path) {
    const auto file = Load(path);
    if (!file)
        return QString();
    const qsizetype header = FindSection(file->lines, section);
    if (header < 0)
        return QString();
    for (qsizetype i = header + 1; i < file->lines.size(); ++i) {
        const QString& text = file->lines[i].text;
        if (SectionName(text))
            break;
        const auto name = KeyName(text);
        if (!name || !SameName(*name, key))
            continue;
        QString value = TrimBlanks(QStringView(text).mid(text.indexOf(QLatin1Char('=')) + 1));
        if (value.size() >= 2 && value.front() == value.back() &&
            (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))) {
            value = value.mid(1, value.size() - 2);
        }
        return CutToBytes(value, kMaxValueBytes);
    }
    return QString();
}

bool IniFileExists(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}
