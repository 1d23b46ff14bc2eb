#include "script.h"

namespace kx::scenario {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r'; }

std::optional<std::vector<Word>> splitWords(const QString& line, QString* why) {
    std::vector<Word> words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        Word w;
        if (line[i] == u'"') {
            w.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = line[i];
                if (c == u'"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (c == u'\\' && i + 1 < n) {
                    const QChar e = line[i + 1];
                    if (e == u'"' || e == u'\\') {
                        w.text += e;
                        i += 2;
                        continue;
                    }
                    if (e == u't' || e == u'n') {
                        w.text += e == u't' ? u'\t' : u'\n';
                        i += 2;
                        continue;
                    }
                }
                w.text += c;
                ++i;
            }
            if (!closed) {
                *why = QStringLiteral("unterminated text");
                return std::nullopt;
            }
            if (i < n && !isBlank(line[i])) {
                *why = QStringLiteral("a text must be followed by a blank");
                return std::nullopt;
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(line[i]))
                ++i;
            w.text = line.mid(start, i - start);
        }
        words.push_back(std::move(w));
    }
    return words;
}

}  // namespace

std::vector<Line> parseScript(const QString& content, std::optional<ParseError>* error) {
    std::vector<Line> lines;
    const QStringList raw = content.split(u'\n');
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QString trimmed = raw[i].trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        QString why;
        auto words = splitWords(raw[i], &why);
        if (!words) {
            *error = ParseError{int(i + 1), why};
            return lines;
        }
        lines.push_back(Line{int(i + 1), std::move(*words)});
    }
    return lines;
}

QString quoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    out += u'"';
    return out;
}

}  // namespace kx::scenario
