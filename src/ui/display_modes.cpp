#include "display_modes.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>

namespace ui {

std::vector<OutputModes> parseXrandrQuery(const QString& text) {
    std::vector<OutputModes> outputs;
    static const QRegularExpression outputLine(QStringLiteral("^(\\S+) connected"));
    static const QRegularExpression modeLine(QStringLiteral("^\\s+(\\d+x\\d+)\\S*\\s"));
    bool inConnected = false;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (const auto m = outputLine.match(line); m.hasMatch()) {
            outputs.push_back({m.captured(1), {}});
            inConnected = true;
        } else if (!line.startsWith(QLatin1Char(' ')) && !line.startsWith(QLatin1Char('\t'))) {
            inConnected = false;
        } else if (inConnected) {
            if (const auto mode = modeLine.match(line + QLatin1Char(' ')); mode.hasMatch())
                outputs.back().modes.push_back(mode.captured(1));
        }
    }
    return outputs;
}

namespace {

QString runXrandr(const QStringList& arguments, bool* ok) {
    *ok = false;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xrandr"));
    if (program.isEmpty()) return {};
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        return {};
    }
    *ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

}  // namespace

bool XrandrDisplayModes::changeResolution(int width, int height, int bitsPerPixel) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    // X screens run at 24 bits of colour in 32-bit pixels: that is the 32 bits asked for.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (bitsPerPixel != 32 || !screen || screen->depth() < 24) return false;
    bool ok = false;
    const QString query = runXrandr({QStringLiteral("--query")}, &ok);
    if (!ok) return false;
    const QString wanted = QStringLiteral("%1x%2").arg(width).arg(height);
    for (const OutputModes& output : parseXrandrQuery(query)) {
        for (const QString& mode : output.modes) {
            if (mode != wanted) continue;
            runXrandr({QStringLiteral("--output"), output.output, QStringLiteral("--mode"), mode},
                      &ok);
            if (ok) return true;
        }
    }
    return false;
}

}  // namespace ui
