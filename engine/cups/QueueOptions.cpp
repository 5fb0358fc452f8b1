#include "QueueOptions.h"

#include "SpoolerProcess.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr int kAnswerMs = 5000;

}  // namespace

QList<QueueOption> ParseQueueOptions(const QString& listing) {
    static const QRegularExpression line(QStringLiteral(R"(^([^/:\s]+)(?:/([^:]*))?:\s*(.*)$)"));
    QList<QueueOption> options;
    for (const QString& text : listing.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = line.match(text.trimmed());
        if (!m.hasMatch())
            continue;
        QueueOption option;
        option.Key = m.captured(1);
        option.Label = m.captured(2).trimmed();
        if (option.Label.isEmpty())
            option.Label = option.Key;
        for (QString value : m.captured(3).split(u' ', Qt::SkipEmptyParts)) {
            if (value.startsWith(u'*')) {
                value.remove(0, 1);
                option.Default = value;
            }
            option.Values.append(value);
        }
        if (option.Values.isEmpty())
            continue;
        if (option.Default.isEmpty())
            option.Default = option.Values.first();
        options.append(option);
    }
    return options;
}

bool KeepsLayout(const QString& key) {
    static const QStringList exact{QStringLiteral("InputSlot"),  QStringLiteral("Duplex"),
                                   QStringLiteral("MediaType"),  QStringLiteral("Resolution"),
                                   QStringLiteral("ColorModel"), QStringLiteral("OutputBin")};
    if (exact.contains(key))
        return true;
    // Driver-specific names of the same settings, as long as none speaks of the layout.
    static const QRegularExpression layout(
        QStringLiteral("page|size|region|scal|fit|margin|orient|nup|number|shift|offset|"
                       "position|rotat|mirror|border"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression setting(QStringLiteral("quality|resolution|color|colour|"
                                                           "tray|duplex|toner|economode|dither"),
                                            QRegularExpression::CaseInsensitiveOption);
    return setting.match(key).hasMatch() && !layout.match(key).hasMatch();
}

QList<QueueOption> ReadQueueOptions(const QString& queue) {
    QProcess lpoptions;
    const SpoolerRun run =
        RunSpoolerProgram(lpoptions, QStringLiteral("lpoptions"),
                          {QStringLiteral("-p"), queue, QStringLiteral("-l")}, kAnswerMs);
    if (run != SpoolerRun::Finished || lpoptions.exitStatus() != QProcess::NormalExit ||
        lpoptions.exitCode() != 0)
        return {};
    QList<QueueOption> options;
    for (const QueueOption& option :
         ParseQueueOptions(QString::fromLocal8Bit(lpoptions.readAllStandardOutput()))) {
        if (KeepsLayout(option.Key))
            options.append(option);
    }
    return options;
}
