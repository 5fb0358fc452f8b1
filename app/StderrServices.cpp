#include "StderrServices.h"

#include <QRegularExpression>
#include <cstdio>

void WriteErrorLine(const QString& message) {
    std::fputs(
        (QStringLiteral("quillbox: ") + message + QLatin1Char('\n')).toLocal8Bit().constData(),
        stderr);
    std::fflush(stderr);
}

QString OneLine(const QString& text) {
    static const QRegularExpression breaks(QStringLiteral("[\r\n]+"));
    QStringList lines;
    for (const QString& line : text.split(breaks)) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    return lines.join(QStringLiteral("; "));
}

namespace {

void WriteBox(const QString& text, const QString& caption) {
    const QString caption1 = OneLine(caption);
    WriteErrorLine(caption1.isEmpty() ? OneLine(text)
                                      : caption1 + QStringLiteral(": ") + OneLine(text));
}

}  // namespace

void StderrServices::Message(const QString& text, const QString& caption, Icon) {
    WriteBox(text, caption);
}

bool StderrServices::Question(const QString& text, const QString& caption) {
    WriteBox(text, caption);
    return false;
}

int StderrServices::MessageBox(const QString& text, const QString& caption, int flags) {
    WriteBox(text, caption);
    switch (flags & 0xF) {
        case 0:
            return 1;  // OK
        case 4:
            return 7;  // No
        default:
            return 2;  // Cancel
    }
}

QString StderrServices::InputBox(const QString& caption, const QString& prompt,
                                 const QString& defaultText) {
    WriteBox(prompt, caption);
    return defaultText;
}
