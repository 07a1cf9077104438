// Build-time tool: turns a help document written in HTML into an A4 PDF.
// Usage: fw-helpdoc INPUT.html OUTPUT.pdf
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>

#include "packaging/help_layout.h"

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "fw-helpdoc: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Runs during the build, where no display may exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) return Fail(QStringLiteral("usage: fw-helpdoc INPUT.html OUTPUT.pdf"));
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);

    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        return Fail(input + QStringLiteral(": ") + source.errorString());
    }
    const QString html = QString::fromUtf8(source.readAll());
    if (html.trimmed().isEmpty()) return Fail(input + QStringLiteral(" is empty"));

    // Written under a temporary name and renamed when complete, so a failed run never
    // leaves a truncated document behind.
    QSaveFile target(output);
    if (!target.open(QIODevice::WriteOnly)) {
        return Fail(output + QStringLiteral(": ") + target.errorString());
    }
    {
        QPdfWriter writer(&target);
        writer.setCreator(QStringLiteral("Floorwatch"));
        writer.setPageLayout(fw::helpdoc::GuidePageLayout());
        writer.setResolution(300);
        QTextDocument document;
        fw::helpdoc::LoadGuide(document, html, writer);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        fw::helpdoc::KeepHeadingsWithText(document);
        fw::helpdoc::PaintPages(document, writer);
    }
    if (!target.commit()) return Fail(output + QStringLiteral(": ") + target.errorString());
    return 0;
}
