#include "PdfReader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        p.kill();
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

bool PdfToolsInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QList<QSizeF> PdfPageSizes(const QString& path) {
    const QString out =
        Run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                        QStringLiteral("-l"), QStringLiteral("9999"), path});
    static const QRegularExpression re(QStringLiteral(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+))"));
    QList<QSizeF> sizes;
    for (auto it = re.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        sizes.append(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    }
    return sizes;
}

std::optional<QRectF> PdfWordBox(const QString& path, const QString& word) {
    const QString out =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpression re(
        QStringLiteral(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re") +
        QRegularExpression::escape(word) + QStringLiteral("</word>"));
    const auto m = re.match(out);
    if (!m.hasMatch())
        return std::nullopt;
    return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
}
